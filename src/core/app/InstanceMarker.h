#pragma once

namespace modshelf::app {

// The single-instance marker "ModshelfTestMap": held while this copy runs, so
// that a second copy can tell that one already does. The system must drop it
// when the holder ends, however it ends.
class InstanceMarker {
public:
    enum class Result {
        Created,        // this copy now holds the marker
        AlreadyExists,  // another copy holds it
        Unavailable,    // the marker could not be made at all
    };

    virtual ~InstanceMarker() = default;
    virtual Result create() = 0;
    // Gives the marker up; harmless when not held.
    virtual void close() = 0;
    virtual bool isOpen() const = 0;
};

inline constexpr const char* kInstanceMarkerName = "ModshelfTestMap";

}  // namespace modshelf::app
