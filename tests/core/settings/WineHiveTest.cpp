#include <gtest/gtest.h>

#include "core/settings/Utf16.h"
#include "core/settings/WineHive.h"

using namespace modshelf::settings;

namespace {

WineHive parse(const std::string& text) {
    WineHive hive;
    std::string error;
    EXPECT_TRUE(parseWineHive(text, hive, error)) << error;
    return hive;
}

const RegValue& valueAt(const WineHive& hive, const std::string& key, const std::string& name) {
    const KeyNode* node = hive.tree.find(key);
    EXPECT_NE(node, nullptr) << key;
    static const RegValue missing;
    if (!node) return missing;
    const NamedValue* value = node->findValue(name);
    EXPECT_NE(value, nullptr) << key << " / " << name;
    return value ? value->value : missing;
}

std::string bytes(std::initializer_list<int> list) {
    std::string out;
    for (int b : list) out.push_back(static_cast<char>(b));
    return out;
}

// A file in exactly the form Wine 8 writes, with every kind of value.
const std::string kUserReg =
    "WINE REGISTRY Version 2\n"
    ";; All keys relative to REGISTRY\\\\User\\\\S-1-5-21-0-0-0-1000\n"
    "\n"
    "#arch=win64\n"
    "\n"
    "[Control Panel\\\\International\\\\\\xd83c\\xdf0e] 1796725632\n"
    "#time=1dd86feaff1a554\n"
    "@=\"globe\"\n"
    "\n"
    "[Software\\\\Quorvel\\\\Modshelf\\\\Settings] 1700000000\n"
    "#time=1da1e0a3b6c7d80\n"
    "\"Big\"=hex(b):ef,cd,ab,89,67,45,23,01\n"
    "\"Blob\"=hex:00,01,ff\n"
    "\"Empty\"=\"\"\n"
    "\"Expand\"=str(2):\"%ProgramFiles%\\\\Scrivel\"\n"
    "\"GridLines\"=dword:0000002a\n"
    "\"List\"=str(7):\"a\\0b c\\0\"\n"
    "\"None\"=hex(0):\n"
    "\"Open\"=hex(1):61,00,62,00\n"
    "\"Path\"=\"C:\\\\Program Files\\\\Scrivel\\\\\"\n"
    "\"Quote \\\"q\\\"\"=\"say \\\"hi\\\"\\tand\\nbye\\r\\a\\b\\v\\f\\e\\1x\\0017\"\n"
    "\"Unicode\"=\"G\\xfcnter \\x20ac5 \\x4e2d\\xd83d\\xde00\"\n"
    "\n"
    "[Software\\\\Quorvel\\\\Modshelf\\\\Workspace1\\\\Bibles] 1700000001\n"
    "#time=1da1e0a3b6c7d81\n"
    "\"KJV\"=\"True\"\n";

}  // namespace

