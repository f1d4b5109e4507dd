#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <string>

namespace modshelf::dialogs {

// Style bits of the message box: the system's own plus this box's extensions.
namespace mb {
inline constexpr std::uint32_t kOk = 0x0;
inline constexpr std::uint32_t kOkCancel = 0x1;
inline constexpr std::uint32_t kAbortRetryIgnore = 0x2;
inline constexpr std::uint32_t kYesNoCancel = 0x3;
inline constexpr std::uint32_t kYesNo = 0x4;
inline constexpr std::uint32_t kRetryCancel = 0x5;
inline constexpr std::uint32_t kCancelTryContinue = 0x6;
inline constexpr std::uint32_t kContinueAbort = 0x7;
inline constexpr std::uint32_t kSkipSkipAllCancel = 0x8;
inline constexpr std::uint32_t kIgnoreIgnoreAllCancel = 0x9;
inline constexpr std::uint32_t kTypeMask = 0xF;

inline constexpr std::uint32_t kIconStop = 0x10;
inline constexpr std::uint32_t kIconQuestion = 0x20;
inline constexpr std::uint32_t kIconExclamation = 0x30;
inline constexpr std::uint32_t kIconInformation = 0x40;
inline constexpr std::uint32_t kIconMask = 0xF0;

inline constexpr std::uint32_t kDefButton1 = 0x000;
inline constexpr std::uint32_t kDefButton2 = 0x100;
inline constexpr std::uint32_t kDefButton3 = 0x200;
inline constexpr std::uint32_t kDefButton4 = 0x300;
inline constexpr std::uint32_t kDefButton5 = 0x400;
inline constexpr std::uint32_t kDefButton6 = 0x500;
inline constexpr std::uint32_t kDefMask = 0xF00;

inline constexpr std::uint32_t kSystemModal = 0x00001000;
inline constexpr std::uint32_t kHelp = 0x00004000;
inline constexpr std::uint32_t kSetForeground = 0x00010000;
inline constexpr std::uint32_t kTopMost = 0x00040000;
inline constexpr std::uint32_t kDontAskAgain = 0x01000000;
inline constexpr std::uint32_t kDontTellAgain = 0x02000000;
inline constexpr std::uint32_t kDontShowAgain = 0x04000000;
inline constexpr std::uint32_t kYesToAll = 0x08000000;
inline constexpr std::uint32_t kNoToAll = 0x10000000;
inline constexpr std::uint32_t kNoResources = 0x20000000;
inline constexpr std::uint32_t kNoSound = 0x40000000;
}  // namespace mb

// Button and result identifiers.
namespace id {
inline constexpr int kOk = 1;
inline constexpr int kCancel = 2;
inline constexpr int kAbort = 3;
inline constexpr int kRetry = 4;
inline constexpr int kIgnore = 5;
inline constexpr int kYes = 6;
inline constexpr int kNo = 7;
inline constexpr int kTryAgain = 10;
inline constexpr int kContinue = 11;
inline constexpr int kSkip = 14;
inline constexpr int kSkipAll = 15;
inline constexpr int kIgnoreAll = 16;
inline constexpr int kYesToAll = 19;
inline constexpr int kNoToAll = 20;
inline constexpr int kHelp = 300;
inline constexpr int kReport = 301;
inline constexpr int kCheckBox = 5555;
inline constexpr int kCustom1 = 23;  // custom buttons take 23, 24, 25, 26
// OR-ed into the result when the countdown pressed the default button. A ticked
// check box OR-s in its own style bit (mb::kDontAskAgain and its two siblings).
inline constexpr std::uint32_t kTimeoutFlag = 0x80000000u;
}  // namespace id

// Colours are 0x00BBGGRR; -1 leaves a colour unset.
using Colour = std::int64_t;
inline constexpr Colour kUnsetColour = -1;

struct MessageBoxParams {
    std::uint32_t helpId = 0;
    std::int32_t timeoutSeconds = 0;
    std::int32_t disabledSeconds = 0;
    std::int32_t x = 0;
    std::int32_t y = 0;
    std::uint32_t options = 0;  // bit 0 right-aligned buttons, bit 1 newer look, bit 2 narrow
    std::uint32_t iconId = 0;
    std::string iconName;
    std::uint32_t customButtonsId = 0;
    std::string customButtons;  // captions separated by "\n", at most 4
    std::uint32_t reportCaptionId = 0;
    std::string reportCaption;
    std::string companyName;
    std::string sourceName;
    std::uint32_t sourceLine = 0;
    std::uint32_t reportData = 0;
    std::function<void(const std::string& text, std::uint32_t data)> reportCallback;
    Colour textColour = kUnsetColour;
    Colour backgroundColour = kUnsetColour;
    bool useOwnCaptions = false;
    std::array<std::string, 19> ownCaptions;
};

inline constexpr std::uint32_t kOptionRightJustifyButtons = 0x1;
inline constexpr std::uint32_t kOptionVistaStyle = 0x2;
inline constexpr std::uint32_t kOptionNarrow = 0x4;

// The program's standard look: blue text on a white band and icon 100.
MessageBoxParams standardParams(bool rightAlignButtons, int timeoutSeconds = 0);

}  // namespace modshelf::dialogs
