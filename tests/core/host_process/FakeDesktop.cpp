#include "FakeDesktop.h"

#include <algorithm>

namespace modshelf::test {

host::WindowId FakeWindowSystem::add(const std::string& title, int process, int requestsUntilClose,
                                     int checksUntilGone) {
    Window window;
    window.id = 0x400000 + windows_.size() * 0x10;
    window.title = title;
    window.process = process;
    window.requestsUntilClose = requestsUntilClose;
    window.checksUntilGone = checksUntilGone;
    windows_.push_back(window);
    return window.id;
}

std::vector<host::WindowId> FakeWindowSystem::findTopLevelWindows(const std::string& title) {
    std::vector<host::WindowId> result;
    for (const Window& window : windows_)
        if (!window.gone && window.title == title) result.push_back(window.id);
    return result;
}

bool FakeWindowSystem::requestClose(host::WindowId id) {
    requests.push_back(id);
    Window* window = find(id);
    if (events) events->push_back("close " + (window ? window->title : std::string("?")));
    if (!window || window->gone) return false;
    if (window->requestsUntilClose > 0 && --window->requestsUntilClose == 0) {
        window->closing = true;
        if (window->checksUntilGone == 0) closeProcess(window->process);
    }
    return true;
}

bool FakeWindowSystem::windowExists(host::WindowId id) {
    Window* window = find(id);
    if (!window || window->gone) return false;
    if (window->closing) {
        if (window->checksUntilGone-- <= 0) {
            closeProcess(window->process);
            return false;
        }
    }
    return true;
}

int FakeWindowSystem::requestsTo(host::WindowId window) const {
    return static_cast<int>(std::count(requests.begin(), requests.end(), window));
}

bool FakeWindowSystem::isGone(host::WindowId id) const {
    for (const Window& window : windows_)
        if (window.id == id) return window.gone;
    return true;
}

FakeWindowSystem::Window* FakeWindowSystem::find(host::WindowId id) {
    for (Window& window : windows_)
        if (window.id == id) return &window;
    return nullptr;
}

void FakeWindowSystem::closeProcess(int process) {
    for (Window& window : windows_)
        if (window.process == process) window.gone = true;
}

bool FakeLauncher::startDetached(const std::string& program,
                                 const std::vector<std::string>& arguments) {
    starts.push_back({program, arguments});
    if (events) events->push_back("start " + program);
    return succeed;
}

}  // namespace modshelf::test