TEST(WineHive, ReadsEveryValueTypeAndWritesTheFileBackByteForByte) {
    WineHive hive = parse(kUserReg);
    const std::string key = "Software\\Quorvel\\Modshelf\\Settings";

    EXPECT_EQ(valueAt(hive, key, "GridLines"), RegValue::fromDword(42));
    EXPECT_EQ(valueAt(hive, key, "Blob"), RegValue::fromBytes(bytes({0, 1, 0xff})));
    EXPECT_EQ(
        valueAt(hive, key, "Big"),
        RegValue::fromBytes(bytes({0xef, 0xcd, 0xab, 0x89, 0x67, 0x45, 0x23, 0x01}), kRegQword));
    EXPECT_EQ(valueAt(hive, key, "None"), RegValue::fromBytes("", kRegNone));
    // Text arrives as UTF-8 with the terminating NUL the registry stores.
    EXPECT_EQ(valueAt(hive, key, "Path"), RegValue::fromString("C:\\Program Files\\Scrivel\\"));
    EXPECT_EQ(valueAt(hive, key, "Empty"), RegValue::fromString(""));
    EXPECT_EQ(valueAt(hive, key, "Expand"),
              RegValue::fromString("%ProgramFiles%\\Scrivel", kRegExpandSz));
    EXPECT_EQ(valueAt(hive, key, "List").type, kRegMultiSz);
    EXPECT_EQ(valueAt(hive, key, "List").data, std::string("a\0b c\0\0", 7));
    // A string stored without its NUL stays without it.
    EXPECT_EQ(valueAt(hive, key, "Open"), RegValue::fromBytes("ab", kRegSz));
    EXPECT_EQ(valueAt(hive, key, "Quote \"q\"").text(),
              "say \"hi\"\tand\nbye\r\a\b\v\f\x1b\001x\0017");
    // \x takes up to four digits: "\x20ac5" is the euro sign and a 5; a
    // surrogate pair becomes one character.
    EXPECT_EQ(valueAt(hive, key, "Unicode").text(),
              "G\xc3\xbcnter \xe2\x82\xac"
              "5 \xe4\xb8\xad\xf0\x9f\x98\x80");
    // Key names are unescaped too, and names compare without regard to case.
    EXPECT_EQ(valueAt(hive, "control panel\\INTERNATIONAL\\\xf0\x9f\x8c\x8e", "").text(), "globe");

    const KeyNode* settings = hive.tree.find(key);
    ASSERT_NE(settings, nullptr);
    EXPECT_EQ(settings->modified, 1700000000);
    EXPECT_EQ(settings->fileTime, 0x1da1e0a3b6c7d80ull);
    EXPECT_EQ(hive.arch(), "win64");

    EXPECT_EQ(serializeWineHive(hive), kUserReg);
}

TEST(WineHive, WritesValuesTheWayWineDoes) {
    WineHive hive = newWineHive(HiveBranch::LocalMachine, "win32");
    KeyNode& key = hive.tree.findOrCreate("Software\\A[1]\\B");
    key.setValue("", RegValue::fromString("default"));
    key.setValue("dword", RegValue::fromDword(0xdeadbeef));
    key.setValue("short dword", RegValue::fromBytes("ab", kRegDword));
    key.setValue("unterminated", RegValue::fromBytes("hi", kRegExpandSz));
    key.setValue("q", RegValue::fromBytes(bytes({1, 0, 0, 0, 0, 0, 0, 0}), kRegQword));
    key.setValue("ctl", RegValue::fromString(std::string("\x01"
                                                         "7\x02x\x1f",
                                                         5)));
    key.setValue("lat", RegValue::fromString("\xc3\xa9"
                                             "a \xc3\xa9g"));
    hive.tree.findOrCreate("Software\\Empty");

    EXPECT_EQ(serializeWineHive(hive),
              "WINE REGISTRY Version 2\n"
              ";; All keys relative to REGISTRY\\\\Machine\n"
              "\n"
              "#arch=win32\n"
              "\n"
              "[Software\\\\A\\[1\\]\\\\B]\n"
              "@=\"default\"\n"
              "\"ctl\"=\"\\0017\\2x\\37\"\n"
              "\"dword\"=dword:deadbeef\n"
              "\"lat\"=\"\\x00e9a \\xe9g\"\n"
              "\"q\"=hex(b):01,00,00,00,00,00,00,00\n"
              "\"short dword\"=hex(4):61,62\n"
              "\"unterminated\"=hex(2):68,00,69,00\n"
              "\n"
              "[Software\\\\Empty]\n");
}

