#pragma once

#include <gtest/gtest.h>

#include <memory>

#include "FakeViews.h"
#include "core/app/AppState.h"
#include "core/settings/MemorySettingsStore.h"
#include "gui/CMainFrame.h"
#include "gui/CModshelfDoc.h"
#include "gui/GuiContext.h"
#include "support/ScriptedPrompter.h"

namespace modshelf::gui::testing {

// A frame over two fake panes, a store in memory and scripted answers.
class FrameFixture : public ::testing::Test {
protected:
    std::unique_ptr<CMainFrame> makeFrame(bool withList = true,
                                          CommandTarget* application = nullptr) {
        list = nullptr;
        tree = nullptr;
        FrameViews views;
        if (withList)
            views.createList = [this](GuiContext&, QWidget* parent) {
                return list = new FakeView("list", parent);
            };
        views.createTree = [this](GuiContext&, QWidget* parent) {
            return tree = new FakeView("tree", parent);
        };
        return std::make_unique<CMainFrame>(context, views, application, programPath);
    }

    settings::MemorySettingsStore store;
    modshelf::test::ScriptedPrompter prompter;
    app::AppState state;
    CModshelfDoc document;
    GuiContext context{store, prompter, state, nullptr, &document};
    std::string programPath = "/nonexistent/modshelf-tests/modshelf";
    FakeView* list = nullptr;
    FakeView* tree = nullptr;
};

}  // namespace modshelf::gui::testing
