#pragma once

#include <cstddef>
#include <istream>
#include <memory>
#include <string>

namespace modshelf::dialogs {
class Prompter;
}

namespace modshelf::settings {

// What one step of the reader produced.
enum XmlEvent {
    kXmlNone = 0,         // characters consumed without completing an item
    kXmlStartTag = 1,     // GetElementName
    kXmlEndTag = 2,       // GetElementName; also the "/>" of an empty element
    kXmlAttribute = 3,    // GetAttributeName, GetAttributeValue
    kXmlText = 4,         // GetText, per line
    kXmlDeclaration = 5,  // GetDeclaration: a "<?" or "<!" tag name
    kXmlComment = 6,      // a comment's start or continuation line
    kXmlCData = 7,        // a CDATA section's start or continuation line
};

// A small pull parser: reads an XML file line by line and hands out one event
// per step. It builds no tree and checks no matching of tags; names and values
// come out as the bytes of the file (entities are the caller's business).
//
// A tag name or attribute name may not run over a line break; an attribute
// value may, and each line break inside it reads as "\r\n".
//
// Because backups come from anywhere, the reader refuses what no backup of
// ours holds before it can cost memory or time: lines and attribute values
// over a size limit, elements nested too deeply, and text that is not UTF-8.
class XmlReader {
public:
    static constexpr std::size_t kMaxLineLength = 1 << 20;
    static constexpr std::size_t kMaxValueLength = 1 << 20;
    static constexpr int kMaxDepth = 64;

    XmlReader();
    ~XmlReader();
    XmlReader(const XmlReader&) = delete;
    XmlReader& operator=(const XmlReader&) = delete;

    // Sets the file to read; ignored while a file is open. Always true.
    bool SetFile(const std::string& path);
    // Reads from the given bytes instead of a file (for callers that hold
    // the text already).
    void SetText(std::string text);
    // With a prompter, each parse error is also shown in its plain message box.
    void SetShowErrors(dialogs::Prompter* prompter) { prompter_ = prompter; }

    // One step. True while there is input; false at the end, when the file
    // cannot be opened, or after a parse error (GetErrorText tells which).
    bool Next();
    // Closes the input; the next Next starts again from the first line.
    bool Close();

    int GetEvent() const { return event_; }
    const std::string& GetElementName() const { return elementName_; }
    const std::string& GetAttributeName() const { return attributeName_; }
    const std::string& GetAttributeValue() const { return attributeValue_; }
    const std::string& GetText() const { return text_; }
    const std::string& GetDeclaration() const { return declaration_; }
    int GetLineNumber() const { return lineNumber_; }
    // "Parse error in line %d : (%s)" after a parse error; empty otherwise.
    const std::string& GetErrorText() const { return errorText_; }
    bool HadError() const { return !errorText_.empty(); }
    // True when the input ended inside a tag, a value, a comment or CDATA:
    // the file was cut short.
    bool EndedInsideMarkup() const { return inTag_ || expectingValue_ || inComment_ || inCData_; }

private:
    bool open();
    // Reads the next line without its line end; false at the end of input or
    // when the line is refused (errorText_ holds the bare message then).
    bool readLine();
    // One step over the current line; false with errorText_ on a parse error.
    bool step();
    bool stepValue();
    bool stepMarkup();
    bool stepTagOpen();
    bool fail(const std::string& message);

    std::string filePath_;
    std::string memoryText_;
    bool fromMemory_ = false;
    std::unique_ptr<std::istream> input_;
    static constexpr std::size_t kChunkSize = 1 << 16;
    std::string chunk_;  // read ahead from the input
    std::size_t chunkPos_ = 0;
    bool isOpen_ = false;
    dialogs::Prompter* prompter_ = nullptr;

    std::string line_;
    long position_ = -1;
    int lineNumber_ = 0;
    int event_ = kXmlNone;
    std::string errorText_;

    std::string elementName_;
    std::string text_;
    std::string attributeName_;
    std::string attributeValue_;
    std::string declaration_;

    bool inTag_ = false;
    bool expectingValue_ = false;
    bool valueStarted_ = false;  // the opening quote (or first character) was read
    char quote_ = 0;             // the value's quote; 0 for a value without quotes
    bool attributeNamed_ = false;
    bool inComment_ = false;
    bool inCData_ = false;
    bool inText_ = false;
    int depth_ = 0;
};

}  // namespace modshelf::settings