TEST(WineHive, WrapsLongHexValuesAsWineDoes) {
    // Taken from a system.reg that Wine 8 wrote.
    const std::string text =
        "WINE REGISTRY Version 2\n"
        ";; All keys relative to REGISTRY\\\\Machine\n"
        "\n"
        "[Software\\\\Classes\\\\Wow6432Node\\\\AppId] 1796725632\n"
        "#time=1dd86feb003abbe\n"
        "#link\n"
        "\"SymbolicLinkValue\"=hex(6):5c,00,52,00,65,00,67,00,69,00,73,00,74,00,72,00,79,\\\n"
        "  00,5c,00,4d,00,61,00,63,00,68,00,69,00,6e,00,65,00,5c,00,53,00,6f,00,66,00,\\\n"
        "  74,00,77,00,61,00,72,00,65,00,5c,00,43,00,6c,00,61,00,73,00,73,00,65,00,73,\\\n"
        "  00,5c,00,41,00,70,00,70,00,49,00,64,00\n";
    WineHive hive = parse(text);
    const RegValue& link =
        valueAt(hive, "Software\\Classes\\Wow6432Node\\AppId", "SymbolicLinkValue");
    EXPECT_EQ(link.type, kRegLink);
    EXPECT_EQ(utf16ToUtf8(bytesToUtf16(link.data)),
              "\\Registry\\Machine\\Software\\Classes\\AppId");
    EXPECT_EQ(serializeWineHive(hive), text);

    // A long default value: the name part counts toward the first line.
    WineHive other = newWineHive(HiveBranch::CurrentUser, "");
    other.tree.findOrCreate("K").setValue("", RegValue::fromBytes(std::string(40, '\x11')));
    const std::string out = serializeWineHive(other);
    EXPECT_NE(out.find("@=hex:" +
                       [] {
                           std::string s;
                           for (int i = 0; i < 24; ++i) s += "11,";
                           return s;
                       }() +
                       "\\\n  11,"),
              std::string::npos)
        << out;
}

TEST(WineHive, KeepsWhatItDoesNotUnderstand) {
    const std::string text =
        "WINE REGISTRY Version 2\n"
        ";; All keys relative to REGISTRY\\\\Machine\n"
        "#future-option=1\n"
        "\n"
        "#arch=win64\n"
        "\n"
        "[A] 1700000000\n"
        "#time=1da1e0a3b6c7d80\n"
        "#class=\"Shell\"\n"
        "#unknown option\n"
        "; a comment\n"
        "\"bad\"=what:is this\n"
        "\"odd\"=hex(1):61,00,62\n"
        "\"ok\"=\"fine\"\n"
        "\n"
        "[B]\n"
        "\"x\"=dword:00000001\n";
    WineHive hive = parse(text);
    const KeyNode* a = hive.tree.find("A");
    ASSERT_NE(a, nullptr);
    EXPECT_EQ(a->values.size(), 1u);
    EXPECT_EQ(a->extraLines.size(), 5u);
    EXPECT_EQ(serializeWineHive(hive), text);

    // Whatever follows a key header that cannot be read stays too; Wine
    // ignores it wherever it stands.
    const std::string broken =
        "WINE REGISTRY Version 2\n"
        "\n"
        "[A]\n"
        "\"v\"=\"1\"\n"
        "\n"
        "[Broken\\\n"
        "\"lost\"=\"2\"\n";
    WineHive brokenHive = parse(broken);
    EXPECT_EQ(brokenHive.tree.find("Broken"), nullptr);
    EXPECT_EQ(serializeWineHive(brokenHive), broken);
}

TEST(WineHive, ReadsRawUtf8AndWindowsLineEndsAndRefusesOtherFiles) {
    WineHive hive = parse(
        "WINE REGISTRY Version 2\r\n"
        "\r\n"
        "[Software\\\\Caf\xc3\xa9] 5\r\n"
        "\"N\xc3\xa4me\"=\"\xe2\x82\xac 1\"\r\n"
        "\"Bin\"=hex:01,\\\r\n"
        "  02\r\n");
    EXPECT_EQ(valueAt(hive, "Software\\Caf\xc3\xa9", "N\xc3\xa4me").text(), "\xe2\x82\xac 1");
    EXPECT_EQ(valueAt(hive, "Software\\Caf\xc3\xa9", "Bin").data, bytes({1, 2}));
    EXPECT_EQ(serializeWineHive(hive),
              "WINE REGISTRY Version 2\n"
              "\n"
              "[Software\\\\Caf\\xe9] 5\n"
              "\"Bin\"=hex:01,02\n"
              "\"N\\xe4me\"=\"\\x20ac 1\"\n");

    WineHive refused;
    std::string error;
    EXPECT_FALSE(parseWineHive("REGEDIT4\n\n[HKEY_CURRENT_USER\\A]\n", refused, error));
    EXPECT_NE(error.find("not a Wine registry file"), std::string::npos);
    EXPECT_FALSE(parseWineHive("", refused, error));
}

