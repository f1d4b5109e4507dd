#include "platform/linux/SettingsStoreFactory.h"

#include <pwd.h>
#include <unistd.h>

#include <cstdlib>

#include "platform/linux/AtomicFile.h"
#include "platform/linux/WinePrefixLocation.h"
#include "platform/linux/WinePrefixSettingsStore.h"
#include "platform/linux/WineRegistryHelper.h"
#include "platform/linux/WineRegistryTool.h"

namespace modshelf::platform {

namespace {

// Present once the user has been told where the settings are kept.
constexpr const char* kNoticeMarker = "settings-location-notice-shown";

std::filesystem::path homeFolder() {
    if (const char* home = std::getenv("HOME"); home && *home) return home;
    if (const passwd* pw = getpwuid(getuid()); pw && pw->pw_dir) return pw->pw_dir;
    return "/";
}

std::string privateFolderNotice(const std::filesystem::path& prefix,
                                const std::filesystem::path& folder) {
    return "No Wine prefix was found at \"" + prefix.string() + "\", so Modshelf keeps its " +
           "settings and workspaces in its own folder, \"" + folder.string() + "\".\n\n" +
           "Scrivel does not see these settings: activating a workspace reaches Scrivel only " +
           "when Modshelf works on the Wine prefix where Scrivel is installed. To use another " +
           "prefix, start Modshelf with WINEPREFIX set to that prefix's folder.";
}

std::string relativePrefixNotice(const std::filesystem::path& prefix,
                                 const std::filesystem::path& folder) {
    return "WINEPREFIX is set to \"" + prefix.string() + "\", which is not an absolute path. " +
           "Wine refuses such a prefix, so Modshelf does not use it either and keeps its " +
           "settings and workspaces in its own folder, \"" + folder.string() + "\".\n\n" +
           "Start Modshelf with WINEPREFIX set to the full path of the prefix where Scrivel " +
           "is installed (for example \"/home/you/.wine\").";
}

}  // namespace

std::filesystem::path privateSettingsFolder() {
    if (const char* data = std::getenv("XDG_DATA_HOME"); data && *data && data[0] == '/')
        return std::filesystem::path(data) / "modshelf";
    return homeFolder() / ".local" / "share" / "modshelf";
}

OpenedSettingsStore openSettingsStore(const std::filesystem::path& prefix,
                                      const std::filesystem::path& privateFolder,
                                      std::shared_ptr<WineServerProbe> serverProbe) {
    OpenedSettingsStore opened;
    std::error_code ec;
    if (std::filesystem::is_directory(prefix, ec) &&
        std::filesystem::is_regular_file(prefix / "user.reg", ec)) {
        WinePrefixSettingsStore::Options options;
        // Without a probe nothing tells when Wine holds the registry, so the
        // server is only reached when one is there to be found.
        if (serverProbe) options.liveRegistry = liveRegistryFor(prefix);
        options.serverProbe = std::move(serverProbe);
        opened.store = std::make_unique<WinePrefixSettingsStore>(prefix, options);
        opened.path = prefix;
        opened.inWinePrefix = true;
        return opened;
    }

    std::filesystem::create_directories(privateFolder, ec);
    std::filesystem::permissions(privateFolder, std::filesystem::perms::owner_all,
                                 std::filesystem::perm_options::replace, ec);
    WinePrefixSettingsStore::Options options;
    options.createMissingFiles = true;
    opened.store = std::make_unique<WinePrefixSettingsStore>(privateFolder, options);
    opened.path = privateFolder;

    const std::filesystem::path marker = privateFolder / kNoticeMarker;
    if (!std::filesystem::exists(marker, ec)) {
        opened.noticeText = privateFolderNotice(prefix, privateFolder);
        std::string error;
        writeFileAtomically(marker, "", error);  // if this fails, the notice comes again
    }
    return opened;
}

OpenedSettingsStore openSettingsStore() {
    const std::filesystem::path prefix = winePrefixPath();
    if (!prefix.is_absolute()) {
        // Wine itself refuses a relative prefix, so Scrivel cannot be using it.
        OpenedSettingsStore opened = openSettingsStore({}, privateSettingsFolder(), nullptr);
        opened.noticeText = relativePrefixNotice(prefix, opened.path);
        return opened;
    }
    return openSettingsStore(prefix, privateSettingsFolder(), systemWineServerProbe());
}

}  // namespace modshelf::platform
