#pragma once

#include <QStatusBar>

class QLabel;
class QProgressBar;
class QToolButton;

namespace modshelf::gui {

// The status bar: a stretching message pane that shows the idle message, or a
// command's prompt while its item is hovered, and pane 106 with the counts.
class MainStatusBar : public QStatusBar {
    Q_OBJECT
public:
    explicit MainStatusBar(QWidget* parent = nullptr);

    void setCountsText(const QString& text);
    void setCountsEnabled(bool enabled);
    QString countsText() const;
    bool countsEnabled() const;
    QString idleText() const;

    // A long scan's progress with its Cancel button; hidden otherwise.
    void showScanProgress(std::size_t done, std::size_t total);
    void hideScanProgress();
    bool scanProgressShown() const;
    QProgressBar* scanProgressBar() const { return progress_; }
    QToolButton* scanCancelButton() const { return cancel_; }

signals:
    void cancelScanRequested();

private:
    QLabel* idle_ = nullptr;
    QLabel* counts_ = nullptr;
    QProgressBar* progress_ = nullptr;
    QToolButton* cancel_ = nullptr;
};

}  // namespace modshelf::gui
