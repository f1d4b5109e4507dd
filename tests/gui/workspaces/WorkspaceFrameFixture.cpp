#include "WorkspaceFrameFixture.h"

#include "CheckBoxClick.h"
#include "DemoModules.h"
#include "core/settings/RegistryAccess.h"
#include "gui/FrameViews.h"
#include "gui/views/CDriveView.h"
#include "gui/views/CFileView.h"
#include "gui/views/ModuleListModel.h"

namespace modshelf::gui::testing {

namespace fs = std::filesystem;

namespace {

demo::DemoFile moduleFile(const std::string& name, const std::string& tab) {
    demo::DemoFile file;
    file.relativePath = name;
    file.extension = name.substr(name.size() - 5);
    file.description = "About " + name;
    file.tabName = tab;
    file.comments = "";
    file.modified = 1420106400;
    return file;
}

}  // namespace

WorkspaceFrameFixture::WorkspaceFrameFixture() = default;
WorkspaceFrameFixture::~WorkspaceFrameFixture() = default;

fs::path WorkspaceFrameFixture::resourceFolder() const {
    return temp.path() / "drive_c" / "Program Files (x86)" / "Scrivel";
}

void WorkspaceFrameFixture::SetUp() {
    const fs::path resources = resourceFolder();
    fs::create_directories(resources);
    for (const auto& [name, tab] :
         std::vector<std::pair<std::string, std::string>>{{"kjv.bblx", "KJV"},
                                                          {"web.bblx", "WEB"},
                                                          {"notab.bblx", ""},
                                                          {"mhc.cmtx", "MHC"},
                                                          {"easton.dctx", "Easton"},
                                                          {"longname.bblx", kLongTab},
                                                          {"daily.devx", "Daily"}})
        demo::writeDemoFile(resources, moduleFile(name, tab));
    demo::DemoFile readme;
    readme.relativePath = "readme.txt";
    readme.form = demo::FileForm::Text;
    readme.text = "Read me.";
    demo::writeDemoFile(resources, readme);
    const fs::path documents = temp.path() / "drive_c" / "users" / "demo" / "Documents";
    fs::create_directories(documents / "Scrivel");

    drives.addDrive('C', temp.path() / "drive_c");
    settings::SetRegString(store, "Software\\VB and VBA Program Settings\\Scrivel\\Settings",
                           "Resources Path", resources.string());
    settings::SetRegString(store,
                           "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders",
                           "Personal", documents.string());
    store.setSaveFailureListener(
        [this](const std::string& message) { saveFailures.push_back(message); });

    if (buildFrameInSetUp) buildFrame();
}

void WorkspaceFrameFixture::buildFrame() {
    frame = std::make_unique<CMainFrame>(context, programViews(), nullptr,
                                         "/nonexistent/modshelf-tests/modshelf");
    list = dynamic_cast<CFileView*>(frame->listView());
    tree = dynamic_cast<CDriveView*>(frame->treeView());
    ASSERT_NE(list, nullptr);
    ASSERT_NE(tree, nullptr);
    frame->resize(1000, 600);
    frame->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(frame.get()));
}

void WorkspaceFrameFixture::TearDown() {
    frame.reset();
    EXPECT_TRUE(prompter.allAnswersUsed()) << "an expected message box was not shown";
}

void WorkspaceFrameFixture::selectWorkspace(int slot) {
    QTreeWidgetItem* item = tree->workspaceItem(slot);
    ASSERT_NE(item, nullptr);
    tree->setCurrentItem(item);
}

void WorkspaceFrameFixture::selectResourceFolder() {
    QTreeWidgetItem* item = tree->findTopLevel("Scrivel Resource Folder");
    ASSERT_NE(item, nullptr);
    tree->setCurrentItem(item);
}

int WorkspaceFrameFixture::rowOf(const std::string& fileName) const {
    const auto& rows = list->model().rows();
    for (std::size_t i = 0; i < rows.size(); ++i)
        if (rows[i].record.fileName == fileName) return static_cast<int>(i);
    return -1;
}

bool WorkspaceFrameFixture::isChecked(const std::string& fileName) const {
    const int row = rowOf(fileName);
    return row >= 0 && list->model().row(row).checked;
}

void WorkspaceFrameFixture::clickCheckBox(const std::string& fileName) {
    const int row = rowOf(fileName);
    ASSERT_GE(row, 0) << fileName << " is not listed";
    testing::clickCheckBox(*list, row);
}

std::string WorkspaceFrameFixture::flag(const std::string& key, const std::string& name) {
    settings::RegValue value;
    if (store.queryValue(settings::RegRoot::CurrentUser, key, name, value) != settings::kSuccess)
        return "<none>";
    return value.text();
}

std::string WorkspaceFrameFixture::workspaceKey(int number, const std::string& category) {
    return "Software\\Quorvel\\Modshelf\\Workspace" + std::to_string(number) + "\\" + category;
}

std::string WorkspaceFrameFixture::scrivelKey(const std::string& category) {
    return "Software\\VB and VBA Program Settings\\Scrivel\\Resource\\" + category;
}

}  // namespace modshelf::gui::testing
