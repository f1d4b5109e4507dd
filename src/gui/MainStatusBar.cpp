#include "gui/MainStatusBar.h"

#include <QFontMetrics>
#include <QLabel>
#include <QProgressBar>
#include <QToolButton>

#include "core/app/FrameTexts.h"
#include "core/modules/ListFormat.h"

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

void MainStatusBar::showScanProgress(std::size_t done, std::size_t total) {
    // Made at the first long scan, so that the bar's layout is the plain one
    // until then.
    if (!progress_) {
        progress_ = new QProgressBar(this);
        progress_->setObjectName(QStringLiteral("scanProgress"));
        progress_->setMaximumWidth(280);
        progress_->setTextVisible(true);
        cancel_ = new QToolButton(this);
        cancel_->setObjectName(QStringLiteral("scanCancel"));
        cancel_->setText(tr("Cancel"));
        cancel_->setToolTip(tr("Stop reading the modules of this folder (Esc)"));
        connect(cancel_, &QToolButton::clicked, this, &MainStatusBar::cancelScanRequested);
        addWidget(progress_);
        addWidget(cancel_);
    }
    // The bar counts in thousandths, so any number of modules fits its range.
    progress_->setRange(0, 1000);
    progress_->setValue(total ? static_cast<int>(done * 1000 / total) : 0);
    progress_->setFormat(tr("Reading modules: %1 of %2")
                             .arg(QString::fromStdString(modules::FormatThousands(done)),
                                  QString::fromStdString(modules::FormatThousands(total))));
    progress_->show();
    cancel_->show();
}

void MainStatusBar::hideScanProgress() {
    if (!progress_) return;
    progress_->hide();
    cancel_->hide();
}

bool MainStatusBar::scanProgressShown() const {
    return progress_ && !progress_->isHidden();
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
