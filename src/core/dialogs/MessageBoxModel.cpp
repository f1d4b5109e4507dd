#include "core/dialogs/MessageBoxModel.h"

#include "core/dialogs/TextLimits.h"

namespace modshelf::dialogs {

namespace {

std::int32_t normalisedSeconds(std::int32_t seconds) {
    return seconds >= kSecondsCeiling ? kSecondsFallback : seconds;
}

MessageButton button(const CaptionSet& captions, Caption which) {
    return {captionOf(captions, which), captionEntry(which).controlId};
}

}  // namespace

std::vector<std::string> splitCustomButtons(const std::string& captions) {
    std::vector<std::string> out;
    std::size_t start = 0;
    while (start <= captions.size() && out.size() < kMaxCustomButtons) {
        std::size_t end = captions.find('\n', start);
        if (end == std::string::npos) end = captions.size();
        std::string caption = captions.substr(start, end - start);
        if (!caption.empty() && caption.back() == '\r') caption.pop_back();
        if (!caption.empty()) out.push_back(cutToCharacters(caption, kMaxButtonCaption));
        start = end + 1;
    }
    return out;
}

MessageBoxModel::MessageBoxModel(const std::string& text, const std::optional<std::string>& caption,
                                 std::uint32_t style, const MessageBoxParams* params,
                                 bool systemHasNewerLook)
    : text_(cutToCharacters(text, kMaxTextCharacters)),
      caption_(cutToCharacters(caption.value_or("Error"), kMaxTextCharacters)),
      style_(style) {
    if (params) params_ = *params;
    params_.timeoutSeconds = normalisedSeconds(params_.timeoutSeconds);
    params_.disabledSeconds = normalisedSeconds(params_.disabledSeconds);
    if (systemHasNewerLook) params_.options |= kOptionVistaStyle;
    captions_ = buttonCaptions(style_, params_);
    buildButtons();

    // The first check-box bit present decides which check box is shown.
    if (style_ & mb::kDontAskAgain) {
        checkBox_ = MessageCheckBox{captionOf(captions_, Caption::DontAskAgain), mb::kDontAskAgain};
    } else if (style_ & mb::kDontTellAgain) {
        checkBox_ =
            MessageCheckBox{captionOf(captions_, Caption::DontTellAgain), mb::kDontTellAgain};
    } else if (style_ & mb::kDontShowAgain) {
        checkBox_ =
            MessageCheckBox{captionOf(captions_, Caption::DontShowAgain), mb::kDontShowAgain};
    }
}

void MessageBoxModel::buildButtons() {
    const CaptionSet& c = captions_;
    const bool yesToAll = (style_ & mb::kYesToAll) != 0;
    const bool noToAll = (style_ & mb::kNoToAll) != 0;
    const std::uint32_t set = style_ & mb::kTypeMask;

    switch (set) {
        case mb::kOk:
            buttons_ = {button(c, Caption::Ok)};
            escapeAnswer_ = id::kOk;
            break;
        case mb::kOkCancel:
            buttons_ = {button(c, Caption::Ok), button(c, Caption::Cancel)};
            escapeAnswer_ = id::kCancel;
            break;
        case mb::kAbortRetryIgnore:
            buttons_ = {button(c, Caption::Abort), button(c, Caption::Retry),
                        button(c, Caption::Ignore)};
            break;
        case mb::kYesNoCancel:
        case mb::kYesNo:
            buttons_.push_back(button(c, Caption::Yes));
            if (yesToAll) buttons_.push_back(button(c, Caption::YesToAll));
            buttons_.push_back(button(c, Caption::No));
            if (noToAll) buttons_.push_back(button(c, Caption::NoToAll));
            if (set == mb::kYesNoCancel) {
                buttons_.push_back(button(c, Caption::Cancel));
                escapeAnswer_ = id::kCancel;
            }
            break;
        case mb::kRetryCancel:
            buttons_ = {button(c, Caption::Retry), button(c, Caption::Cancel)};
            escapeAnswer_ = id::kCancel;
            break;
        case mb::kCancelTryContinue:
            buttons_ = {button(c, Caption::Cancel), button(c, Caption::TryAgain),
                        button(c, Caption::Continue)};
            escapeAnswer_ = id::kCancel;
            break;
        case mb::kContinueAbort:
            buttons_ = {button(c, Caption::Continue), button(c, Caption::Abort)};
            break;
        case mb::kSkipSkipAllCancel:
            buttons_ = {button(c, Caption::Skip), button(c, Caption::SkipAll),
                        button(c, Caption::Cancel)};
            escapeAnswer_ = id::kCancel;
            break;
        case mb::kIgnoreIgnoreAllCancel:
            buttons_ = {button(c, Caption::Ignore), button(c, Caption::IgnoreAll),
                        button(c, Caption::Cancel)};
            escapeAnswer_ = id::kCancel;
            break;
        default:  // 10 to 15: an OK button that Escape cannot answer
            buttons_ = {button(c, Caption::Ok)};
            break;
    }

    // Custom captions replace the set's buttons; Escape keeps the set's answer.
    std::vector<std::string> custom = splitCustomButtons(params_.customButtons);
    if (!custom.empty()) {
        customButtons_ = true;
        buttons_.clear();
        for (std::size_t i = 0; i < custom.size(); ++i) {
            buttons_.push_back({custom[i], id::kCustom1 + static_cast<int>(i)});
        }
    }

    if (hasHelpButton()) buttons_.push_back(button(c, Caption::Help));
    if (hasReportButton()) {
        MessageButton report = button(c, Caption::Report);
        if (!params_.reportCaption.empty()) {
            report.caption = cutToCharacters(params_.reportCaption, kMaxButtonCaption);
        }
        buttons_.push_back(report);
    }

    std::size_t wanted = (style_ & mb::kDefMask) >> 8;
    defaultIndex_ = wanted < buttons_.size() ? wanted : 0;
}

std::string MessageBoxModel::windowTitle() const {
    return cutToCharacters(caption_, kMaxTitleCharacters);
}

bool MessageBoxModel::buttonsRightAligned() const {
    return newerLook() || (params_.options & kOptionRightJustifyButtons) != 0;
}

StandardIcon MessageBoxModel::standardIcon() const {
    switch (style_ & mb::kIconMask) {
        case 0:
            return StandardIcon::None;
        case mb::kIconStop:
            return StandardIcon::Stop;
        case mb::kIconQuestion:
            return StandardIcon::Question;
        case mb::kIconInformation:
            return StandardIcon::Information;
        default:
            return StandardIcon::Exclamation;
    }
}

std::optional<Colour> MessageBoxModel::bandColour() const {
    if (params_.backgroundColour == kUnsetColour) return std::nullopt;
    return params_.backgroundColour;
}

std::optional<Colour> MessageBoxModel::textColour() const {
    if (params_.textColour == kUnsetColour) return std::nullopt;
    return params_.textColour;
}

bool MessageBoxModel::usesSystemBox() const {
    return (style_ & mb::kIconMask) == mb::kIconStop && (style_ & mb::kSystemModal) != 0;
}

int MessageBoxModel::resultFor(int buttonId, bool checkBoxTicked) const {
    std::uint32_t result = static_cast<std::uint32_t>(buttonId);
    if (checkBox_ && checkBoxTicked) result |= checkBox_->resultBit;
    return static_cast<int>(result);
}

int MessageBoxModel::timeoutResult(bool checkBoxTicked) const {
    return static_cast<int>(
        static_cast<std::uint32_t>(resultFor(defaultButton().id, checkBoxTicked)) |
        id::kTimeoutFlag);
}

}  // namespace modshelf::dialogs
