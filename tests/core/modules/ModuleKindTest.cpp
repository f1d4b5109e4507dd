#include "core/modules/ModuleKind.h"

#include <gtest/gtest.h>

#include <set>
#include <string>

namespace modshelf::modules {
namespace {

TEST(ModuleKindTest, OnlyTheLastFiveCharactersDecideIgnoringCase) {
    EXPECT_EQ(classify("kjv.bblx"), ModuleKind::Bible);
    EXPECT_EQ(classify("KJV.BBLX"), ModuleKind::Bible);
    EXPECT_EQ(classify("Mixed.BbLx"), ModuleKind::Bible);
    EXPECT_EQ(classify(".bblx"), ModuleKind::Bible);  // exactly five characters
    EXPECT_EQ(classify("bblx"), ModuleKind::Unknown);
    EXPECT_EQ(classify(".blx"), ModuleKind::Unknown);
    EXPECT_EQ(classify("kjv.bblx.bak"), ModuleKind::Unknown);
    EXPECT_EQ(classify("kjv.bbl"), ModuleKind::Unknown);
    EXPECT_EQ(classify("kjvXbblx"), ModuleKind::Unknown);
    EXPECT_EQ(classify("abc.{01..."), ModuleKind::Unknown);
    EXPECT_EQ(classify(""), ModuleKind::Unknown);
    EXPECT_FALSE(isModule("readme.txt"));
    EXPECT_TRUE(isModule("plan.BRPX"));
}

TEST(ModuleKindTest, EveryRowRoundTripsThroughItsExtensionAndCommand) {
    std::set<std::string_view> extensions;
    int expectedCommand = 40041;
    for (const ModuleKindInfo& row : moduleKindTable()) {
        EXPECT_EQ(row.extension.size(), 5u);
        EXPECT_TRUE(extensions.insert(row.extension).second) << row.extension;
        EXPECT_EQ(classify("Name" + std::string(row.extension)), row.kind);
        EXPECT_EQ(row.filterCommand, expectedCommand++);
        EXPECT_EQ(kindOfFilterCommand(row.filterCommand), row.kind);
        EXPECT_EQ(filterCommand(row.kind), row.filterCommand);
    }
    EXPECT_FALSE(kindOfFilterCommand(40058).has_value());
    EXPECT_FALSE(kindOfFilterCommand(40076).has_value());
}

TEST(ModuleKindTest, FourKindsSortUnderAnotherWordingThanTheyShow) {
    EXPECT_EQ(listTypeName(ModuleKind::Journal), "User Journal");
    EXPECT_EQ(sortTypeName(ModuleKind::Journal), "Journal File");
    EXPECT_EQ(listTypeName(ModuleKind::Notes), "User Notes");
    EXPECT_EQ(sortTypeName(ModuleKind::Notes), "Note File");
    EXPECT_EQ(listTypeName(ModuleKind::Reference), "Reference Book");
    EXPECT_EQ(sortTypeName(ModuleKind::Reference), "Reference");
    EXPECT_EQ(listTypeName(ModuleKind::Topical), "Topical File");
    EXPECT_EQ(sortTypeName(ModuleKind::Topical), "Topic File");
    int differing = 0;
    for (const ModuleKindInfo& row : moduleKindTable())
        differing += row.listTypeName != row.sortTypeName;
    EXPECT_EQ(differing, 4);
}

TEST(ModuleKindTest, SixKindsCarryDetailsAndThreeAreActivated) {
    std::set<ModuleKind> withDetails;
    for (const ModuleKindInfo& row : moduleKindTable())
        if (readsDetails(row.kind)) withDetails.insert(row.kind);
    EXPECT_EQ(withDetails, (std::set<ModuleKind>{ModuleKind::Bible, ModuleKind::Commentary,
                                                 ModuleKind::Dictionary, ModuleKind::Devotional,
                                                 ModuleKind::Harmony, ModuleKind::Graphics}));

    EXPECT_EQ(activationCategory(ModuleKind::Bible), ActivationCategory::Bibles);
    EXPECT_EQ(activationCategory(ModuleKind::Commentary), ActivationCategory::Commentaries);
    EXPECT_EQ(activationCategory(ModuleKind::Dictionary), ActivationCategory::Dictionaries);
    int activated = 0;
    for (const ModuleKindInfo& row : moduleKindTable())
        activated += activationCategory(row.kind) != ActivationCategory::None;
    EXPECT_EQ(activated, 3);

    EXPECT_EQ(categoryKeyName(ActivationCategory::Commentaries), "Commentaries");
    EXPECT_EQ(categoryKeyName(ActivationCategory::None), "");
    EXPECT_EQ(categoryOfListTypeName("BIBLE"), ActivationCategory::Bibles);
    EXPECT_EQ(categoryOfListTypeName("dictionary"), ActivationCategory::Dictionaries);
    EXPECT_EQ(categoryOfListTypeName("Devotional"), ActivationCategory::None);
}

TEST(ModuleKindTest, UnknownKindHasNoColumnsAndSortsLast) {
    EXPECT_EQ(listTypeName(ModuleKind::Unknown), "");
    EXPECT_EQ(sortTypeName(ModuleKind::Unknown), "ZZZZZ");
    EXPECT_EQ(filterCommand(ModuleKind::Unknown), 0);
    EXPECT_FALSE(readsDetails(ModuleKind::Unknown));
    EXPECT_EQ(activationCategory(ModuleKind::Unknown), ActivationCategory::None);
    for (const ModuleKindInfo& row : moduleKindTable())
        EXPECT_LT(std::string(row.sortTypeName), "ZZZZZ");
}

}  // namespace
}  // namespace modshelf::modules
