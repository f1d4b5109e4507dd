#pragma once

#include <QStatusBar>

class QLabel;

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

private:
    QLabel* idle_ = nullptr;
    QLabel* counts_ = nullptr;
};

}  // namespace modshelf::gui
