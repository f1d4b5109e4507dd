#include <gtest/gtest.h>

#include "core/settings/RegEditFile.h"

namespace modshelf::settings {

void PrintTo(const RegEditChange& c, std::ostream* out) {
    *out << static_cast<int>(c.kind) << " [" << c.keyPath << "] \"" << c.name << "\" type "
         << c.value.type << " (" << c.value.data.size() << " bytes)";
}

namespace {

using Kind = RegEditChange::Kind;

const std::string kKey = "HKEY_CURRENT_USER\\Software\\Q";

RegEditChange change(Kind kind, const std::string& key, const std::string& name = {},
                     RegValue value = {}) {
    return {kind, key, name, std::move(value)};
}

// The changes that we hand on must be the very ones that were written, in
// their order: a value set in a key that is then removed is not the same as
// the other way round.
TEST(RegEditChanges, WrittenChangesAreReadBackInOrder) {
    const std::vector<RegValue> values = {
        RegValue::fromString("True"),
        RegValue::fromString("C:\\Program Files\\\"x\""),
        RegValue::fromString("Gen\xc3\xa8se \xe2\x80\x94 \xf0\x9f\x93\x96"),
        RegValue::fromString("two\nlines\r\tand tab"),
        RegValue::fromString(""),
        RegValue::fromDword(0x80000001),
        RegValue::fromBytes(std::string("\x00\x01\xff", 3)),
        RegValue::fromBytes(std::string(300, '\x5a')),
        RegValue::fromBytes(std::string("a\0\xc3\xa9\0\0", 6), kRegMultiSz),
        RegValue::fromString("%TEMP%\\x", kRegExpandSz),
        RegValue::fromBytes(std::string("\x01\x02\x03\x04\x05\x06\x07\x08", 8), kRegQword),
        RegValue::fromBytes("", kRegNone),
    };
    std::vector<RegEditChange> written;
    for (std::size_t i = 0; i < values.size(); ++i)
        written.push_back(change(Kind::SetValue, kKey + (i % 2 ? "\\Odd" : "\\Even"),
                                 i == 4 ? "" : "v\xc3\xa4lue \"" + std::to_string(i) + "\"",
                                 values[i]));
    written.push_back(change(Kind::DeleteValue, kKey + "\\Even", "v\xc3\xa4lue \"0\""));
    written.push_back(change(Kind::DeleteKey, kKey + "\\Odd"));
    written.push_back(change(Kind::CreateKey, kKey + "\\Empty"));
    written.push_back(change(Kind::SetValue, kKey + "\\Odd", "again", RegValue::fromDword(1)));

    // The text opens a key before its values ("[KEY]"), which reads as making
    // the key: those are the only changes that may be added.
    std::vector<RegEditChange> expected;
    const std::string* open = nullptr;
    for (const auto& c : written) {
        const bool valueChange = c.kind == Kind::SetValue || c.kind == Kind::DeleteValue;
        if (valueChange && (!open || *open != c.keyPath))
            expected.push_back(change(Kind::CreateKey, c.keyPath));
        expected.push_back(c);
        open = c.kind == Kind::DeleteKey ? nullptr : &c.keyPath;
    }

    std::vector<RegEditChange> read;
    std::string error;
    ASSERT_TRUE(parseRegEditChanges(regEditText(written), read, error)) << error;
    EXPECT_EQ(read, expected);
}

TEST(RegEditChanges, TextFromOtherWritersIsReadAsAnImporterReadsIt) {
    struct Case {
        const char* what;
        std::string text;
        std::vector<RegEditChange> expected;
    };
    const std::string header = "Windows Registry Editor Version 5.00\r\n\r\n";
    const std::vector<Case> cases = {
        {"hex data over several lines",
         header + "[" + kKey + "]\r\n\"b\"=hex:01,02,\\\r\n  03,04\r\n",
         {change(Kind::CreateKey, kKey),
          change(Kind::SetValue, kKey, "b", RegValue::fromBytes("\x01\x02\x03\x04"))}},
        {"unreadable lines and values before any key are skipped",
         header + "\"stray\"=\"x\"\n[" + kKey + "]\n; a comment\n\"bad\"=dword:\n\"ok\"=\"1\"\n",
         {change(Kind::CreateKey, kKey),
          change(Kind::SetValue, kKey, "ok", RegValue::fromString("1"))}},
        {"values after a removed key belong to no key",
         header + "[-" + kKey + "]\n\"x\"=\"1\"\n@=-\n",
         {change(Kind::DeleteKey, kKey)}},
        {"the default value and its removal",
         "REGEDIT4\n[" + kKey + "]\n@=\"d\"\n@=-\n",
         {change(Kind::CreateKey, kKey),
          change(Kind::SetValue, kKey, "", RegValue::fromString("d")),
          change(Kind::DeleteValue, kKey, "")}},
    };
    for (const auto& c : cases) {
        std::vector<RegEditChange> read;
        std::string error;
        ASSERT_TRUE(parseRegEditChanges(c.text, read, error)) << c.what << ": " << error;
        EXPECT_EQ(read, c.expected) << c.what;
    }
}

TEST(RegEditChanges, TextThatIsNoRegeditTextIsRefused) {
    for (const std::string text :
         {"", "[HKEY_CURRENT_USER\\Software]\n\"a\"=\"b\"\n", "Windows Registry Editor\n"}) {
        std::vector<RegEditChange> read{change(Kind::CreateKey, kKey)};
        std::string error;
        EXPECT_FALSE(parseRegEditChanges(text, read, error)) << text;
        EXPECT_FALSE(error.empty());
        EXPECT_TRUE(read.empty());
    }
}

}  // namespace
}  // namespace modshelf::settings

