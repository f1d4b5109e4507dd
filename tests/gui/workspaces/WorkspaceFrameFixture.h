#pragma once

#include <gtest/gtest.h>

#include <QPoint>
#include <filesystem>
#include <memory>
#include <string>

#include "core/app/AppState.h"
#include "core/host/DriveMap.h"
#include "core/settings/MemorySettingsStore.h"
#include "core/settings/RegistryAccess.h"
#include "gui/CMainFrame.h"
#include "gui/CModshelfDoc.h"
#include "gui/GuiContext.h"
#include "support/ScriptedPrompter.h"
#include "support/TempDir.h"

namespace modshelf::gui {
class CFileView;
class CDriveView;
}  // namespace modshelf::gui

namespace modshelf::gui::testing {

// The program's main frame with its real views over a small resource folder
// on drive C:, a settings store in memory and scripted answers.
//
// The resource folder holds kjv.bblx (KJV), web.bblx (WEB), notab.bblx (no
// tab name), mhc.cmtx (MHC), easton.dctx (Easton), longname.bblx (a tab name
// of 31 characters), daily.devx (Daily, never activated) and readme.txt.
class WorkspaceFrameFixture : public ::testing::Test {
protected:
    WorkspaceFrameFixture();
    ~WorkspaceFrameFixture() override;

    void SetUp() override;
    void TearDown() override;

    // Builds the frame; SetUp does it unless buildFrameInSetUp is false.
    void buildFrame();
    bool buildFrameInSetUp = true;

    // Selects a tree node as the user would, which fills the list.
    void selectWorkspace(int slot);  // 0..14 numbered, app::kSlotAll, app::kSlotCurrent
    void selectResourceFolder();

    // The list's row of a file, or -1.
    int rowOf(const std::string& fileName) const;
    bool isChecked(const std::string& fileName) const;
    // A mouse click on the check box of a file's row, as the user makes it.
    void clickCheckBox(const std::string& fileName);

    // A flag under a key below HKEY_CURRENT_USER; "<none>" when the value is not there.
    std::string flag(const std::string& key, const std::string& name);
    static std::string workspaceKey(int number, const std::string& category);
    static std::string scrivelKey(const std::string& category);

    std::filesystem::path resourceFolder() const;

    static constexpr const char* kLongTab = "AVeryLongTabNameOfThirtyOneChar";

    modshelf::test::TempDir temp;
    settings::MemorySettingsStore store;
    modshelf::test::ScriptedPrompter prompter;
    app::AppState state;
    host::DriveMap drives;
    CModshelfDoc document;
    GuiContext context{store, prompter, state, nullptr, &document, nullptr, &drives};
    std::unique_ptr<CMainFrame> frame;
    CFileView* list = nullptr;
    CDriveView* tree = nullptr;
    std::vector<std::string> saveFailures;
};

}  // namespace modshelf::gui::testing
