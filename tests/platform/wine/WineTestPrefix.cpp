#include "WineTestPrefix.h"

#include <cstdio>
#include <cstdlib>
#include <thread>

#include "platform/linux/WineServerProbe.h"

namespace modshelf::test {

std::string shellQuoted(const std::string& text) {
    std::string out = "'";
    for (char c : text) out += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return out + "'";
}

std::unique_ptr<WineTestPrefix> WineTestPrefix::boot() {
    if (std::system("{ command -v wine && command -v wineboot && command -v wineserver; } "
                    ">/dev/null 2>&1") != 0)
        return nullptr;
    auto prefix = std::make_unique<WineTestPrefix>();
    prefix->run("wineboot -i");
    prefix->run("wineserver -w");
    return prefix;
}

std::string WineTestPrefix::environment() const {
    return "WINEPREFIX=" + shellQuoted(dir_.path().string()) +
           " WINEDEBUG=-all WINEDLLOVERRIDES='mscoree,mshtml,winemenubuilder.exe=d' ";
}

int WineTestPrefix::run(const std::string& command) const {
    return std::system((environment() + command + " >/dev/null 2>&1").c_str());
}

std::string WineTestPrefix::output(const std::string& command) const {
    std::string text;
    std::unique_ptr<FILE, int (*)(FILE*)> pipe(
        popen((environment() + command + " 2>/dev/null").c_str(), "r"), pclose);
    if (!pipe) return text;
    char buffer[4096];
    while (std::size_t got = std::fread(buffer, 1, sizeof buffer, pipe.get()))
        text.append(buffer, got);
    return text;
}

void WineTestPrefix::stopServer() const {
    run("wineserver -k");
    run("wineserver -w");
}

bool WineTestPrefix::waitForServer(bool running, std::chrono::milliseconds limit) const {
    const auto end = std::chrono::steady_clock::now() + limit;
    while (std::chrono::steady_clock::now() < end) {
        if (platform::systemWineServerProbe()->probe(path()).running == running) return true;
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
    return false;
}

}  // namespace modshelf::test
