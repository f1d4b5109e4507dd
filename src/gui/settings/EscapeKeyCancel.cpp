#include "gui/settings/EscapeKeyCancel.h"

#include <QCoreApplication>
#include <QKeyEvent>

namespace modshelf::gui {

void EscapeKeyCancel::setWatching(bool watching) {
    if (watching == watching_) return;
    watching_ = watching;
    escapePressed_ = false;
    if (QCoreApplication* application = QCoreApplication::instance()) {
        if (watching)
            application->installEventFilter(this);
        else
            application->removeEventFilter(this);
    }
}

bool EscapeKeyCancel::cancelRequested() {
    if (!watching_) return false;
    QCoreApplication::processEvents();
    return escapePressed_;
}

bool EscapeKeyCancel::eventFilter(QObject* watched, QEvent* event) {
    switch (event->type()) {
        case QEvent::KeyPress:
            if (static_cast<QKeyEvent*>(event)->key() == Qt::Key_Escape) escapePressed_ = true;
            return true;
        case QEvent::KeyRelease:
        case QEvent::ShortcutOverride:
        case QEvent::Shortcut:
        case QEvent::MouseButtonPress:
        case QEvent::MouseButtonRelease:
        case QEvent::MouseButtonDblClick:
        case QEvent::Wheel:
            return true;
        default:
            return QObject::eventFilter(watched, event);
    }
}

}  // namespace modshelf::gui
