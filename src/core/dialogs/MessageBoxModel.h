#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "core/dialogs/ButtonCaptions.h"
#include "core/dialogs/MessageBoxParams.h"

namespace modshelf::dialogs {

struct MessageButton {
    std::string caption;  // with its "&" mnemonic marks
    int id = 0;
};

struct MessageCheckBox {
    std::string caption;
    std::uint32_t resultBit = 0;  // OR-ed into the result when ticked
};

enum class StandardIcon { None, Stop, Question, Exclamation, Information };

inline constexpr std::size_t kMaxTextCharacters = 65535;
inline constexpr std::size_t kMaxTitleCharacters = 1023;
inline constexpr std::size_t kMaxCustomButtons = 4;
inline constexpr std::int32_t kSecondsCeiling = 1000;  // this many or more become...
inline constexpr std::int32_t kSecondsFallback = 10;   // ...this many
inline constexpr std::uint32_t kCheckBoxBits =
    mb::kDontAskAgain | mb::kDontTellAgain | mb::kDontShowAgain;

// Everything a message box shows and answers, decided from the caller's
// arguments before any window exists. The view only draws it and reports
// which button was pressed.
class MessageBoxModel {
public:
    // `caption` empty-optional stands for a null caption; `params` may be null.
    // `systemHasNewerLook` is the platform's say on the newer look; the caller
    // can also ask for it through options bit 1.
    MessageBoxModel(const std::string& text, const std::optional<std::string>& caption,
                    std::uint32_t style, const MessageBoxParams* params,
                    bool systemHasNewerLook = false);

    const std::string& text() const { return text_; }
    const std::string& caption() const { return caption_; }
    // The caption as the window title may carry it.
    std::string windowTitle() const;
    std::uint32_t style() const { return style_; }
    const MessageBoxParams& params() const { return params_; }

    // Left to right: the set (or the custom buttons), then Help, then Report.
    const std::vector<MessageButton>& buttons() const { return buttons_; }
    std::size_t defaultIndex() const { return defaultIndex_; }
    const MessageButton& defaultButton() const { return buttons_[defaultIndex_]; }
    bool hasCustomButtons() const { return customButtons_; }

    // What Escape and the window's Close return; none means both are refused
    // and Close is greyed.
    std::optional<int> escapeAnswer() const { return escapeAnswer_; }
    bool closeEnabled() const { return escapeAnswer_.has_value(); }

    const std::optional<MessageCheckBox>& checkBox() const { return checkBox_; }

    // Seconds after which the default button is pressed by itself; 0: never.
    int timeoutSeconds() const { return params_.timeoutSeconds > 0 ? params_.timeoutSeconds : 0; }
    // Seconds during which every button stays disabled; 0: none.
    int disabledSeconds() const {
        return params_.disabledSeconds > 0 ? params_.disabledSeconds : 0;
    }

    bool newerLook() const { return (params_.options & kOptionVistaStyle) != 0; }
    bool narrow() const { return (params_.options & kOptionNarrow) != 0; }
    bool buttonsRightAligned() const;

    // The icon: the caller's own (iconId, else iconName) stands in place of
    // the standard icon of the style's icon bits.
    bool hasOwnIcon() const { return params_.iconId != 0 || !params_.iconName.empty(); }
    StandardIcon standardIcon() const;
    bool styleHasIconBits() const { return (style_ & mb::kIconMask) != 0; }

    // The coloured band behind the message exists when a background colour
    // is given, or with the newer look (then in the system window colour).
    bool hasBand() const { return params_.backgroundColour != kUnsetColour || newerLook(); }
    std::optional<Colour> bandColour() const;  // none: the system window colour
    std::optional<Colour> textColour() const;  // none: the system text colour

    bool beeps() const { return (style_ & mb::kNoSound) == 0; }
    std::uint32_t beepType() const { return style_ & mb::kIconMask; }
    // Stop icon with system-modal: the call goes to the system's own box.
    bool usesSystemBox() const;
    bool systemModal() const { return (style_ & mb::kSystemModal) != 0; }
    bool topMost() const { return (style_ & mb::kTopMost) != 0; }
    bool hasHelpButton() const { return (style_ & mb::kHelp) != 0; }
    bool hasReportButton() const { return static_cast<bool>(params_.reportCallback); }

    // The result of pressing the button with `buttonId`.
    int resultFor(int buttonId, bool checkBoxTicked) const;
    // The result when the countdown presses the default button.
    int timeoutResult(bool checkBoxTicked) const;

    const CaptionSet& captions() const { return captions_; }

private:
    void buildButtons();

    std::string text_;
    std::string caption_;
    std::uint32_t style_ = 0;
    MessageBoxParams params_;
    CaptionSet captions_;
    std::vector<MessageButton> buttons_;
    std::size_t defaultIndex_ = 0;
    bool customButtons_ = false;
    std::optional<int> escapeAnswer_;
    std::optional<MessageCheckBox> checkBox_;
};

// Splits the caller's custom captions ("\n"-separated) into at most four.
std::vector<std::string> splitCustomButtons(const std::string& captions);

}  // namespace modshelf::dialogs
