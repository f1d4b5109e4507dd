// modshelf-demo-prefix: writes a demo Wine prefix with Scrivel's folders,
// settings and sample modules, for trying Modshelf out and for tests.

#include <pwd.h>
#include <unistd.h>

#include <charconv>
#include <cstdlib>
#include <filesystem>
#include <iostream>
#include <string>
#include <string_view>

#include "DemoPrefix.h"

namespace {

constexpr const char* kUsage =
    "Usage: modshelf-demo-prefix [--modules N] [--sim PATH] [--user NAME] [--force] PREFIX\n"
    "\n"
    "Writes a demo Wine prefix for Modshelf into the folder PREFIX.\n"
    "\n"
    "  --modules N   number of ordinary sample modules (default 60; 10000 for benchmarks)\n"
    "  --sim PATH    the stand-in host that Scrivel.exe starts\n"
    "  --user NAME   the Windows user name (default: your login name)\n"
    "  --force       write even when PREFIX already holds a prefix; files of the same\n"
    "                names are replaced, other files are left alone\n";

std::string loginName() {
    if (const char* user = std::getenv("USER"); user && *user) return user;
    if (const passwd* entry = getpwuid(getuid()); entry && entry->pw_name) return entry->pw_name;
    return "demo";
}

int usageError(const std::string& message) {
    std::cerr << "modshelf-demo-prefix: " << message << "\n\n" << kUsage;
    return 2;
}

}  // namespace

int main(int argc, char** argv) {
    modshelf::demo::DemoPrefixOptions options;
    options.userName = loginName();
    std::filesystem::path prefix;

    for (int i = 1; i < argc; ++i) {
        const std::string_view arg = argv[i];
        auto needValue = [&]() -> const char* { return i + 1 < argc ? argv[++i] : nullptr; };
        if (arg == "--help" || arg == "-h") {
            std::cout << kUsage;
            return 0;
        } else if (arg == "--modules") {
            const char* value = needValue();
            if (!value) return usageError("--modules needs a number");
            const std::string_view text = value;
            int count = 0;
            auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), count);
            if (error != std::errc() || end != text.data() + text.size() || count < 0) {
                return usageError("--modules needs a number of 0 or more, not \"" +
                                  std::string(text) + "\"");
            }
            options.moduleCount = count;
        } else if (arg == "--sim") {
            const char* value = needValue();
            if (!value) return usageError("--sim needs a path");
            options.simulator = std::filesystem::absolute(value);
        } else if (arg == "--user") {
            const char* value = needValue();
            if (!value) return usageError("--user needs a name");
            options.userName = value;
        } else if (arg == "--force") {
            options.overwrite = true;
        } else if (arg.starts_with("-") && arg.size() > 1) {
            return usageError("unknown option " + std::string(arg));
        } else if (prefix.empty()) {
            prefix = arg;
        } else {
            return usageError("only one PREFIX folder can be given");
        }
    }
    if (prefix.empty()) return usageError("no PREFIX folder given");

    try {
        const auto contents = modshelf::demo::writeDemoPrefix(prefix, options);
        std::cout << "Wrote a demo prefix with " << contents.resourceFiles.size()
                  << " files in the resource folder to " << prefix.string() << "\n";
        if (options.simulator.empty()) {
            std::cout << "No stand-in host given (--sim): Scrivel.exe will report it missing.\n";
        } else if (!std::filesystem::exists(options.simulator)) {
            std::cout << "Note: the stand-in host " << options.simulator.string()
                      << " does not exist yet.\n";
        }
    } catch (const std::exception& error) {
        std::cerr << "modshelf-demo-prefix: " << error.what() << "\n";
        return 1;
    }
    return 0;
}
