#pragma once

#include <sys/types.h>

#include <string>

namespace modshelf::test {

// An Xvfb of this test program's own, so that windows of other tests running
// at the same time cannot be mistaken for ours (or ours for theirs).
class PrivateDisplay {
public:
    // Starts Xvfb on a free display number; name() is empty when it could not.
    PrivateDisplay();
    ~PrivateDisplay();
    PrivateDisplay(const PrivateDisplay&) = delete;
    PrivateDisplay& operator=(const PrivateDisplay&) = delete;

    const std::string& name() const { return name_; }

private:
    pid_t pid_ = -1;
    std::string name_;
};

}  // namespace modshelf::test
