#pragma once

#include <QObject>
#include <string>
#include <vector>

namespace modshelf::settings {
class SettingsStore;
}
namespace modshelf::dialogs {
class Prompter;
}

namespace modshelf::gui {

// Tells the user when the settings store could not save. The store reports a
// failure from inside the call that saved, in the middle of some operation; a
// box there would run a modal loop inside that call. So the notice waits until
// control is back in the event loop, and the same failure reported several
// times before then is shown once. After the event loop has ended the program
// calls showPending() itself, so that a failure at exit is seen too.
class SaveFailureNotices : public QObject {
public:
    SaveFailureNotices(settings::SettingsStore& store, dialogs::Prompter& prompter);
    ~SaveFailureNotices() override;
    SaveFailureNotices(const SaveFailureNotices&) = delete;
    SaveFailureNotices& operator=(const SaveFailureNotices&) = delete;

    // Shows every notice that is waiting, oldest first.
    void showPending();
    const std::vector<std::string>& pending() const { return pending_; }

    static std::string noticeText(const std::string& reason);
    static constexpr const char* kCaption = " Settings Not Saved";

private:
    void queue(const std::string& reason);

    settings::SettingsStore& store_;
    dialogs::Prompter& prompter_;
    std::vector<std::string> pending_;
    bool scheduled_ = false;
    bool showing_ = false;
};

}  // namespace modshelf::gui
