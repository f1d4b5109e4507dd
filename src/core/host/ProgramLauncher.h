#pragma once

#include <string>
#include <vector>

namespace modshelf::host {

// Starts other programs the way the desktop shell "opens" an executable.
class ProgramLauncher {
public:
    virtual ~ProgramLauncher() = default;

    // Starts `program` with `arguments`, detached: it outlives this program,
    // has no terminal, and is never waited for. A Windows executable runs
    // through Wine in the prefix this program works on; any other executable
    // file runs directly. Returns whether the program was started; the caller
    // decides whether a failure is worth telling.
    virtual bool startDetached(const std::string& program,
                               const std::vector<std::string>& arguments) = 0;
};

}  // namespace modshelf::host
