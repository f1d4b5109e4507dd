#include "core/text/AsciiText.h"

namespace modshelf::text {

std::string lowerAscii(std::string text) {
    for (char& c : text) c = lowerAscii(c);
    return text;
}

std::string trimmed(std::string_view text) {
    std::size_t begin = 0;
    std::size_t end = text.size();
    while (begin < end && isBlank(text[begin])) ++begin;
    while (end > begin && isBlank(text[end - 1])) --end;
    return std::string(text.substr(begin, end - begin));
}

}  // namespace modshelf::text
