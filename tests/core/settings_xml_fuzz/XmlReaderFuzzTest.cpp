// Mutated backups through the reader and the import: none may crash, loop,
// or let a key outside Modshelf's own settings through. Bounded in count and
// time, so that it runs in every test run, the sanitizer build included.
#include <gtest/gtest.h>

#include <chrono>
#include <random>
#include <string>

#include "core/settings/MemorySettingsStore.h"
#include "core/settings/RegistryXmlExport.h"
#include "core/settings/RegistryXmlImport.h"
#include "core/settings/XmlReader.h"
#include "core/settings/XmlWriter.h"
#include "support/TempDir.h"

namespace modshelf::settings {
namespace {

constexpr const char* kKey = "HKEY_CURRENT_USER\\Software\\Quorvel\\Modshelf";
constexpr const char* kPath = "Software\\Quorvel\\Modshelf";
constexpr int kRounds = 20000;
constexpr auto kTimeBudget = std::chrono::seconds(20);

std::string seedBackup() {
    MemorySettingsStore store;
    const std::string settings = std::string(kPath) + "\\Settings";
    const std::string bibles = std::string(kPath) + "\\Workspace1\\Bibles";
    store.createKey(RegRoot::CurrentUser, settings);
    store.createKey(RegRoot::CurrentUser, bibles);
    store.createKey(RegRoot::CurrentUser, std::string(kPath) + "\\Empty");
    store.setValue(RegRoot::CurrentUser, kPath, "CurrentVersion", RegValue::fromString("V.3.37"));
    store.setValue(RegRoot::CurrentUser, settings, "GridLines", RegValue::fromDword(1));
    store.setValue(RegRoot::CurrentUser, settings, "Blob",
                   RegValue::fromBytes(std::string("\x01\x0a\xff", 3)));
    store.setValue(RegRoot::CurrentUser, settings, "Multi",
                   RegValue::fromBytes(std::string("a\0b\0\0", 5), kRegMultiSz));
    store.setValue(RegRoot::CurrentUser, settings, "Big",
                   RegValue::fromBytes(std::string("\1\2\3\4\5\6\7\x08", 8), kRegQword));
    store.setValue(RegRoot::CurrentUser, bibles, "KJV <&> \"x\"", RegValue::fromString("Trüe\r\n"));
    test::TempDir dir;
    {
        XmlWriter writer((dir / "seed.xml").string());
        writer.WriteStartTag(XmlElement("registry"));
        RegistryXmlExport context{store, writer};
        ExportRegistryTree(context, kKey);
        writer.WriteEndTag("registry");
        writer.Close();
    }
    return test::readFile(dir / "seed.xml");
}

std::string mutate(std::string text, std::mt19937& random) {
    static const std::string kSpecial = "<>/=\"'&?!-[]\r\n \\;#x0\xC3\xFF";
    const int edits = 1 + static_cast<int>(random() % 8);
    for (int e = 0; e < edits && !text.empty(); ++e) {
        const std::size_t at = random() % text.size();
        switch (random() % 6) {
            case 0:
                text[at] = kSpecial[random() % kSpecial.size()];
                break;
            case 1:
                text.insert(at, 1, kSpecial[random() % kSpecial.size()]);
                break;
            case 2:
                text.erase(at, 1 + random() % 16);
                break;
            case 3:
                text.resize(at);
                break;
            case 4: {
                const std::size_t from = random() % text.size();
                text.insert(at, text.substr(from, 1 + random() % 64));
                break;
            }
            default:
                text[at] = static_cast<char>(random() & 0xFF);
                break;
        }
    }
    return text;
}

TEST(XmlReaderFuzz, MutatedBackupsNeverCrashLoopOrEscapeTheSubtree) {
    const std::string seed = seedBackup();
    {
        XmlReader reader;
        reader.SetText(seed);
        ASSERT_TRUE(ReadRegistryXml(reader, kKey).ok()) << "the unmutated backup must read";
    }
    std::mt19937 random(20261208);
    const auto start = std::chrono::steady_clock::now();
    int rounds = 0, accepted = 0;
    for (; rounds < kRounds && std::chrono::steady_clock::now() - start < kTimeBudget; ++rounds) {
        const std::string text = mutate(seed, random);

        // Every step consumes input: a few steps per byte at most.
        XmlReader reader;
        reader.SetText(text);
        std::size_t steps = 0;
        const std::size_t limit = 4 * text.size() + 64;
        while (reader.Next() && steps <= limit) ++steps;
        ASSERT_LE(steps, limit) << "the reader stopped consuming input";

        XmlReader importReader;
        importReader.SetText(text);
        const RegistryXmlImport read = ReadRegistryXml(importReader, kKey);
        if (!read.ok()) {
            EXPECT_TRUE(read.keys.empty());
            continue;
        }
        ++accepted;
        MemorySettingsStore store;
        store.createKey(RegRoot::CurrentUser, "Software\\Other");
        std::string error;
        ASSERT_TRUE(ApplyRegistryImport(store, kKey, read.keys, error)) << error;
        const KeyNode& root = store.branch(RegRoot::CurrentUser).root();
        ASSERT_EQ(root.subkeys.size(), 1u);
        const KeyNode* software = root.findSubkey("Software");
        ASSERT_NE(software, nullptr);
        ASSERT_TRUE(software->values.empty());
        for (const auto& child : software->subkeys)
            ASSERT_TRUE(equalsNoCase(child.name, "Other") || equalsNoCase(child.name, "Quorvel"))
                << child.name;
        const KeyNode* quorvel = software->findSubkey("Quorvel");
        if (quorvel) {
            ASSERT_TRUE(quorvel->values.empty());
            for (const auto& child : quorvel->subkeys)
                ASSERT_TRUE(equalsNoCase(child.name, "Modshelf")) << child.name;
        }
    }
    EXPECT_GT(rounds, 100);
    RecordProperty("rounds", rounds);
    RecordProperty("accepted", accepted);
}

}  // namespace
}  // namespace modshelf::settings
