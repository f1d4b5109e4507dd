#include "core/dialogs/ButtonCaptions.h"

#include "core/dialogs/TextLimits.h"

namespace modshelf::dialogs {

namespace {
constexpr std::array<CaptionEntry, kCaptionCount> kTable{{
    {9005, "&Abort", id::kAbort},
    {9002, "Cancel", id::kCancel},
    {9009, "&Continue", id::kContinue},
    {9010, "Don't ask me again", id::kCheckBox},
    {9011, "Don't tell me again", id::kCheckBox},
    {9012, "Don't show again", id::kCheckBox},
    {9006, "&Help", id::kHelp},
    {9003, "&Ignore", id::kIgnore},
    {9017, "I&gnore All", id::kIgnoreAll},
    {9008, "&No", id::kNo},
    {9014, "N&o to All", id::kNoToAll},
    {9001, "OK", id::kOk},
    {9016, "Re&port", id::kReport},
    {9004, "&Retry", id::kRetry},
    {9018, "&Skip", id::kSkip},
    {9019, "S&kip All", id::kSkipAll},
    {9015, "&Try Again", id::kTryAgain},
    {9007, "&Yes", id::kYes},
    {9013, "Y&es to All", id::kYesToAll},
}};
}  // namespace

const CaptionEntry& captionEntry(Caption which) {
    return kTable[static_cast<std::size_t>(which)];
}

CaptionSet buttonCaptions(std::uint32_t /*style*/, const MessageBoxParams& params) {
    CaptionSet captions;
    for (std::size_t i = 0; i < kCaptionCount; ++i) {
        std::string caption = kTable[i].defaultCaption;
        if (params.useOwnCaptions && !params.ownCaptions[i].empty())
            caption = params.ownCaptions[i];
        captions[i] = cutToCharacters(caption, kMaxButtonCaption);
    }
    return captions;
}

}  // namespace modshelf::dialogs
