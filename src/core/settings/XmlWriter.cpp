#include "core/settings/XmlWriter.h"

namespace modshelf::settings {

namespace {
constexpr const char* kDeclaration = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\r\n";
constexpr std::size_t kFlushSize = 1 << 16;
}  // namespace

XmlElement& XmlElement::attribute(const std::string& name, const std::string& value) {
    for (auto& existing : attributes_) {
        if (existing.first == name) {
            existing.second = value;
            return *this;
        }
    }
    attributes_.emplace_back(name, value);
    return *this;
}

XmlWriter::~XmlWriter() {
    Close();
}

void XmlWriter::WriteText(const std::string& text) {
    if (!declared_) {
        declared_ = true;
        file_ = std::fopen(path_.c_str(), "wb");
        if (!file_) ok_ = false;
        buffer_ += kDeclaration;
    }
    buffer_ += text;
    if (buffer_.size() >= kFlushSize) flush();
}

void XmlWriter::writeTag(const XmlElement& element, bool empty) {
    ++level_;
    std::string line(static_cast<std::size_t>(level_), ' ');
    line += '<';
    line += element.name();
    for (const auto& [name, value] : element.attributes()) {
        line += ' ';
        line += name;
        line += "=\"";
        line += value;
        line += '"';
    }
    line += empty ? "/>\r\n" : ">\r\n";
    WriteText(line);
    if (empty) --level_;
}

void XmlWriter::WriteStartTag(const XmlElement& element) {
    writeTag(element, false);
}

void XmlWriter::WriteEmptyElement(const XmlElement& element) {
    writeTag(element, true);
}

void XmlWriter::WriteEndTag(const std::string& name) {
    std::string line(static_cast<std::size_t>(level_ > 0 ? level_ : 0), ' ');
    line += "</";
    line += name;
    line += ">\r\n";
    WriteText(line);
    --level_;
}

void XmlWriter::flush() {
    if (file_ && !buffer_.empty() &&
        std::fwrite(buffer_.data(), 1, buffer_.size(), file_) != buffer_.size())
        ok_ = false;
    buffer_.clear();
}

bool XmlWriter::Close() {
    if (!declared_) return ok_;
    flush();
    if (file_) {
        if (std::fclose(file_) != 0) ok_ = false;
        file_ = nullptr;
    }
    declared_ = false;
    return ok_;
}

}  // namespace modshelf::settings