TEST(WineHive, KeysWithOnlySubkeysAreImplicitAndEmptyLeavesExplicit) {
    WineHive hive = parse(
        "WINE REGISTRY Version 2\n"
        "\n"
        "[A\\\\B\\\\C]\n");
    ASSERT_NE(hive.tree.find("A\\B"), nullptr);
    hive.tree.remove("A\\B\\C");
    // B is now a leaf without values: it must be written, or it would vanish.
    EXPECT_EQ(serializeWineHive(hive), "WINE REGISTRY Version 2\n\n[A\\\\B]\n");
}

TEST(WineHiveEscaping, FollowsWinesRules) {
    EXPECT_EQ(escapeHiveText(u"a\\b\"c[d]", "\""), "a\\\\b\\\"c[d]");
    EXPECT_EQ(escapeHiveText(u"a\\b\"c[d]", "[]"), "a\\\\b\"c\\[d\\]");
    // Four digits only when a hex digit follows, so the reader stops in time.
    EXPECT_EQ(escapeHiveText(u"\u00e9a", "\""), "\\x00e9a");
    EXPECT_EQ(escapeHiveText(u"\u00e9g", "\""), "\\xe9g");
    EXPECT_EQ(escapeHiveText(u"\u00e9\u00e9", "\""), "\\xe9\\xe9");
    EXPECT_EQ(escapeHiveText(u"\u00e9", "\""), "\\xe9");
    // Octal with three digits only when an octal digit follows.
    EXPECT_EQ(escapeHiveText(std::u16string(u"\x01"
                                            u"7\x01"
                                            u"8"),
                             "\""),
              "\\0017\\18");
    // Only the final NUL is implied.
    EXPECT_EQ(escapeHiveText(std::u16string(u"a\0b\0", 4), "\""), "a\\0b");
    EXPECT_EQ(escapeHiveText(u"\U0001F600", "\""), "\\xd83d\\xde00");
}

TEST(Utf16, RoundTripsEveryCodeUnitSequence) {
    const std::u16string lone = {u'a', 0xD800, u'b', 0xDC00};
    EXPECT_EQ(utf8ToUtf16(utf16ToUtf8(lone)), lone);
    EXPECT_EQ(utf16ToUtf8(u"\U0001F600"), "\xf0\x9f\x98\x80");
    // Bytes that are not UTF-8 travel as lone surrogates and come back as
    // the same bytes.
    EXPECT_EQ(utf8ToUtf16("\xe9t\xe9"), u"\xdce9t\xdce9");
    EXPECT_EQ(utf8ToUtf16("\xc3\xa9"), u"\u00e9");
    // Overlong forms are not UTF-8 either.
    EXPECT_EQ(utf8ToUtf16("\xc0\xaf"), u"\xdcc0\xdcaf");
    for (const std::string bytes : {"\xe9t\xe9", "\xc0\xaf", "a\xff\xfe", "\xed\xb2\x80\xc3",
                                    "\xed\xa0\x80", "ok \xe2\x82\xac"})
        EXPECT_EQ(utf16ToUtf8(utf8ToUtf16(bytes)), bytes);
    EXPECT_EQ(bytesToUtf16(utf16ToBytes(u"\u20ac!")), u"\u20ac!");
}

// A module's tab name is the name of its activation value, whatever bytes it
// holds: it must read back from the saved file as the same bytes, or the
// module's tick is lost after a restart.
TEST(WineHive, ValueNamesOfAnyBytesComeBackUnchanged) {
    const std::vector<std::string> names = {"caf\xe9", "\xff\xfe", "ok \xc3\xa9", "\xed\xb2\x80"};
    WineHive hive = newWineHive(HiveBranch::CurrentUser, "");
    KeyNode& key = hive.tree.findOrCreate("Software\\Quorvel\\Modshelf\\Workspace1\\Bibles");
    for (const std::string& name : names) key.setValue(name, RegValue::fromString("True"));

    WineHive read;
    std::string error;
    ASSERT_TRUE(parseWineHive(serializeWineHive(hive), read, error)) << error;
    const KeyNode* back = read.tree.find("Software\\Quorvel\\Modshelf\\Workspace1\\Bibles");
    ASSERT_NE(back, nullptr);
    for (const std::string& name : names) EXPECT_NE(back->findValue(name), nullptr) << name;
    EXPECT_EQ(serializeWineHive(read), serializeWineHive(hive));
}
