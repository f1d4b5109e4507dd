#include "ViewFixture.h"

#include <sqlite3.h>

#include <QHBoxLayout>
#include <fstream>
#include <stdexcept>

#include "core/settings/RegistryAccess.h"
#include "gui/views/CDriveView.h"
#include "gui/views/CFileView.h"

namespace modshelf::test {

namespace fs = std::filesystem;

void writeModule(const fs::path& file, const std::string& description, const std::string& tabName) {
    fs::create_directories(file.parent_path());
    sqlite3* db = nullptr;
    if (sqlite3_open(file.string().c_str(), &db) != SQLITE_OK) throw std::runtime_error("open");
    sqlite3_exec(db, "CREATE TABLE Details(Description TEXT, Abbreviation TEXT, Comments TEXT);",
                 nullptr, nullptr, nullptr);
    sqlite3_stmt* insert = nullptr;
    sqlite3_prepare_v2(db, "INSERT INTO Details VALUES(?, ?, '');", -1, &insert, nullptr);
    sqlite3_bind_text(insert, 1, description.c_str(), -1, SQLITE_TRANSIENT);
    sqlite3_bind_text(insert, 2, tabName.c_str(), -1, SQLITE_TRANSIENT);
    sqlite3_step(insert);
    sqlite3_finalize(insert);
    sqlite3_close(db);
}

void writeSizedFile(const fs::path& file, std::size_t size) {
    fs::create_directories(file.parent_path());
    std::ofstream out(file, std::ios::binary);
    out << std::string(size, 'x');
}

void setModified(const fs::path& file, std::int64_t unixSeconds) {
    const std::chrono::sys_seconds when{std::chrono::seconds(unixSeconds)};
    fs::last_write_time(file, std::chrono::file_clock::from_sys(when));
}

fs::path ViewFixture::resourceFolder() const {
    return driveC() / "Program Files (x86)" / "Scrivel";
}
fs::path ViewFixture::userFilesFolder() const {
    return driveC() / "users" / "demo" / "Documents" / "Scrivel";
}

ViewFixture::ViewFixture() {
    const fs::path resources = resourceFolder();
    writeModule(resources / "kjv.bblx", "King James Version", "KJV");
    writeModule(resources / "web.bblx", "World English Bible", "WEB");
    writeModule(resources / "mhc.cmtx", "Matthew Henry's Commentary", "MHC");
    writeModule(resources / "easton.dctx", "Easton's Bible Dictionary", "Easton");
    writeModule(resources / "daily.devx", "Daily Light", "Daily");
    writeSizedFile(resources / "readme.txt", 1234);
    writeSizedFile(userFilesFolder() / "my.notx", 10);
    fs::create_directories(driveC() / "windows" / "system32");
    fs::create_directories(driveC() / "empty");

    drives.addDrive('C', driveC());
    context.document = &document;
    context.drives = &drives;

    const std::string scrivel = "Software\\VB and VBA Program Settings\\Scrivel\\Settings";
    settings::SetRegString(store, scrivel, "Resources Path", resources.string());
    settings::SetRegString(store,
                           "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders",
                           "Personal", (driveC() / "users" / "demo" / "Documents").string());
}

ViewFixture::~ViewFixture() {
    if (list) document.removeView(list);
    if (tree) document.removeView(tree);
    window.reset();
}

void ViewFixture::createViews() {
    window = std::make_unique<QWidget>();
    auto* layout = new QHBoxLayout(window.get());
    list = new gui::CFileView(context, window.get());
    document.addView(list);
    tree = new gui::CDriveView(context, window.get());
    document.addView(tree);
    layout->addWidget(tree);
    layout->addWidget(list);
    window->resize(900, 500);
}

}  // namespace modshelf::test
