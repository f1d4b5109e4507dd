#pragma once

#include <filesystem>
#include <string>

#include "core/app/InstanceMarker.h"

namespace modshelf::platform {

// The single-instance marker as an exclusive lock on a file named after the
// marker in the user's runtime folder ($XDG_RUNTIME_DIR, else a private
// /tmp/modshelf-<uid>). The system drops the lock when the holder ends in any
// way, a kill included, so a stale marker cannot block the next start. The
// descriptor is closed on exec, so programs this one starts (Scrivel under
// Wine) never inherit the marker.
class SingleInstance : public app::InstanceMarker {
public:
    // `folder` empty: the user's runtime folder.
    explicit SingleInstance(std::filesystem::path folder = {},
                            std::string name = app::kInstanceMarkerName);
    ~SingleInstance() override;
    SingleInstance(const SingleInstance&) = delete;
    SingleInstance& operator=(const SingleInstance&) = delete;

    Result create() override;
    void close() override;
    bool isOpen() const override { return fd_ >= 0; }

    const std::filesystem::path& lockFile() const { return lockFile_; }

    // $XDG_RUNTIME_DIR when it is set and a folder; otherwise
    // /tmp/modshelf-<uid>, created private to the user. Empty when neither is
    // usable (another user owns the /tmp folder, for example).
    static std::filesystem::path runtimeFolder();

private:
    std::filesystem::path folder_;
    std::filesystem::path lockFile_;
    int fd_ = -1;
};

}  // namespace modshelf::platform
