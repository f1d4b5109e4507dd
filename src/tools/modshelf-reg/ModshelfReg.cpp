// modshelf-reg.exe: Modshelf's registry helper inside a Wine prefix. While a
// wineserver runs, the registry it holds is reached only through a Wine
// program; starting one for every read or write costs a few tenths of a
// second, so Modshelf keeps this one running and sends it requests over its
// standard input (see RegistryHelperProtocol.h).
//
// It must not keep the user's wineserver alive: it ends when its standard
// input closes, and by itself after a while without a request (never while
// it serves one). Usage: modshelf-reg.exe [--idle-ms <milliseconds>]

#include <windows.h>

#include <cwchar>
#include <string>

#include "RegistryWork.h"
#include "platform/linux/RegistryHelperProtocol.h"

namespace {

using namespace modshelf::reghelper;

constexpr LONG kIdle = 0;
constexpr LONG kBusy = 1;
constexpr LONG kLeaving = 2;

volatile LONG state = kIdle;
HANDLE activity = nullptr;
DWORD idleMilliseconds = 5000;

DWORD WINAPI idleWatch(void*) {
    for (;;) {
        if (WaitForSingleObject(activity, idleMilliseconds) != WAIT_TIMEOUT) continue;
        // Only an idle helper leaves; a request that comes in at that moment
        // finds the pipe closed, and Modshelf starts a new helper for it.
        if (InterlockedCompareExchange(&state, kLeaving, kIdle) == kIdle) ExitProcess(0);
    }
}

class Input {
public:
    explicit Input(HANDLE handle) : handle_(handle) {}

    bool line(std::string& out) {
        out.clear();
        for (;;) {
            const std::size_t end = buffer_.find('\n', start_);
            if (end != std::string::npos) {
                out.assign(buffer_, start_, end - start_);
                start_ = end + 1;
                return true;
            }
            if (buffer_.size() - start_ > 4096 || !fill()) return false;
        }
    }

    bool exact(std::size_t length, std::string& out) {
        while (buffer_.size() - start_ < length)
            if (!fill()) return false;
        out.assign(buffer_, start_, length);
        start_ += length;
        return true;
    }

private:
    bool fill() {
        if (start_ > 0) {
            buffer_.erase(0, start_);
            start_ = 0;
        }
        char chunk[65536];
        DWORD read = 0;
        if (!ReadFile(handle_, chunk, sizeof chunk, &read, nullptr) || read == 0) return false;
        buffer_.append(chunk, read);
        return true;
    }

    HANDLE handle_;
    std::string buffer_;
    std::size_t start_ = 0;
};

bool writeAll(HANDLE handle, const std::string& bytes) {
    std::size_t done = 0;
    while (done < bytes.size()) {
        DWORD written = 0;
        const DWORD chunk = static_cast<DWORD>(std::min<std::size_t>(bytes.size() - done, 1 << 20));
        if (!WriteFile(handle, bytes.data() + done, chunk, &written, nullptr) || written == 0)
            return false;
        done += written;
    }
    return true;
}

std::string serve(const std::string& verb, const std::string& payload) {
    if (verb == kExport) {
        std::string text, error;
        if (!exportTree(payload, text, error)) return frame(kErr, error);
        return frame(kOk, text);
    }
    if (verb == kSave) {
        std::string text, error;
        if (!saveTree(payload, text, error)) return frame(kErr, error);
        return frame(kOk, text);
    }
    if (verb == kApply) {
        std::vector<Edit> edits;
        if (!decodeEdits(payload, edits)) return frame(kErr, "The list of changes was garbled.");
        return frame(kOk, encodeFailures(applyEdits(edits)));
    }
    return frame(kErr, "Unknown request \"" + verb + "\".");
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    for (int i = 1; i + 1 < argc; ++i)
        if (std::wcscmp(argv[i], L"--idle-ms") == 0) {
            // Never 0: a helper that left before its first request would be
            // started again and again.
            const unsigned long value = std::wcstoul(argv[i + 1], nullptr, 10);
            if (value > 0) idleMilliseconds = value;
        }

    const HANDLE in = GetStdHandle(STD_INPUT_HANDLE);
    const HANDLE out = GetStdHandle(STD_OUTPUT_HANDLE);
    activity = CreateEventW(nullptr, FALSE, FALSE, nullptr);
    if (!activity || !CreateThread(nullptr, 0, idleWatch, nullptr, 0, nullptr)) return 1;
    if (!writeAll(out, std::string(kGreeting) + "\n")) return 1;

    Input input(in);
    std::string header, verb, payload;
    for (;;) {
        if (!input.line(header)) return 0;  // standard input closed: Modshelf is done
        if (InterlockedCompareExchange(&state, kBusy, kIdle) != kIdle) return 0;
        std::size_t length = 0;
        if (!parseFrameHeader(header, verb, length) || !input.exact(length, payload)) {
            writeAll(out, frame(kErr, "The request was garbled."));
            return 1;  // out of step with the stream: a fresh helper is the safe way on
        }
        if (!writeAll(out, serve(verb, payload))) return 1;
        InterlockedExchange(&state, kIdle);
        SetEvent(activity);
    }
}
