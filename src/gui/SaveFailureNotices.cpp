#include "gui/SaveFailureNotices.h"

#include <QTimer>
#include <algorithm>

#include "core/dialogs/MessageBoxParams.h"
#include "core/dialogs/Prompter.h"
#include "core/settings/SettingsStore.h"

namespace modshelf::gui {

SaveFailureNotices::SaveFailureNotices(settings::SettingsStore& store, dialogs::Prompter& prompter)
    : store_(store), prompter_(prompter) {
    store_.setSaveFailureListener([this](const std::string& reason) { queue(reason); });
}

SaveFailureNotices::~SaveFailureNotices() {
    store_.setSaveFailureListener(nullptr);
}

std::string SaveFailureNotices::noticeText(const std::string& reason) {
    return "Modshelf could not save a setting.\n\n" + reason;
}

void SaveFailureNotices::queue(const std::string& reason) {
    if (std::find(pending_.begin(), pending_.end(), reason) == pending_.end())
        pending_.push_back(reason);
    if (scheduled_) return;
    scheduled_ = true;
    QTimer::singleShot(0, this, [this] {
        scheduled_ = false;
        showPending();
    });
}

void SaveFailureNotices::showPending() {
    // A notice's own loop may deliver the timer of a later failure.
    if (showing_) return;
    showing_ = true;
    while (!pending_.empty()) {
        const std::string reason = pending_.front();
        pending_.erase(pending_.begin());
        prompter_.messageBox(noticeText(reason), kCaption,
                             dialogs::mb::kOk | dialogs::mb::kIconExclamation,
                             dialogs::standardParams(true));
    }
    showing_ = false;
}

}  // namespace modshelf::gui
