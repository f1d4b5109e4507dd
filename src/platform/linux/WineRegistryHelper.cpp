#include "platform/linux/WineRegistryHelper.h"

#include <system_error>

#include "core/settings/RegEditFile.h"
#include "core/settings/Utf16.h"
#include "core/settings/WineHive.h"

namespace modshelf::platform {

namespace {

using Result = ChildProcessPipe::Result;
using reghelper::Edit;

constexpr const char* kHelperName = "modshelf-reg.exe";
// Anything Wine prints before our program runs is passed over, up to this much.
constexpr std::size_t kMaxLine = 64 * 1024;

bool isTextType(std::uint32_t type) {
    return type == settings::kRegSz || type == settings::kRegExpandSz ||
           type == settings::kRegMultiSz;
}

// The store holds text values in UTF-8; the registry keeps UTF-16.
Edit helperEdit(const settings::RegEditChange& change) {
    using Kind = settings::RegEditChange::Kind;
    Edit edit;
    edit.key = change.keyPath;
    edit.name = change.name;
    switch (change.kind) {
        case Kind::CreateKey:
            edit.op = Edit::Op::CreateKey;
            break;
        case Kind::DeleteKey:
            edit.op = Edit::Op::DeleteKey;
            break;
        case Kind::DeleteValue:
            edit.op = Edit::Op::DeleteValue;
            break;
        case Kind::SetValue:
            edit.op = Edit::Op::SetValue;
            edit.type = change.value.type;
            edit.data = isTextType(change.value.type)
                            ? settings::utf16ToBytes(settings::utf8ToUtf16(change.value.data))
                            : change.value.data;
            break;
    }
    return edit;
}

std::string describeRefusal(const Edit& edit, std::uint32_t code) {
    std::string what;
    switch (edit.op) {
        case Edit::Op::CreateKey:
            what = "the key " + edit.key;
            break;
        case Edit::Op::DeleteKey:
            what = "the removal of the key " + edit.key;
            break;
        case Edit::Op::SetValue:
            what = "\"" + edit.name + "\" in " + edit.key;
            break;
        case Edit::Op::DeleteValue:
            what = "the removal of \"" + edit.name + "\" from " + edit.key;
            break;
    }
    const std::string reason = code == 5    ? "access denied"
                               : code == 2  ? "not found"
                               : code == 87 ? "not a valid registry path"
                                            : "error " + std::to_string(code);
    return what + " (" + reason + ")";
}

std::filesystem::path runningProgramDir() {
    std::error_code ec;
    const auto self = std::filesystem::read_symlink("/proc/self/exe", ec);
    return ec ? std::filesystem::path() : self.parent_path();
}

}  // namespace

WineRegistryHelper::WineRegistryHelper(std::filesystem::path prefix,
                                       std::filesystem::path helperExe)
    : WineRegistryHelper(std::move(prefix), std::move(helperExe), Options{}) {}

WineRegistryHelper::WineRegistryHelper(std::filesystem::path prefix,
                                       std::filesystem::path helperExe, Options options)
    : prefix_(std::move(prefix)),
      exe_(std::move(helperExe)),
      options_(options),
      saveWorks_(options.serverSave) {}

WineRegistryHelper::~WineRegistryHelper() {
    // It ends as soon as its input closes; a helper that hangs is not waited for long.
    helper_.stop(std::chrono::milliseconds(2000));
}

void WineRegistryHelper::useServerFolder(const std::filesystem::path& serverDir) {
    if (serverDir == serverDir_) return;
    serverDir_ = serverDir;
    if (options_.fallback) options_.fallback->useServerFolder(serverDir);
    // Wine finds its server through TMPDIR: a helper started with another one
    // would reach another server. With the same one it serves on.
    if (helper_.alive() && wineEnvironment(prefix_, serverDir_) != helperEnvironment_)
        helper_.stop(std::chrono::milliseconds(500));
}

pid_t WineRegistryHelper::helperProcess() {
    return helper_.alive() ? helper_.pid() : 0;
}

WineRegistryHelper::Start WineRegistryHelper::ensureStarted(std::string& error) {
    if (helper_.alive()) return Start::Ready;
    std::vector<std::string> argv = options_.launcher;
    argv.insert(argv.end(),
                {exe_.string(), "--idle-ms", std::to_string(options_.idleExit.count())});
    helperEnvironment_ = wineEnvironment(prefix_, serverDir_);
    if (!helper_.start(argv, helperEnvironment_, error)) return Start::Failed;
    const auto deadline = ChildProcessPipe::Clock::now() + options_.startTimeout;
    std::string line;
    for (;;) {
        const Result result = helper_.readLine(line, deadline, kMaxLine);
        if (result == Result::Done) {
            if (line == reghelper::kGreeting) return Start::Ready;
            continue;  // something Wine printed
        }
        const int code = helper_.exitCode(std::chrono::milliseconds(500));
        helper_.kill();
        if (result == Result::TimedOut) {
            error = "Modshelf's registry helper did not start in time under Wine.";
            return Start::Failed;
        }
        if (code == 127) {
            error = "Wine (the program \"wine\") was not found.";
            return Start::Failed;
        }
        error =
            "Modshelf's registry helper (" + exe_.string() + ") could not be started under Wine.";
        return Start::Unusable;
    }
}

WineRegistryHelper::Attempt WineRegistryHelper::attempt(std::string_view verb,
                                                        const std::string& payload,
                                                        std::string& reply, std::string& error) {
    const auto deadline = ChildProcessPipe::Clock::now() + options_.replyTimeout;
    Result result = helper_.write(reghelper::frame(verb, payload), deadline);
    std::string header, answer;
    std::size_t length = 0;
    if (result == Result::Done) result = helper_.readLine(header, deadline, kMaxLine);
    if (result == Result::Done && !reghelper::parseFrameHeader(header, answer, length))
        result = Result::Failed;
    if (result == Result::Done) result = helper_.readExact(length, reply, deadline);
    switch (result) {
        case Result::Done:
            if (answer == reghelper::kOk) return Attempt::Answered;
            refused_ = answer == reghelper::kErr;
            error = refused_ ? reply : "Modshelf's registry helper answered out of turn.";
            if (answer != reghelper::kErr) helper_.kill();
            return Attempt::Failed;
        case Result::Ended:
            helper_.kill();
            return Attempt::Ended;
        case Result::TimedOut:
            helper_.kill();
            error = "Wine did not answer in time; its registry may be busy or hung.";
            return Attempt::Failed;
        case Result::Failed:
            break;
    }
    helper_.kill();
    error = "The connection to Modshelf's registry helper under Wine failed.";
    return Attempt::Failed;
}

bool WineRegistryHelper::request(std::string_view verb, const std::string& payload,
                                 std::string& reply, std::string& error) {
    refused_ = false;
    // A helper that ended (idle, killed, or its server gone) is started again once.
    for (int round = 0; round < 2; ++round) {
        switch (ensureStarted(error)) {
            case Start::Ready:
                break;
            case Start::Unusable:
                unusable_ = true;
                return false;
            case Start::Failed:
                return false;
        }
        switch (attempt(verb, payload, reply, error)) {
            case Attempt::Answered:
                return true;
            case Attempt::Failed:
                return false;
            case Attempt::Ended:
                break;
        }
    }
    error = "Modshelf's registry helper ended under Wine before it answered.";
    return false;
}

bool WineRegistryHelper::exportKey(const std::string& key, std::string& text, std::string& error) {
    if (useFallback()) return options_.fallback->exportKey(key, text, error);
    if (!exportThroughHelper(key, text, error)) {
        if (!useFallback()) return false;
        return options_.fallback->exportKey(key, text, error);
    }
    return true;
}

bool WineRegistryHelper::exportThroughHelper(const std::string& key, std::string& text,
                                             std::string& error) {
    // The server writes the whole branch in one step; reading it value by
    // value is the way when it will not.
    if (saveWorks_) {
        std::string saved;
        if (request(reghelper::kSave, key, saved, error)) {
            settings::WineHive hive;
            if (settings::parseWineHive(saved, hive, error)) {
                text = settings::regEditTextOf(hive.tree, key);
                return true;
            }
            // Not Wine's file form after all: read value by value from now on.
        } else if (!refused_) {
            return false;
        } else {
            // Refused: for lack of the privilege, or for a key that is not
            // there. Reading value by value tells which.
            if (!request(reghelper::kExport, key, text, error)) return false;
            saveWorks_ = false;
            return true;
        }
        saveWorks_ = false;
    }
    return request(reghelper::kExport, key, text, error);
}

bool WineRegistryHelper::import(const std::string& text, std::string& error) {
    refusals_.clear();
    if (useFallback()) return options_.fallback->import(text, error);
    std::vector<settings::RegEditChange> changes;
    if (!settings::parseRegEditChanges(text, changes, error)) return false;
    std::vector<Edit> edits;
    edits.reserve(changes.size());
    for (const auto& change : changes) edits.push_back(helperEdit(change));
    std::string reply;
    if (!request(reghelper::kApply, reghelper::encodeEdits(edits), reply, error))
        return useFallback() ? options_.fallback->import(text, error) : false;
    std::vector<reghelper::Failure> failures;
    if (!reghelper::decodeFailures(reply, failures)) {
        error = "Modshelf's registry helper gave an unreadable answer.";
        return false;
    }
    for (const auto& failure : failures)
        if (failure.index < edits.size())
            refusals_.push_back(describeRefusal(edits[failure.index], failure.code));
    return true;
}

std::optional<std::filesystem::path> findRegistryHelper(const std::filesystem::path& programDir) {
    const std::filesystem::path candidates[] = {
        programDir / kHelperName, programDir.parent_path() / "libexec" / "modshelf" / kHelperName};
    for (const auto& candidate : candidates) {
        std::error_code ec;
        if (std::filesystem::is_regular_file(candidate, ec)) return candidate.lexically_normal();
    }
    return std::nullopt;
}

std::shared_ptr<LiveRegistry> liveRegistryFor(
    const std::filesystem::path& prefix, const std::optional<std::filesystem::path>& helperExe) {
    if (!helperExe) return wineRegistryTool(prefix);
    WineRegistryHelper::Options options;
    options.fallback = wineRegistryTool(prefix);
    return std::make_shared<WineRegistryHelper>(prefix, *helperExe, options);
}

std::shared_ptr<LiveRegistry> liveRegistryFor(const std::filesystem::path& prefix) {
    const auto programDir = runningProgramDir();
    return liveRegistryFor(prefix,
                           programDir.empty() ? std::nullopt : findRegistryHelper(programDir));
}

}  // namespace modshelf::platform
