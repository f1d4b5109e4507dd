#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "core/settings/RegistryTypes.h"

namespace modshelf::settings {

// The hierarchical key/value store behind every setting. Key paths are
// backslash-separated and relative to a root; the empty path is the root.
//
// Durability: a write made outside an operation reaches durable storage before
// the call returns. Writes made inside an operation (see SettingsOperation)
// reach it together when the outermost operation ends: all of them or, when
// saving fails, none, and the store falls back to what is durably stored.
class SettingsStore {
public:
    virtual ~SettingsStore() = default;

    // Opens a key, creating it and every missing parent.
    virtual Status createKey(RegRoot root, const std::string& path) = 0;
    // Opens an existing key only: kSuccess or kFileNotFound.
    virtual Status openKey(RegRoot root, const std::string& path) = 0;

    virtual Status queryValue(RegRoot root, const std::string& path, const std::string& name,
                              RegValue& out) = 0;
    virtual Status setValue(RegRoot root, const std::string& path, const std::string& name,
                            const RegValue& value) = 0;
    virtual Status deleteValue(RegRoot root, const std::string& path, const std::string& name) = 0;

    // Dense indexes from 0; kNoMoreItems past the end.
    virtual Status enumKey(RegRoot root, const std::string& path, std::uint32_t index,
                           std::string& name) = 0;
    virtual Status enumValue(RegRoot root, const std::string& path, std::uint32_t index,
                             std::string& name, RegValue& value) = 0;
    virtual Status queryInfo(RegRoot root, const std::string& path, RegKeyInfo& info) = 0;
    // Every value of a key in its order, in one call: kFileNotFound when the
    // key is missing. The default asks enumValue for each; stores that can
    // find the key once override it, since reading a workspace is thousands
    // of values.
    virtual Status enumValues(RegRoot root, const std::string& path,
                              std::vector<RegNamedValue>& values);

    // Deletes a key without subkeys; a key with subkeys is refused (kAccessDenied).
    virtual Status deleteKey(RegRoot root, const std::string& path) = 0;

    // Operation bracket; nests. endOperation returns the status of the save
    // that the outermost end performs (kSuccess when nothing was pending).
    void beginOperation();
    Status endOperation();
    bool inOperation() const { return operationDepth_ > 0; }
    // Counts outermost operations; tells a store whether an access belongs to
    // the operation it has already looked at its files for.
    std::uint64_t operationSerial() const { return operationSerial_; }

    // Why the last save failed, in words for the user; empty after a success.
    const std::string& lastError() const { return lastError_; }

    // Called with lastError() whenever a save fails, so that the program can
    // tell the user instead of losing the change silently.
    using SaveFailureListener = std::function<void(const std::string& message)>;
    void setSaveFailureListener(SaveFailureListener listener) { listener_ = std::move(listener); }

    // While a quiet scope is open, failed saves are not reported to the
    // listener: for writes the user did not ask for, such as a key that a read
    // creates on the way.
    void beginQuiet() { ++quietDepth_; }
    void endQuiet() { --quietDepth_; }

protected:
    // Implementations call this after every change. Outside an operation it
    // saves at once; inside one it only remembers that a save is due.
    Status changed();

    // Persists every pending change. On failure the implementation returns to
    // its durable state, describes the cause in `message` and returns non-zero.
    virtual Status save(std::string& message) = 0;

private:
    Status saveNow();

    int operationDepth_ = 0;
    std::uint64_t operationSerial_ = 0;
    bool pending_ = false;
    std::string lastError_;
    SaveFailureListener listener_;
    int quietDepth_ = 0;
};

class QuietSaves {
public:
    explicit QuietSaves(SettingsStore& store) : store_(store) { store_.beginQuiet(); }
    ~QuietSaves() { store_.endQuiet(); }
    QuietSaves(const QuietSaves&) = delete;
    QuietSaves& operator=(const QuietSaves&) = delete;

private:
    SettingsStore& store_;
};

// RAII bracket for one user operation: the writes inside it are saved once.
class SettingsOperation {
public:
    explicit SettingsOperation(SettingsStore& store) : store_(store) { store_.beginOperation(); }
    ~SettingsOperation() {
        if (!finished_) store_.endOperation();
    }
    SettingsOperation(const SettingsOperation&) = delete;
    SettingsOperation& operator=(const SettingsOperation&) = delete;

    // Ends the operation now and returns the status of its save.
    Status commit() {
        finished_ = true;
        return store_.endOperation();
    }

private:
    SettingsStore& store_;
    bool finished_ = false;
};

}  // namespace modshelf::settings
