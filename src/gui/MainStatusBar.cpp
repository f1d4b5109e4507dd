#include "gui/MainStatusBar.h"

#include <QFontMetrics>
#include <QLabel>

#include "core/app/FrameTexts.h"

namespace modshelf::gui {

MainStatusBar::MainStatusBar(QWidget* parent) : QStatusBar(parent) {
    setObjectName(QStringLiteral("mainStatusBar"));
    idle_ = new QLabel(QString::fromLatin1(app::kIdleMessage), this);
    addWidget(idle_, 1);
    counts_ = new QLabel(this);
    counts_->setObjectName(QStringLiteral("statusPane106"));
    counts_->setFrameShape(QFrame::StyledPanel);
    counts_->setFrameShadow(QFrame::Sunken);
    // Wide enough for the sizing text; wider counts widen it.
    const int margin = 2 * counts_->frameWidth() + 8;
    counts_->setMinimumWidth(
        counts_->fontMetrics().horizontalAdvance(QString::fromLatin1(app::kStatusPaneSizingText)) +
        margin);
    addPermanentWidget(counts_);
}

void MainStatusBar::setCountsText(const QString& text) {
    if (counts_->text() != text) counts_->setText(text);
}

void MainStatusBar::setCountsEnabled(bool enabled) {
    counts_->setEnabled(enabled);
}
QString MainStatusBar::countsText() const {
    return counts_->text();
}
bool MainStatusBar::countsEnabled() const {
    return counts_->isEnabled();
}
QString MainStatusBar::idleText() const {
    return idle_->text();
}

}  // namespace modshelf::gui
