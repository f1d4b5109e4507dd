#include "core/reports/RtfToText.h"

#include <cstdint>
#include <limits>
#include <new>
#include <vector>

#include "core/reports/RtfKeywords.h"

namespace modshelf::reports {

namespace {

// A control word's letters and digits are kept up to these lengths; the rest
// is read and dropped. No keyword is longer than ten letters, so a cut word
// never matches one.
constexpr std::size_t kMaxKeywordLength = 31;
constexpr std::size_t kMaxParameterDigits = 19;

enum class Destination : std::uint8_t { Normal, Skip };
enum class InputMode : std::uint8_t { Normal, Binary, Hex };

struct GroupState {
    Destination destination;
    InputMode mode;
};

bool isLetter(unsigned char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}
bool isDigit(unsigned char c) {
    return c >= '0' && c <= '9';
}
int hexValue(unsigned char c) {
    if (isDigit(c)) return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

class RtfParser {
public:
    RtfParser(std::string_view input, std::string& out) : in_(input), out_(out) {}

    RtfResult run() {
        while (pos_ < in_.size()) {
            const auto c = static_cast<unsigned char>(in_[pos_++]);
            if (mode_ == InputMode::Binary) {
                emit(static_cast<char>(c));
                continue;
            }
            RtfResult result = RtfResult::Ok;
            switch (c) {
                case '\n':
                case '\r':
                    break;
                case '\\':
                    result = controlWord();
                    break;
                case '{':
                    result = openGroup();
                    break;
                case '}':
                    result = closeGroup();
                    break;
                default:
                    if (mode_ == InputMode::Hex) {
                        result = hexDigit(c);
                    } else {
                        --pos_;
                        emitPlainRun();
                    }
                    break;
            }
            if (result != RtfResult::Ok) return result;
        }
        return stack_.empty() ? RtfResult::Ok : RtfResult::UnmatchedBrace;
    }

private:
    RtfResult emit(char c) {
        if (mode_ == InputMode::Binary && --binaryCount_ <= 0) mode_ = InputMode::Normal;
        if (destination_ == Destination::Normal) out_ += c;
        return RtfResult::Ok;
    }

    // Ordinary text in normal mode goes out as a whole run up to the next
    // byte that means something: the bulk of a long comment is such runs.
    void emitPlainRun() {
        const std::size_t start = pos_;
        while (pos_ < in_.size()) {
            const char c = in_[pos_];
            if (c == '\\' || c == '{' || c == '}' || c == '\n' || c == '\r') break;
            ++pos_;
        }
        if (destination_ == Destination::Normal) out_.append(in_, start, pos_ - start);
    }

    RtfResult openGroup() {
        try {
            stack_.push_back({destination_, mode_});
        } catch (const std::bad_alloc&) {
            return RtfResult::OutOfMemory;
        }
        mode_ = InputMode::Normal;
        return RtfResult::Ok;
    }

    RtfResult closeGroup() {
        if (stack_.empty()) return RtfResult::StackUnderflow;
        destination_ = stack_.back().destination;
        mode_ = stack_.back().mode;
        stack_.pop_back();
        return RtfResult::Ok;
    }

    RtfResult hexDigit(unsigned char c) {
        const int value = hexValue(c);
        if (value < 0) return RtfResult::InvalidHex;
        hexValue_ = hexValue_ * 16 + value;
        if (++hexDigits_ < 2) return RtfResult::Ok;
        const char byte = static_cast<char>(hexValue_);
        hexValue_ = 0;
        hexDigits_ = 0;
        mode_ = InputMode::Normal;
        return emit(byte);
    }

    RtfResult controlWord() {
        if (pos_ >= in_.size()) return RtfResult::EndOfFile;
        auto c = static_cast<unsigned char>(in_[pos_]);
        if (!isLetter(c)) {
            // A control symbol: one byte, no parameter, no delimiter.
            ++pos_;
            return lookup(in_.substr(pos_ - 1, 1), false);
        }
        const std::size_t start = pos_;
        while (pos_ < in_.size() && isLetter(static_cast<unsigned char>(in_[pos_]))) ++pos_;
        const std::string_view letters = in_.substr(start, pos_ - start);
        const bool tooLong = letters.size() > kMaxKeywordLength;

        bool negative = false;
        if (pos_ < in_.size() && in_[pos_] == '-') {
            negative = true;
            if (++pos_ >= in_.size()) return RtfResult::EndOfFile;
        }
        // Only `bin` uses a parameter, and it reads the last one of any word.
        long long parameter = 0;
        if (pos_ < in_.size() && isDigit(static_cast<unsigned char>(in_[pos_]))) {
            std::size_t digits = 0;
            while (pos_ < in_.size() && isDigit(static_cast<unsigned char>(in_[pos_]))) {
                if (digits++ < kMaxParameterDigits) {
                    // Nineteen digits can pass the largest long long: clamp.
                    const int digit = in_[pos_] - '0';
                    constexpr long long kMax = std::numeric_limits<long long>::max();
                    parameter = parameter > (kMax - digit) / 10 ? kMax : parameter * 10 + digit;
                }
                ++pos_;
            }
            if (negative) parameter = -parameter;
            lastParameter_ = parameter;
        }
        if (pos_ < in_.size() && in_[pos_] == ' ') ++pos_;
        return lookup(letters, tooLong);
    }

    RtfResult lookup(std::string_view keyword, bool tooLong) {
        const RtfKeyword* row = tooLong ? nullptr : findRtfKeyword(keyword);
        const bool skipIfUnknown = skipIfUnknown_;
        skipIfUnknown_ = false;
        if (!row) {
            if (skipIfUnknown) destination_ = Destination::Skip;
            return RtfResult::Ok;
        }
        switch (row->kind) {
            case RtfKeywordKind::Character:
                return emit(row->character);
            case RtfKeywordKind::Destination:
                destination_ = Destination::Skip;
                return RtfResult::Ok;
            case RtfKeywordKind::Property:
                // Formatting does not reach plain text.
                return RtfResult::Ok;
            case RtfKeywordKind::Special:
                return special(row->special);
        }
        return RtfResult::Ok;
    }

    RtfResult special(RtfSpecial action) {
        // In a skipped destination only binary data still needs passing over.
        if (destination_ == Destination::Skip && action != RtfSpecial::Binary) return RtfResult::Ok;
        switch (action) {
            case RtfSpecial::Binary:
                mode_ = InputMode::Binary;
                binaryCount_ = lastParameter_;
                break;
            case RtfSpecial::SkipIfUnknown:
                skipIfUnknown_ = true;
                break;
            case RtfSpecial::Hex:
                mode_ = InputMode::Hex;
                break;
            case RtfSpecial::None:
                break;
        }
        return RtfResult::Ok;
    }

    std::string_view in_;
    std::size_t pos_ = 0;
    std::string& out_;
    Destination destination_ = Destination::Normal;
    InputMode mode_ = InputMode::Normal;
    long long binaryCount_ = 0;
    long long lastParameter_ = 0;
    bool skipIfUnknown_ = false;
    int hexValue_ = 0;
    int hexDigits_ = 0;
    std::vector<GroupState> stack_;
};

}  // namespace

RtfResult parseRtf(std::string_view rtf, std::string& out) {
    return RtfParser(rtf, out).run();
}

bool ConvertRtfToText(std::string rtfText, std::string& plainText) {
    std::string output;
    try {
        output.reserve(rtfText.size());
    } catch (const std::bad_alloc&) {
        return false;
    }
    if (parseRtf(rtfText, output) != RtfResult::Ok) return false;
    plainText = std::move(output);
    return true;
}

}  // namespace modshelf::reports
