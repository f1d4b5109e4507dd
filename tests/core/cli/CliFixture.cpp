#include "CliFixture.h"

#include <sqlite3.h>

#include "core/app/AppState.h"
#include "core/app/CommandLine.h"
#include "core/settings/RegistryAccess.h"
#include "core/workspaces/WorkspaceStore.h"

namespace modshelf::test {

namespace {

std::string categoryKey(int workspace, const std::string& category) {
    const int slot = workspace == 0 ? app::kSlotCurrent : workspace - 1;
    const std::string base = workspace == 0
                                 ? "Software\\VB and VBA Program Settings\\Scrivel\\Resource"
                                 : workspaces::workspaceKeyPath(slot);
    return base + "\\" + category;
}

}  // namespace

CliFixture::CliFixture() {
    resources = drive.path() / "Scrivel";
    std::filesystem::create_directories(resources);
    drives.addDrive('C', drive.path());
    settings::SetRegString(store, "Software\\VB and VBA Program Settings\\Scrivel\\Settings",
                           "Resources Path", "C:\\Scrivel\\");
}

void CliFixture::addModule(const std::string& fileName, const std::string& tabName,
                           const std::string& description) {
    sqlite3* db = nullptr;
    ASSERT_EQ(sqlite3_open((resources / fileName).c_str(), &db), SQLITE_OK);
    const std::string sql =
        "CREATE TABLE Details(Description TEXT, Abbreviation TEXT, Comments TEXT);"
        "INSERT INTO Details VALUES('" +
        description + "', '" + tabName + "', '');";
    EXPECT_EQ(sqlite3_exec(db, sql.c_str(), nullptr, nullptr, nullptr), SQLITE_OK);
    sqlite3_close(db);
}

void CliFixture::setFlag(int workspace, const std::string& category, const std::string& tabName,
                         const std::string& text) {
    settings::SetRegString(store, categoryKey(workspace, category), tabName, text);
}

std::string CliFixture::flag(int workspace, const std::string& category,
                             const std::string& tabName) {
    settings::RegValue value;
    if (store.queryValue(settings::RegRoot::CurrentUser, categoryKey(workspace, category), tabName,
                         value) != settings::kSuccess)
        return "(none)";
    return value.text();
}

int CliFixture::run(const std::vector<std::string>& args) {
    out.str("");
    err.str("");
    app::CliEnvironment env{store,
                            drives,
                            out,
                            err,
                            [this] { return hostRunning; },
                            [this] {
                                ++closeRequests;
                                if (hostCloses) hostRunning = false;
                                return !hostRunning;
                            }};
    return app::runCliCommand(app::parseCommandLine(args), env);
}

}  // namespace modshelf::test
