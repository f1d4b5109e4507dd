#include "core/settings/RegEditFile.h"

#include <gtest/gtest.h>

namespace modshelf::settings {
namespace {

using Kind = RegEditChange::Kind;

const std::string kRoot = "HKEY_CURRENT_USER";

RegEditChange set(const std::string& key, const std::string& name, RegValue value) {
    return {Kind::SetValue, kRoot + "\\" + key, name, std::move(value)};
}

// Whatever we write must come back unchanged when an importer reads it.
TEST(RegEditFile, EveryKindOfValueSurvivesTheFileForm) {
    const std::vector<std::pair<std::string, RegValue>> values = {
        {"plain", RegValue::fromString("True")},
        {"quote \"and\" back\\slash", RegValue::fromString("C:\\Program Files\\\"x\"")},
        {"utf8", RegValue::fromString("Gen\xc3\xa8se \xe2\x80\x94 \xf0\x9f\x93\x96")},
        {"newline", RegValue::fromString("two\nlines\r\tand tab")},
        {"", RegValue::fromString("default value")},
        {"dword", RegValue::fromDword(0xdeadbeef)},
        {"binary", RegValue::fromBytes(std::string("\x00\x01\xff", 3))},
        {"long binary", RegValue::fromBytes(std::string(300, '\x5a'))},
        {"multi", RegValue::fromBytes(std::string("a\0b\0\0", 5), kRegMultiSz)},
        {"expand", RegValue::fromString("%USERPROFILE%\\x", kRegExpandSz)},
        {"qword",
         RegValue::fromBytes(std::string("\x01\x02\x03\x04\x05\x06\x07\x08", 8), kRegQword)},
        {"empty", RegValue::fromString("")},
    };
    std::vector<RegEditChange> changes;
    for (const auto& [name, value] : values) changes.push_back(set("Software\\Q\\K", name, value));

    const std::string text = regEditFileText(regEditFileBytes(regEditText(changes)));
    RegistryTree tree;
    std::string error;
    ASSERT_TRUE(parseRegEdit(text, kRoot, tree, error)) << error;
    const KeyNode* key = tree.find("Software\\Q\\K");
    ASSERT_NE(key, nullptr);
    EXPECT_EQ(key->values.size(), values.size());
    for (const auto& [name, value] : values) {
        const NamedValue* got = key->findValue(name);
        ASSERT_NE(got, nullptr) << name;
        EXPECT_EQ(got->value, value) << name;
    }
}

TEST(RegEditFile, DeletionsAndKeysApplyInOrder) {
    RegistryTree tree;
    tree.findOrCreate("Software\\Q\\Old\\Deep").setValue("x", RegValue::fromString("1"));
    tree.findOrCreate("Software\\Q\\Keep").setValue("gone", RegValue::fromString("1"));
    tree.findOrCreate("Software\\Q\\Keep").setValue("stays", RegValue::fromString("1"));

    const std::vector<RegEditChange> changes = {
        {Kind::DeleteKey, kRoot + "\\Software\\Q\\Old", {}, {}},
        {Kind::DeleteValue, kRoot + "\\Software\\Q\\Keep", "gone", {}},
        {Kind::CreateKey, kRoot + "\\Software\\Q\\New", {}, {}},
        set("Software\\Q\\Keep", "later", RegValue::fromDword(7)),
    };
    std::string error;
    ASSERT_TRUE(applyRegEdit(regEditText(changes), kRoot, tree, error)) << error;
    EXPECT_EQ(tree.find("Software\\Q\\Old"), nullptr);
    ASSERT_NE(tree.find("Software\\Q\\New"), nullptr);
    const KeyNode* keep = tree.find("Software\\Q\\Keep");
    ASSERT_NE(keep, nullptr);
    EXPECT_EQ(keep->findValue("gone"), nullptr);
    EXPECT_NE(keep->findValue("stays"), nullptr);
    EXPECT_NE(keep->findValue("later"), nullptr);
}

// The form Wine's "reg export" writes: CRLF, wrapped hex, other roots beside ours.
TEST(RegEditFile, ReadsWinesExportAndOnlyTheAskedRoot) {
    const std::string exported =
        "Windows Registry Editor Version 5.00\r\n\r\n"
        "[HKEY_CURRENT_USER\\Control Panel\\Desktop]\r\n"
        "\"Mask\"=hex:30,00,02,80,12,00,00,00,30,00,02,80,12,00,00,00,30,00,02,80,12,00,\\\r\n"
        "  00,00,ff\r\n"
        "\"Path\"=hex(2):25,00,55,00,00,00\r\n"
        "\"Wait\"=dword:000003e8\r\n"
        "\"Text\"=\"a \\\"b\\\" c\\\\d\"\r\n"
        "\r\n"
        "[HKEY_LOCAL_MACHINE\\Software\\Other]\r\n"
        "\"x\"=\"y\"\r\n";
    RegistryTree tree;
    std::string error;
    ASSERT_TRUE(parseRegEdit(exported, kRoot, tree, error)) << error;
    const KeyNode* desktop = tree.find("Control Panel\\Desktop");
    ASSERT_NE(desktop, nullptr);
    EXPECT_EQ(desktop->findValue("Mask")->value.data.size(), 25u);
    EXPECT_EQ(desktop->findValue("Path")->value, RegValue::fromString("%U", kRegExpandSz));
    EXPECT_EQ(desktop->findValue("Wait")->value, RegValue::fromDword(1000));
    EXPECT_EQ(desktop->findValue("Text")->value, RegValue::fromString("a \"b\" c\\d"));
    EXPECT_EQ(tree.find("Software\\Other"), nullptr);

    EXPECT_FALSE(parseRegEdit("reg: Unable to find the registry key\r\n", kRoot, tree, error));
    EXPECT_FALSE(error.empty());
}

}  // namespace
}  // namespace modshelf::settings
