#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>

#include "core/dialogs/MessageBoxParams.h"

namespace modshelf::dialogs {

// Positions in the caption table; ownCaptions follows the same order.
enum class Caption : std::size_t {
    Abort,
    Cancel,
    Continue,
    DontAskAgain,
    DontTellAgain,
    DontShowAgain,
    Help,
    Ignore,
    IgnoreAll,
    No,
    NoToAll,
    Ok,
    Report,
    Retry,
    Skip,
    SkipAll,
    TryAgain,
    Yes,
    YesToAll,
};

inline constexpr std::size_t kCaptionCount = 19;
inline constexpr std::size_t kMaxButtonCaption = 99;

struct CaptionEntry {
    std::uint32_t resourceId;  // string resource that may replace the caption
    const char* defaultCaption;
    int controlId;  // identifier of the button (kCheckBox for the three check boxes)
};

const CaptionEntry& captionEntry(Caption which);

using CaptionSet = std::array<std::string, kCaptionCount>;

// The captions one box uses: the defaults, replaced by the caller's own
// captions where useOwnCaptions is set and an entry is not empty, each cut to
// 99 characters. The program carries no caption resources, so the resource
// look-up that the style allows finds nothing and the defaults stand.
CaptionSet buttonCaptions(std::uint32_t style, const MessageBoxParams& params);

inline const std::string& captionOf(const CaptionSet& set, Caption which) {
    return set[static_cast<std::size_t>(which)];
}

}  // namespace modshelf::dialogs
