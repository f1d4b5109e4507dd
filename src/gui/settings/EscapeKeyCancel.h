#pragma once

#include <QObject>

#include "core/settings/RegistryXmlExport.h"

namespace modshelf::gui {

// Lets a long export be cancelled with the Escape key. While watching, the
// program's keyboard and mouse input is held back from the windows (so that
// no other command can start half-way), and each check lets the pending
// events through and reports whether Escape went down meanwhile.
class EscapeKeyCancel : public QObject, public settings::ExportCancelCheck {
public:
    EscapeKeyCancel() = default;
    ~EscapeKeyCancel() override { setWatching(false); }

    // Watching starts afresh: an earlier Escape no longer counts.
    void setWatching(bool watching);
    bool cancelRequested() override;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    bool watching_ = false;
    bool escapePressed_ = false;
};

}  // namespace modshelf::gui
