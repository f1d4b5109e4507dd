#pragma once

#include <cstdio>
#include <string>
#include <utility>
#include <vector>

namespace modshelf::settings {

// One element to write: a name and attributes in the order they were added.
class XmlElement {
public:
    explicit XmlElement(std::string name) : name_(std::move(name)) {}
    // Adding an attribute whose name is already there replaces its value.
    XmlElement& attribute(const std::string& name, const std::string& value);

    const std::string& name() const { return name_; }
    const std::vector<std::pair<std::string, std::string>>& attributes() const {
        return attributes_;
    }

private:
    std::string name_;
    std::vector<std::pair<std::string, std::string>> attributes_;
};

// Writes the backup file: lines ended by "\r\n", the declaration first, each
// element indented by one space per nesting level. Attribute values are
// written as given; escaping them is the caller's job.
//
// The file is created (or emptied) on the first write. Failures are kept, not
// thrown: ok() tells whether everything so far reached the file.
class XmlWriter {
public:
    explicit XmlWriter(std::string path) : path_(std::move(path)) {}
    ~XmlWriter();
    XmlWriter(const XmlWriter&) = delete;
    XmlWriter& operator=(const XmlWriter&) = delete;

    void WriteText(const std::string& text);
    void WriteStartTag(const XmlElement& element);
    void WriteEmptyElement(const XmlElement& element);
    void WriteEndTag(const std::string& name);
    // Flushes and closes the file. False when any write failed.
    bool Close();

    bool ok() const { return ok_; }
    int level() const { return level_; }
    const std::string& path() const { return path_; }

private:
    void writeTag(const XmlElement& element, bool empty);
    void flush();

    std::string path_;
    std::FILE* file_ = nullptr;
    bool declared_ = false;
    bool ok_ = true;
    int level_ = 0;
    std::string buffer_;
};

}  // namespace modshelf::settings