namespace modshelf::settings {
namespace {

void expectSameKeys(const KeyNode& want, const KeyNode& got, const std::string& path) {
    ASSERT_EQ(got.values.size(), want.values.size()) << path;
    for (const auto& value : want.values) {
        const NamedValue* found = got.findValue(value.name);
        ASSERT_NE(found, nullptr) << path << " " << value.name;
        EXPECT_EQ(found->value, value.value) << path << " " << value.name;
    }
    ASSERT_EQ(got.subkeys.size(), want.subkeys.size()) << path;
    for (const auto& child : want.subkeys) {
        const KeyNode* found = got.findSubkey(child.name);
        ASSERT_NE(found, nullptr) << path << "\\" << child.name;
        expectSameKeys(child, *found, path + "\\" + child.name);
    }
}

// A branch read from Wine's own file form is handed on as export text; the
// reader must get back every key, the empty ones too, and every value.
TEST(RegEditChanges, AWholeTreeSurvivesItsExportText) {
    for (const std::string root : {"HKEY_CURRENT_USER", "HKEY_CURRENT_USER\\Software\\Q"}) {
        RegistryTree tree;
        tree.root().setValue("", RegValue::fromString("root default"));
        tree.findOrCreate("Empty\\Deeper\\Deepest");
        KeyNode& key = tree.findOrCreate("Sc\xc3\xa4nes [1]\\Bibles");
        key.setValue("KJV", RegValue::fromString("True"));
        key.setValue("N\xc3\xa4me \"q\" \\", RegValue::fromString("two\nlines"));
        key.setValue("multi", RegValue::fromBytes(std::string("a\0b\0\0", 5), kRegMultiSz));
        key.setValue("dword", RegValue::fromDword(7));
        key.setValue("blob", RegValue::fromBytes(std::string("\0\xff", 2)));

        RegistryTree read;
        std::string error;
        ASSERT_TRUE(parseRegEdit(regEditTextOf(tree, root), root, read, error)) << error;
        expectSameKeys(tree.root(), read.root(), root);
    }
}

}  // namespace
}  // namespace modshelf::settings
