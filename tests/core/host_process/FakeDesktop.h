#pragma once

#include <string>
#include <vector>

#include "core/host/ProgramLauncher.h"
#include "core/host/WindowSystem.h"

namespace modshelf::test {

// A desktop of scripted windows. A window closes after a given number of
// close requests and then stays visible for a given number of existence
// checks, as a real program takes a moment to go. Windows of one process go
// together.
class FakeWindowSystem : public host::WindowSystem {
public:
    struct Window {
        host::WindowId id = 0;
        std::string title;
        int process = 0;
        int requestsUntilClose = 1;  // -1: refuses every request
        int checksUntilGone = 0;
        bool closing = false;
        bool gone = false;
    };

    // Adds a window; returns its id.
    host::WindowId add(const std::string& title, int process, int requestsUntilClose = 1,
                       int checksUntilGone = 0);

    std::vector<host::WindowId> findTopLevelWindows(const std::string& title) override;
    bool requestClose(host::WindowId window) override;
    bool windowExists(host::WindowId window) override;

    int requestsTo(host::WindowId window) const;
    bool isGone(host::WindowId window) const;

    std::vector<host::WindowId> requests;        // every close request, in order
    std::vector<std::string>* events = nullptr;  // shared log of what happened, if set

private:
    Window* find(host::WindowId id);
    void closeProcess(int process);

    std::vector<Window> windows_;
};

class FakeLauncher : public host::ProgramLauncher {
public:
    bool startDetached(const std::string& program,
                       const std::vector<std::string>& arguments) override;

    struct Start {
        std::string program;
        std::vector<std::string> arguments;
    };
    std::vector<Start> starts;
    bool succeed = true;
    std::vector<std::string>* events = nullptr;
};

}  // namespace modshelf::test
