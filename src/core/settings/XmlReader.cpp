#include "core/settings/XmlReader.h"

#include <algorithm>
#include <cstdio>
#include <fstream>
#include <sstream>

#include "core/dialogs/Prompter.h"
#include "core/settings/XmlEscaping.h"

namespace modshelf::settings {

namespace {

bool isBlank(char c) {
    return c == ' ' || c == '\t' || c == '\r' || c == '\n';
}
}  // namespace

XmlReader::XmlReader() = default;
XmlReader::~XmlReader() = default;

bool XmlReader::SetFile(const std::string& path) {
    if (!isOpen_) {
        filePath_ = path;
        fromMemory_ = false;
    }
    return true;
}

void XmlReader::SetText(std::string text) {
    if (isOpen_) return;
    memoryText_ = std::move(text);
    fromMemory_ = true;
}

bool XmlReader::open() {
    if (fromMemory_) {
        input_ = std::make_unique<std::istringstream>(memoryText_);
    } else {
        auto file = std::make_unique<std::ifstream>(filePath_, std::ios::binary);
        if (!file->is_open()) return false;
        input_ = std::move(file);
    }
    isOpen_ = true;
    chunk_.clear();
    chunkPos_ = 0;
    position_ = -1;
    lineNumber_ = 0;
    event_ = kXmlNone;
    errorText_.clear();
    elementName_.clear();
    text_.clear();
    attributeName_.clear();
    attributeValue_.clear();
    declaration_.clear();
    inTag_ = expectingValue_ = valueStarted_ = attributeNamed_ = false;
    inComment_ = inCData_ = inText_ = false;
    quote_ = 0;
    depth_ = 0;
    return true;
}

bool XmlReader::Close() {
    input_.reset();
    isOpen_ = false;
    prompter_ = nullptr;
    return true;
}

bool XmlReader::fail(const std::string& message) {
    errorText_ = message;
    return false;
}

bool XmlReader::readLine() {
    line_.clear();
    bool any = false;
    while (true) {
        if (chunkPos_ >= chunk_.size()) {
            chunk_.resize(kChunkSize);
            const auto got = input_->rdbuf()->sgetn(chunk_.data(), kChunkSize);
            chunk_.resize(got > 0 ? static_cast<std::size_t>(got) : 0);
            chunkPos_ = 0;
            if (chunk_.empty()) break;  // the end of the input
        }
        any = true;
        const auto newline = chunk_.find('\n', chunkPos_);
        const std::size_t end = newline == std::string::npos ? chunk_.size() : newline;
        if (line_.size() + (end - chunkPos_) > kMaxLineLength) {
            ++lineNumber_;
            return fail("Line too long");
        }
        line_.append(chunk_, chunkPos_, end - chunkPos_);
        chunkPos_ = end;
        if (newline != std::string::npos) {
            ++chunkPos_;
            break;
        }
    }
    if (!any) return false;
    ++lineNumber_;
    if (!line_.empty() && line_.back() == '\r') line_.pop_back();
    if (!isValidUtf8(line_)) return fail("Text that is not UTF-8");
    position_ = 0;
    return true;
}

bool XmlReader::Next() {
    if (!isOpen_ && !open()) return false;
    if (!errorText_.empty()) return false;
    bool ok = true;
    if (position_ == -1) {
        ok = readLine();
        if (!ok && errorText_.empty()) return false;  // the end of the input
    }
    if (ok) ok = step();
    if (ok) return true;

    char formatted[64];
    std::snprintf(formatted, sizeof formatted, "Parse error in line %d : (", lineNumber_);
    errorText_ = formatted + errorText_ + ")";
    if (prompter_) prompter_->plainMessage(errorText_, "Modshelf");
    return false;
}

bool XmlReader::step() {
    event_ = kXmlNone;
    const long last = static_cast<long>(line_.size()) - 1;
    // Inside a quoted value every line, an empty one too, adds to the value.
    if (expectingValue_ && valueStarted_ && quote_) return stepValue();
    if (position_ > last) {
        position_ = -1;
        return true;
    }
    if (inTag_ && !expectingValue_) {
        while (position_ <= last && isBlank(line_[position_])) ++position_;
        if (position_ > last) {
            position_ = -1;
            return true;
        }
    }
    if (inComment_ || inCData_) {
        const auto end = line_.find(inComment_ ? "-->" : "]]>", position_);
        if (end != std::string::npos) {
            position_ = static_cast<long>(end) + 3;
            inTag_ = expectingValue_ = inComment_ = inCData_ = false;
            inText_ = true;
            text_.clear();
        } else {
            event_ = inComment_ ? kXmlComment : kXmlCData;
            position_ = last + 1;
        }
        return true;
    }
    if (expectingValue_) return stepValue();
    if (inText_) {
        const char here = line_[position_];
        if (here == '\r' || here == '\n') {  // a stray line end inside a line
            ++position_;
            return true;
        }
        auto stop = line_.find_first_of("<\r\n", position_);
        if (stop == std::string::npos) stop = line_.size();
        text_.assign(line_, position_, stop - position_);
        if (stop < line_.size() && line_[stop] == '<') inText_ = false;
        if (!text_.empty()) event_ = kXmlText;
        position_ = static_cast<long>(stop);
        return true;
    }
    return stepMarkup();
}

bool XmlReader::stepValue() {
    const long last = static_cast<long>(line_.size()) - 1;
    if (!valueStarted_) {
        while (position_ <= last && isBlank(line_[position_])) ++position_;
        if (position_ > last) return true;  // the value starts on a later line
        const char c = line_[position_];
        quote_ = (c == '"' || c == '\'') ? c : 0;
        if (quote_) ++position_;
        valueStarted_ = true;
        attributeValue_.clear();
        return true;
    }
    const auto from = static_cast<std::size_t>(std::min(position_, last + 1));
    const auto stop = quote_ ? line_.find(quote_, from) : line_.find_first_of(" \t\r\n>", from);
    const std::size_t end = stop == std::string::npos ? line_.size() : stop;
    if (attributeValue_.size() + (end - from) + 2 > kMaxValueLength)
        return fail("Attribute value too long");
    attributeValue_.append(line_, from, end - from);
    if (stop == std::string::npos && quote_) {
        // The value goes on in the next line.
        attributeValue_ += "\r\n";
        position_ = -1;
        return true;
    }
    event_ = kXmlAttribute;
    expectingValue_ = valueStarted_ = attributeNamed_ = false;
    position_ = static_cast<long>(end) + (quote_ && stop != std::string::npos ? 1 : 0);
    return true;
}

bool XmlReader::stepMarkup() {
    const long last = static_cast<long>(line_.size()) - 1;
    const char c = line_[position_];
    switch (c) {
        case '<':
            return stepTagOpen();
        case '?':
            ++position_;
            return true;
        case '/':
            ++position_;
            while (position_ <= last && !isBlank(line_[position_]) && line_[position_] != '>')
                ++position_;
            event_ = kXmlEndTag;
            if (depth_ > 0) --depth_;
            return true;
        case '>':
            inTag_ = expectingValue_ = attributeNamed_ = false;
            inText_ = true;
            text_.clear();
            ++position_;
            return true;
        default:
            break;
    }
    if (!inTag_) return fail("Syntax error");
    if (c == '=') {
        if (!attributeNamed_) return fail("Missing attribute name before '='");
        expectingValue_ = true;
        valueStarted_ = false;
        ++position_;
        return true;
    }
    auto stop = line_.find_first_of(" \t\r\n=>/", position_);
    if (stop == std::string::npos) stop = line_.size();
    attributeName_.assign(line_, position_, stop - position_);
    attributeValue_.clear();
    attributeNamed_ = true;
    position_ = static_cast<long>(stop);
    return true;
}

bool XmlReader::stepTagOpen() {
    if (inTag_) return fail("Bad '<' symbol");
    inTag_ = true;
    expectingValue_ = valueStarted_ = attributeNamed_ = false;
    inComment_ = inCData_ = inText_ = false;
    const long last = static_cast<long>(line_.size()) - 1;
    ++position_;
    while (position_ <= last && line_[position_] == ' ') ++position_;
    if (position_ > last) return fail("'<' symbol not allowed at the end of a line");

    const std::string_view rest = std::string_view(line_).substr(position_);
    if (rest.starts_with("!--")) {
        event_ = kXmlComment;
        inComment_ = true;
        position_ += 3;
        return true;
    }
    if (rest.starts_with("![CDATA[")) {
        event_ = kXmlCData;
        inCData_ = true;
        position_ += 8;
        return true;
    }
    long end = position_;
    while (end <= last) {
        const char ch = line_[end];
        if (isBlank(ch) || ch == '>' || (ch == '/' && end != position_)) break;
        ++end;
    }
    std::string name = line_.substr(position_, end - position_);
    position_ = end;
    if (name.empty()) return fail("Empty element name");
    if (name[0] == '!' || name[0] == '?') {
        event_ = kXmlDeclaration;
        declaration_ = std::move(name);
        elementName_.clear();
    } else if (name[0] == '/') {
        event_ = kXmlEndTag;
        elementName_ = name.substr(1);
        if (depth_ > 0) --depth_;
    } else {
        event_ = kXmlStartTag;
        elementName_ = std::move(name);
        if (++depth_ > kMaxDepth) return fail("Elements nested too deeply");
    }
    return true;
}

}  // namespace modshelf::settings
