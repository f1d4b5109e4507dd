#pragma once

#include <QDialog>
#include <QIcon>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "core/dialogs/Countdown.h"
#include "core/dialogs/MessageBoxLayout.h"
#include "core/dialogs/MessageBoxModel.h"

class QCheckBox;
class QLabel;
class QPushButton;
class QTimer;

namespace modshelf::settings {
class SettingsStore;
}

namespace modshelf::gui {

// The program's message box: coloured text on a coloured band, its own icon,
// right-aligned or centred buttons, a countdown that presses the default
// button, and Ctrl+C to copy the whole box.
class XMessageBox : public QDialog {
    Q_OBJECT

public:
    explicit XMessageBox(const dialogs::MessageBoxModel& model, QWidget* owner = nullptr);
    ~XMessageBox() override;

    using QDialog::show;

    // Shows a box modally and returns the identifier of the button that closed
    // it (see dialogs::id); -1 when the application quit while it was shown.
    // A null caption (std::nullopt) shows "Error"; a null params means defaults.
    static int show(QWidget* owner, const std::string& text,
                    const std::optional<std::string>& caption, std::uint32_t style,
                    const dialogs::MessageBoxParams* params);

    // Where remembered answers ("Don't ask me again") are kept; none by default.
    static void setAnswerStore(settings::SettingsStore* store);
    // Opens help for the Help button (helpId 0: the contents).
    static void setHelpHandler(std::function<void(std::uint32_t helpId)> handler);

    // The length of one second of the countdown and of the disabled period
    // (a running timer starts again with it).
    void setSecondLength(int milliseconds);

    // --- What the box shows ---
    const dialogs::MessageBoxModel& model() const { return model_; }
    const dialogs::MessageBoxLayout& boxLayout() const { return layout_; }
    QPushButton* buttonById(int id) const;
    QPushButton* defaultPushButton() const;
    const std::vector<QPushButton*>& pushButtons() const { return buttons_; }
    QCheckBox* checkBox() const { return checkBox_; }
    QLabel* messageLabel() const { return message_; }
    QLabel* iconLabel() const { return icon_; }
    // The colour that paints the band behind the message; invalid without band.
    QColor bandColour() const;
    QColor messageTextColour() const;
    bool countdownRunning() const { return countdown_.running(); }
    bool buttonsDisabled() const { return disabled_.active(); }
    // The answer once the box has ended; nullopt while it runs.
    std::optional<int> answer() const { return answer_; }

    // Ctrl+C: the box as text on the clipboard.
    void copyToClipboard();

public slots:
    // One second of the countdown.
    void countdownTick();
    // One second of the disabled period.
    void disabledTick();
    void reject() override;

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    void buildControls();
    void applyLayout();
    void placeOnScreen();
    void buttonPressed(int id);
    void finish(int result);
    void stopCountdown();
    QIcon boxIcon() const;

    dialogs::MessageBoxModel model_;
    dialogs::MessageBoxLayout layout_;
    dialogs::Countdown countdown_;
    dialogs::DisabledPeriod disabled_;
    QWidget* owner_ = nullptr;
    QLabel* icon_ = nullptr;
    QLabel* message_ = nullptr;
    std::vector<QPushButton*> buttons_;
    QCheckBox* checkBox_ = nullptr;
    QTimer* countdownTimer_ = nullptr;
    QTimer* disabledTimer_ = nullptr;
    std::optional<int> answer_;
    bool placed_ = false;
};

}  // namespace modshelf::gui
