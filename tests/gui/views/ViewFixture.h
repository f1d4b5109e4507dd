#pragma once

#include <QWidget>
#include <cstdint>
#include <filesystem>
#include <memory>
#include <string>

#include "core/app/AppState.h"
#include "core/host/DriveMap.h"
#include "core/settings/MemorySettingsStore.h"
#include "gui/CModshelfDoc.h"
#include "gui/GuiContext.h"
#include "support/ScriptedPrompter.h"
#include "support/TempDir.h"

namespace modshelf::gui {
class CFileView;
class CDriveView;
}  // namespace modshelf::gui

namespace modshelf::test {

// Writes a small module: a SQLite file with a one-row Details table.
void writeModule(const std::filesystem::path& file, const std::string& description,
                 const std::string& tabName);
// Writes any file with the given size and modification time (Unix seconds).
void writeSizedFile(const std::filesystem::path& file, std::size_t size);
void setModified(const std::filesystem::path& file, std::int64_t unixSeconds);

// A small prefix with Scrivel's two folders on drive C:, a memory settings
// store that points at them, and the program state, document and context the
// views share. The views are built on demand inside one top-level window, as
// in the main frame: the list first, then the tree.
class ViewFixture {
public:
    ViewFixture();
    ~ViewFixture();

    std::filesystem::path driveC() const { return temp_.path() / "drive_c"; }
    std::filesystem::path resourceFolder() const;
    std::filesystem::path userFilesFolder() const;

    // Creates the list and the tree.
    void createViews();

    settings::MemorySettingsStore store;
    ScriptedPrompter prompter;
    app::AppState state;
    host::DriveMap drives;
    gui::CModshelfDoc document;
    gui::GuiContext context{store, prompter, state};
    std::unique_ptr<QWidget> window;
    gui::CFileView* list = nullptr;
    gui::CDriveView* tree = nullptr;

private:
    TempDir temp_;
};

}  // namespace modshelf::test
