#pragma once

#include "core/dialogs/Prompter.h"

namespace modshelf::gui {

// The wait cursor of one long command, taken down before any box is shown so
// that no question or notice ever appears under it.
class BusyPrompter : public dialogs::Prompter {
public:
    // busyNow: show the wait cursor at once; otherwise from begin() on.
    BusyPrompter(dialogs::Prompter& inner, bool busyNow);
    ~BusyPrompter() override;
    BusyPrompter(const BusyPrompter&) = delete;
    BusyPrompter& operator=(const BusyPrompter&) = delete;

    void begin();
    void end();

    int messageBox(const std::string& text, const std::string& caption, std::uint32_t style,
                   const dialogs::MessageBoxParams& params) override;
    void plainMessage(const std::string& text, const std::string& caption) override;
    void beep() override { inner_.beep(); }

private:
    dialogs::Prompter& inner_;
    bool busy_ = false;
};

}  // namespace modshelf::gui
