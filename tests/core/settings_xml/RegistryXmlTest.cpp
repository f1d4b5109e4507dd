#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/settings/MemorySettingsStore.h"
#include "core/settings/RegistryXmlExport.h"
#include "core/settings/RegistryXmlImport.h"
#include "core/settings/RegistryXmlValues.h"
#include "core/settings/XmlEscaping.h"
#include "core/settings/XmlReader.h"
#include "core/settings/XmlWriter.h"
#include "support/TempDir.h"

namespace modshelf::settings {
namespace {

constexpr const char* kKey = "HKEY_CURRENT_USER\\Software\\Quorvel\\Modshelf";
constexpr const char* kPath = "Software\\Quorvel\\Modshelf";

std::string exportToText(SettingsStore& store, const std::string& key = kKey,
                         ExportCancelCheck* cancel = nullptr, bool* result = nullptr) {
    test::TempDir dir;
    const auto file = dir / "out.xml";
    {
        XmlWriter writer(file.string());
        writer.WriteStartTag(XmlElement("registry"));
        RegistryXmlExport context{store, writer, cancel};
        const bool ok = ExportRegistryTree(context, key);
        if (result) *result = ok;
        writer.WriteEndTag("registry");
        EXPECT_TRUE(writer.Close());
    }
    return test::readFile(file);
}

RegistryXmlImport readText(const std::string& text) {
    XmlReader reader;
    reader.SetText(text);
    return ReadRegistryXml(reader, kKey);
}

TEST(RegistryXml, WritesTheWorkedExampleLineForLine) {
    MemorySettingsStore store;
    store.createKey(RegRoot::CurrentUser, kPath);
    store.setValue(RegRoot::CurrentUser, kPath, "CurrentVersion", RegValue::fromString("V.3.37"));
    store.createKey(RegRoot::CurrentUser, std::string(kPath) + "\\Settings");
    store.setValue(RegRoot::CurrentUser, std::string(kPath) + "\\Settings", "GridLines",
                   RegValue::fromDword(1));
    EXPECT_EQ(exportToText(store),
              "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\r\n"
              " <registry>\r\n"
              "  <k name=\"HKEY_CURRENT_USER\">\r\n"
              "   <k name=\"Software\">\r\n"
              "    <k name=\"Quorvel\">\r\n"
              "     <k name=\"Modshelf\">\r\n"
              "      <v name=\"CurrentVersion\" value=\"V.3.37\"/>\r\n"
              "      <k name=\"Settings\">\r\n"
              "       <v name=\"GridLines\" value=\"0x00000001 (1)\" type=\"REG_DWORD\"/>\r\n"
              "      </k>\r\n"
              "     </k>\r\n"
              "    </k>\r\n"
              "   </k>\r\n"
              "  </k>\r\n"
              " </registry>\r\n");
}

struct ValueCase {
    const char* name;
    RegValue stored;
    std::string written;  // the value attribute as it appears in the file
    RegValue restored;
};

class RegistryXmlValues : public ::testing::TestWithParam<ValueCase> {};

TEST_P(RegistryXmlValues, RoundTripThroughTheFile) {
    const ValueCase& c = GetParam();
    MemorySettingsStore store;
    const std::string key = std::string(kPath) + "\\Näme <&> \"x\"";
    store.createKey(RegRoot::CurrentUser, key);
    store.setValue(RegRoot::CurrentUser, key, "välue <&\"", c.stored);

    const std::string text = exportToText(store);
    EXPECT_NE(text.find("value=\"" + c.written + "\""), std::string::npos) << text;

    const RegistryXmlImport read = readText(text);
    ASSERT_TRUE(read.ok()) << read.detail;
    ASSERT_EQ(read.keys.size(), 2u);
    EXPECT_EQ(read.keys[1].path, key);
    ASSERT_EQ(read.keys[1].values.size(), 1u);
    EXPECT_EQ(read.keys[1].values[0].name, "välue <&\"");
    EXPECT_EQ(read.keys[1].values[0].value, c.restored);
}

RegValue bytes(std::string data, std::uint32_t type) {
    return RegValue::fromBytes(std::move(data), type);
}

INSTANTIATE_TEST_SUITE_P(
    EveryType, RegistryXmlValues,
    ::testing::Values(
        ValueCase{"Text", RegValue::fromString("a <b> & \"c\" 'd'"),
                  "a &lt;b> &amp; &quot;c&quot; 'd'", RegValue::fromString("a <b> & \"c\" 'd'")},
        ValueCase{"TextWithLineBreaks", RegValue::fromString("one\r\ntwo\nthree"),
                  "one&#13;&#10;two&#10;three", RegValue::fromString("one\r\ntwo\nthree")},
        ValueCase{"EntityTextReadsBackOnce", RegValue::fromString("&lt; &amp;"),
                  "&amp;lt; &amp;amp;", RegValue::fromString("&lt; &amp;")},
        ValueCase{"DwordMax", RegValue::fromDword(4294967295u), "0xffffffff (-1)",
                  RegValue::fromDword(4294967295u)},
        ValueCase{"DwordBigEndianComesBackLittleEndian",
                  bytes(std::string("\x00\x00\x01\x02", 4), kRegDwordBigEndian), "0x00000102 (258)",
                  RegValue::fromDword(258)},
        ValueCase{"Binary", bytes(std::string("\x01\x0a\xff", 3), kRegBinary), "01 0a ff",
                  bytes(std::string("\x01\x0a\xff", 3), kRegBinary)},
        ValueCase{"ZeroLengthBinaryStaysEmpty", bytes("", kRegBinary), "", bytes("", kRegBinary)},
        ValueCase{"MultiString", bytes(std::string("a\0b\0\0", 5), kRegMultiSz), "a\r\nb",
                  bytes(std::string("a\0b\0\0", 5), kRegMultiSz)},
        ValueCase{"ExpandText", RegValue::fromString("%HOME%\\x", kRegExpandSz), "%HOME%\\x",
                  RegValue::fromString("%HOME%\\x", kRegExpandSz)},
        ValueCase{"Qword", bytes(std::string("\x08\x07\x06\x05\x04\x03\x02\x01", 8), kRegQword),
                  "0x0102030405060708",
                  bytes(std::string("\x08\x07\x06\x05\x04\x03\x02\x01", 8), kRegQword)},
        ValueCase{"NoneComesBackAsText", bytes(std::string("abc\0", 4), kRegNone), "abc",
                  RegValue::fromString("abc")},
        ValueCase{"UnknownTypeComesBackAsText", bytes("xyz", 12), "xyz",
                  RegValue::fromString("xyz")}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(RegistryXml, EmptyKeysAndTheDefaultValueComeBack) {
    MemorySettingsStore store;
    store.createKey(RegRoot::CurrentUser, std::string(kPath) + "\\Empty");
    store.createKey(RegRoot::CurrentUser, std::string(kPath) + "\\Dflt");
    store.setValue(RegRoot::CurrentUser, std::string(kPath) + "\\Dflt", "",
                   RegValue::fromString("d"));
    const std::string text = exportToText(store);
    EXPECT_NE(text.find("      <k name=\"Empty\"/>\r\n"), std::string::npos) << text;
    EXPECT_NE(text.find("<v name=\"(Default)\" value=\"d\"/>"), std::string::npos) << text;
    EXPECT_EQ(text.find("(value not set)"), std::string::npos);

    const RegistryXmlImport read = readText(text);
    ASSERT_TRUE(read.ok());
    ASSERT_EQ(read.keys.size(), 3u);
    EXPECT_EQ(read.keys[1].path, std::string(kPath) + "\\Dflt");
    EXPECT_EQ(read.keys[1].values[0].name, "");
    EXPECT_EQ(read.keys[2].path, std::string(kPath) + "\\Empty");
    EXPECT_TRUE(read.keys[2].values.empty());
}

TEST(RegistryXml, ListsValuesByNameWithoutCaseAndTheDefaultFirst) {
    MemorySettingsStore store;
    for (const char* name : {"gamma", "Beta", "alpha", "!bang"})
        store.setValue(RegRoot::CurrentUser, "", name, RegValue::fromString(name));
    std::vector<KeyValueEntry> entries;
    ASSERT_TRUE(ListKeyValues(store, RegRoot::CurrentUser, "", entries));
    std::vector<std::string> names;
    for (const auto& e : entries) names.push_back(e.name);
    EXPECT_EQ(names, (std::vector<std::string>{"(Default)", "!bang", "alpha", "Beta", "gamma"}));
    EXPECT_FALSE(entries[0].set);
    EXPECT_EQ(entries[0].text, "(value not set)");

    store.setValue(RegRoot::CurrentUser, "", "", RegValue::fromString("(value not set)"));
    ASSERT_TRUE(ListKeyValues(store, RegRoot::CurrentUser, "", entries));
    EXPECT_EQ(entries.size(), 5u);
    EXPECT_TRUE(entries[0].set) << "a default value set to that very text is still set";
}

TEST(RegistryXml, ExportFailsForAnUnknownRootOrAMissingKey) {
    MemorySettingsStore store;
    bool ok = true;
    exportToText(store, "HKEY_NOWHERE\\Software", nullptr, &ok);
    EXPECT_FALSE(ok);
    exportToText(store, kKey, nullptr, &ok);
    EXPECT_FALSE(ok);
}

class CancelAt : public ExportCancelCheck {
public:
    explicit CancelAt(int call) : call_(call) {}
    bool cancelRequested() override { return ++calls == call_; }
    int calls = 0;

private:
    int call_;
};

TEST(RegistryXml, AskedEveryFiftyKeysAndStopsWhenCancelled) {
    MemorySettingsStore store;
    for (int i = 0; i < 120; ++i)
        store.createKey(RegRoot::CurrentUser, std::string(kPath) + "\\K" + std::to_string(i));
    CancelAt never(-1);
    bool ok = false;
    exportToText(store, kKey, &never, &ok);
    EXPECT_TRUE(ok);
    EXPECT_EQ(never.calls, 3);  // keys 1, 51 and 101 of 121

    CancelAt second(2);
    const std::string partial = exportToText(store, kKey, &second, &ok);
    EXPECT_FALSE(ok);
    EXPECT_EQ(partial.find("\"K99\""), std::string::npos);
}

TEST(RegistryXml, EscapingDecodesEachEntityOnce) {
    EXPECT_EQ(EscapeXmlText("<a & \"b\" > 'c'>"), "&lt;a &amp; &quot;b&quot; > 'c'>");
    EXPECT_EQ(UnescapeXmlText("&amp;lt;&amp;amp;&lt;&quot;&gt;&apos;&#65;&#x42;&bogus;&#0;&"),
              "&lt;&amp;<\">'AB&bogus;&#0;&");
    for (const std::string text : {"&", "&amp;", "a&quot;b", "&#10;", "x\r\ny"})
        EXPECT_EQ(UnescapeXmlText(EscapeXmlText(text)), text);
}

struct BadValueCase {
    const char* type;
    const char* text;
};

TEST(RegistryXml, ValueTextsThatDoNotFitTheirTypeAreRefused) {
    for (const BadValueCase& c : std::vector<BadValueCase>{{"REG_DWORD", "0x1"},
                                                           {"REG_DWORD", "12345678"},
                                                           {"REG_DWORD", "0x0000000g (1)"},
                                                           {"REG_DWORD", "0x123456789"},
                                                           {"REG_QWORD", "0x00000001"},
                                                           {"REG_BINARY", "0"},
                                                           {"REG_BINARY", "01 0"},
                                                           {"reg_binary", "zz"},
                                                           {"REG_BINARY", "01-02"}})
        EXPECT_FALSE(parseRegistryXmlValue(c.type, c.text)) << c.type << " " << c.text;
    EXPECT_EQ(parseRegistryXmlValue("reg_dword", ""), RegValue::fromDword(0));
    EXPECT_EQ(parseRegistryXmlValue("REG_DWORD", "0X0000000F"), RegValue::fromDword(15));
    EXPECT_EQ(parseRegistryXmlValue("REG_MULTI_SZ", ""),
              RegValue::fromBytes(std::string(1, '\0'), kRegMultiSz));
    EXPECT_EQ(parseRegistryXmlValue("bogus", "t"), RegValue::fromString("t"));
}

const std::string kHead = "<?xml version=\"1.0\"?>\n<registry>\n<k name=\"HKEY_CURRENT_USER\">\n";

struct RefusedCase {
    const char* name;
    std::string text;
    RegistryXmlImport::Problem problem;
    std::string detail;
};

class RegistryXmlRefused : public ::testing::TestWithParam<RefusedCase> {};

TEST_P(RegistryXmlRefused, KeepsNothing) {
    const RegistryXmlImport read = readText(GetParam().text);
    EXPECT_EQ(read.problem, GetParam().problem);
    EXPECT_EQ(read.detail, GetParam().detail);
    EXPECT_TRUE(read.keys.empty());
}

using Problem = RegistryXmlImport::Problem;
const std::string kModshelf = "<k name=\"Software\"><k name=\"Quorvel\"><k name=\"Modshelf\">\n";
const std::string kModshelfEnd = "</k></k></k>\n</k>\n</registry>\n";

INSTANTIATE_TEST_SUITE_P(
    Files, RegistryXmlRefused,
    ::testing::Values(
        RefusedCase{"RunKeyElsewhere",
                    kHead + kModshelf + "<v name=\"a\" value=\"b\"/></k></k></k>\n" +
                        "<k name=\"Software\\Microsoft\\Windows\\CurrentVersion\\Run\">"
                        "<v name=\"x\" value=\"evil.exe\"/></k>\n</k>\n</registry>\n",
                    Problem::ForeignKey,
                    "HKEY_CURRENT_USER\\Software\\Microsoft\\Windows\\CurrentVersion\\Run"},
        RefusedCase{
            "OtherRoot",
            "<registry><k name=\"HKEY_LOCAL_MACHINE\"><k name=\"Software\"/></k></registry>",
            Problem::ForeignKey, "HKEY_LOCAL_MACHINE"},
        RefusedCase{"ValueInALeadingKey",
                    kHead + "<k name=\"Software\"><v name=\"a\" value=\"b\"/></k></k></registry>",
                    Problem::ForeignKey, "HKEY_CURRENT_USER\\Software"},
        RefusedCase{"EscapedSiblingOfModshelf",
                    kHead + "<k name=\"Software\"><k name=\"Quorvel\"><k name=\"Modshelf2\"/>"
                            "</k></k></k></registry>",
                    Problem::ForeignKey, "HKEY_CURRENT_USER\\Software\\Quorvel\\Modshelf2"},
        RefusedCase{"BadDword",
                    kHead + kModshelf + "<v name=\"n\" value=\"0x12\" type=\"REG_DWORD\"/>\n" +
                        kModshelfEnd,
                    Problem::BadValue, "n"},
        RefusedCase{"CutShort", kHead + kModshelf + "<v name=\"n\" value=\"1\"/>\n</k>",
                    Problem::Incomplete, ""},
        RefusedCase{"ParseErrorHalfWay",
                    kHead + kModshelf + "<v name=\"n\" value=\"1\"/>\n<k <\n" + kModshelfEnd,
                    Problem::ParseError, "Parse error in line 6 : (Bad '<' symbol)"},
        RefusedCase{"NoModshelfKey", kHead + "<k name=\"Software\"/>\n</k>\n</registry>\n",
                    Problem::NoSettings, ""}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(RegistryXml, KeyNamesMatchWithoutCaseAndTypeLostWhenOutOfOrder) {
    const RegistryXmlImport read = readText(
        "<registry><k name=\"hkey_current_user\"><k name=\"SOFTWARE\\quorvel\">"
        "<k name=\"MODSHELF\"><v name=\"n\" type=\"REG_DWORD\" value=\"0x00000001\"/>"
        "</k></k></k></registry>");
    ASSERT_TRUE(read.ok()) << read.detail;
    ASSERT_EQ(read.keys.size(), 1u);
    EXPECT_EQ(read.keys[0].path, "SOFTWARE\\quorvel\\MODSHELF");
    EXPECT_EQ(read.keys[0].values[0].value, RegValue::fromString("0x00000001"));
}

}  // namespace
}  // namespace modshelf::settings
