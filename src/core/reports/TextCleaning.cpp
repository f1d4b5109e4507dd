#include "core/reports/TextCleaning.h"

#include <string_view>

namespace modshelf::reports {

namespace {

bool isWhiteSpace(char c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\v' || c == '\f';
}

// Replaces every occurrence of `from` in one left-to-right pass: what a
// replacement produces is not looked at again.
std::string replaceAll(const std::string& text, std::string_view from, std::string_view to) {
    if (text.find(from) == std::string::npos) return text;
    std::string out;
    out.reserve(text.size());
    std::size_t pos = 0;
    for (std::size_t found; (found = text.find(from, pos)) != std::string::npos;) {
        out.append(text, pos, found - pos);
        out.append(to);
        pos = found + from.size();
    }
    out.append(text, pos, std::string::npos);
    return out;
}

// Line feeds become "\r\n"; one that already follows a carriage return is
// left alone, so that a text stored with Windows line ends does not get
// "\r\r\n".
std::string windowsLineEnds(const std::string& text) {
    std::string out;
    out.reserve(text.size() + text.size() / 16);
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\n' && (i == 0 || text[i - 1] != '\r')) out += '\r';
        out += text[i];
    }
    return out;
}

std::string cleanText(std::string text, CodePage codePage, bool forDisplay) {
    if (text.empty()) return text;
    std::size_t first = 0;
    while (first < text.size() && isWhiteSpace(text[first])) ++first;
    std::size_t end = text.size();
    while (end > first && isWhiteSpace(text[end - 1])) --end;
    text = text.substr(first, end - first);

    for (char& c : text)
        if (c == '\t') c = ' ';
    text = replaceAll(text, "  ", " ");
    text = replaceAll(text, "\n\n\n", "\n\n");
    text = windowsLineEnds(text);
    if (codePage == CodePage::SingleByte) {
        text = replaceAll(text, "\xC2\xA9", "\xA9");
        text = replaceAll(text, "\xC2\xAE", "\xAE");
    }
    if (forDisplay) text = replaceAll(text, "&", "&&");
    return replaceAll(text, "\xE2\x80\x99", "'");
}

}  // namespace

std::string CleanTextForDisplay(std::string text, CodePage codePage) {
    return cleanText(std::move(text), codePage, true);
}

std::string CleanTextForFile(std::string text, CodePage codePage) {
    return cleanText(std::move(text), codePage, false);
}

}  // namespace modshelf::reports
