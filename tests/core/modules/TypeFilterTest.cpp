#include "core/modules/TypeFilter.h"

#include <gtest/gtest.h>

#include "core/tree/NodeKinds.h"

namespace modshelf::modules {
namespace {

namespace node = tree::node;

int countShown(const TypeFilter& filter) {
    int shown = 0;
    for (const ModuleKindInfo& row : moduleKindTable()) shown += filter.shows(row.kind);
    return shown;
}

TEST(TypeFilterTest, StartsShowingEverything) {
    TypeFilter filter;
    EXPECT_EQ(countShown(filter), 17);
    EXPECT_TRUE(filter.all());
    EXPECT_FALSE(filter.only());
    EXPECT_TRUE(filter.lists("readme.txt"));
    EXPECT_TRUE(filter.lists("x.devx"));
}

TEST(TypeFilterTest, WorkspacePresetListsOnlyTheActivatedKinds) {
    TypeFilter filter;
    filter.applyPresetFor(3);
    EXPECT_TRUE(filter.lists("a.bblx"));
    EXPECT_TRUE(filter.lists("a.CMTX"));
    EXPECT_TRUE(filter.lists("a.dctx"));
    EXPECT_FALSE(filter.lists("a.devx"));
    EXPECT_FALSE(filter.lists("readme.txt"));
    EXPECT_FALSE(filter.lists("abc.{01..."));
    EXPECT_FALSE(filter.all());
    EXPECT_TRUE(filter.only());
    EXPECT_EQ(countShown(filter), 3);

    TypeFilter forAll, forCurrent;
    forAll.applyPresetFor(node::kAllModules);
    forCurrent.applyPresetFor(node::kCurrentSettings);
    EXPECT_EQ(forAll, filter);
    EXPECT_EQ(forCurrent, filter);

    // Any folder node restores everything, whatever the user set before.
    filter.toggleKind(ModuleKind::Bible);
    filter.applyPresetFor(node::kUserFilesFolder);
    EXPECT_EQ(filter, TypeFilter());
}

TEST(TypeFilterTest, HidingAKindTurnsAllOffUntilTheMenuSeesEveryKindAgain) {
    TypeFilter filter;
    ASSERT_TRUE(filter.handleCommand(40041));
    EXPECT_FALSE(filter.lists("kjv.bblx"));
    EXPECT_FALSE(filter.all());
    ASSERT_TRUE(filter.handleCommand(40041));
    EXPECT_TRUE(filter.lists("kjv.bblx"));
    EXPECT_FALSE(filter.all()) << "showing a kind again leaves All alone";

    auto item = filter.menuItemState(kCommandAllModules, node::kResourceFolder);
    ASSERT_TRUE(item);
    EXPECT_TRUE(item->checked);
    EXPECT_TRUE(filter.all());
}

TEST(TypeFilterTest, AllHidesEveryModuleButNotOtherFilesUnlessOnly) {
    TypeFilter filter;
    filter.handleCommand(kCommandAllModules);
    EXPECT_EQ(countShown(filter), 0);
    EXPECT_FALSE(filter.all());
    EXPECT_TRUE(filter.lists("readme.txt"));
    EXPECT_FALSE(filter.lists("kjv.bblx"));
    filter.handleCommand(kCommandOnlyModules);
    EXPECT_FALSE(filter.lists("readme.txt"));
    filter.handleCommand(kCommandAllModules);
    EXPECT_EQ(countShown(filter), 17);
    EXPECT_TRUE(filter.all());
    EXPECT_TRUE(filter.lists("kjv.bblx"));
    EXPECT_FALSE(filter.handleCommand(40058));
}

TEST(TypeFilterTest, MenuIsFixedWhileAWorkspaceIsSelected) {
    TypeFilter filter;
    filter.applyPresetFor(5);
    for (const FilterMenuItemState& item : filter.menuState(5)) {
        EXPECT_FALSE(item.enabled) << item.command;
        const bool activatedKind = item.command == 40041 || item.command == 40042 ||
                                   item.command == 40044 || item.command == kCommandOnlyModules;
        EXPECT_EQ(item.checked, activatedKind) << item.command;
    }
    // The same flags with a folder selected: enabled, checked as the flags say.
    for (const FilterMenuItemState& item : filter.menuState(node::kDriveOrFolder)) {
        EXPECT_TRUE(item.enabled) << item.command;
        const bool on = item.command == 40041 || item.command == 40042 || item.command == 40044 ||
                        item.command == kCommandOnlyModules;
        EXPECT_EQ(item.checked, on) << item.command;
    }
    EXPECT_FALSE(filter.menuItemState(40100, 5).has_value());
}

TEST(TypeFilterTest, MenuEntriesFollowTheMenuOrder) {
    const auto& entries = filterMenuEntries();
    EXPECT_EQ(entries[4].label, "Gospel Harmonies");
    EXPECT_EQ(entries[4].command, 40046);
    EXPECT_EQ(entries[5].label, "Graphics Modules");
    EXPECT_EQ(entries[17].label, "All Scrivel Modules");
    EXPECT_TRUE(entries[17].separatorBefore);
    EXPECT_EQ(entries[18].command, kCommandOnlyModules);
    for (const FilterMenuEntry& entry : entries) {
        if (entry.kind) {
            EXPECT_EQ(entry.label, menuLabel(*entry.kind));
            EXPECT_EQ(entry.command, filterCommand(*entry.kind));
        }
        EXPECT_NE(entry.statusPrompt.find('\n'), std::string_view::npos);
    }
}

}  // namespace
}  // namespace modshelf::modules
