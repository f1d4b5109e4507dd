#include "DemoRtf.h"

#include <cstdio>

namespace modshelf::demo {

namespace {

std::string hexEscape(unsigned char byte) {
    char buffer[8];
    std::snprintf(buffer, sizeof buffer, "\\'%02x", byte);
    return buffer;
}

const char* kHeader =
    "{\\rtf1\\ansi\\ansicpg1252\\deff0\\deflang1033"
    "{\\fonttbl{\\f0\\fswiss\\fcharset0 Arial;}{\\f1\\froman\\fprq2\\fcharset0 Times New Roman;}"
    "{\\f2\\fmodern\\fcharset0 Courier New;}}\r\n"
    "{\\colortbl ;\\red0\\green0\\blue128;\\red153\\green0\\blue0;\\red0\\green102\\blue0;}\r\n"
    "{\\*\\generator Riched20 6.3.9600;}\\viewkind4\\uc1 \r\n";

}  // namespace

std::string rtfEscape(std::string_view utf8) {
    std::string out;
    for (std::size_t i = 0; i < utf8.size(); ++i) {
        auto byte = static_cast<unsigned char>(utf8[i]);
        if (byte == '\\' || byte == '{' || byte == '}') {
            out += '\\';
            out += static_cast<char>(byte);
        } else if (byte < 0x80) {
            out += static_cast<char>(byte);
        } else if ((byte == 0xC2 || byte == 0xC3) && i + 1 < utf8.size()) {
            auto next = static_cast<unsigned char>(utf8[i + 1]);
            out += hexEscape(static_cast<unsigned char>(((byte & 0x03) << 6) | (next & 0x3F)));
            ++i;
        } else {
            // Skip the continuation bytes of a character that has no 1252 byte.
            while (i + 1 < utf8.size() &&
                   (static_cast<unsigned char>(utf8[i + 1]) & 0xC0) == 0x80) {
                ++i;
            }
            out += '?';
        }
    }
    return out;
}

std::string sampleComments(std::string_view tabName, std::string_view description, int variant) {
    const std::string title = rtfEscape(description);
    const std::string tab = rtfEscape(tabName);
    switch (((variant % kCommentVariants) + kCommentVariants) % kCommentVariants) {
        case 0:
            return std::string(kHeader) + "\\pard\\cf1\\b\\f0\\fs24 " + title +
                   "\\cf0\\b0\\fs20\\par\r\n\\par\r\n"
                   "Prepared for Scrivel by the Quorvel module team. Typesetting by Ren\\'e9"
                   "e Marchetti; proof-reading by the caf\\'e9 group of St. Aidan's.\\par\r\n"
                   "\\pard\\li360\\f1 Tab name: " +
                   tab + "\\par\r\n}\r\n";
        case 1:
            return std::string(kHeader) + "\\pard\\qc\\cf2\\b\\f1\\fs28 " + title +
                   "\\par\r\n\\pard\\cf0\\b0\\f0\\fs20 "
                   "Contents:\\tab Introduction\\par\r\n\\tab Text and notes\\par\r\n"
                   "\\tab Index of names\\par\r\n"
                   "The editors call this the \\ldblquote " +
                   tab +
                   " edition\\rdblquote ; braces \\{ like these \\} and a backslash \\\\ "
                   "are kept.\\par\r\n"
                   "\\cf3 Gr\\'fc\\'dfe from the translators.\\cf0\\par\r\n}\r\n";
        case 2:
            return "{\\rtf1\\ansi\\deff0{\\fonttbl{\\f0 Tahoma;}}\\pard\\f0\\fs18 " + title +
                   ".\\par Public domain text, checked against the printed edition.\\par}";
        case 3:
            return std::string(kHeader) +
                   "{\\*\\userprops {\\propname Source}\\proptype30{\\staticval scan}}"
                   "\\pard\\f0\\fs20 " +
                   title +
                   "\\line Version 2.1\\emdash revised.\\par\r\n"
                   "{\\pict\\wmetafile8\\picw100\\pich100 0100090000}"
                   "\\u8220?Quoted\\u8221? text, \\'a9 none.\\par\r\n}\r\n";
        default:
            // Some modules were made with tools that store plain text.
            return std::string(description) + ". Plain text comments, no formatting.";
    }
}

std::string longSampleComments(std::string_view description) {
    std::string rtf = std::string(kHeader) + "\\pard\\cf1\\b\\f0\\fs24 " + rtfEscape(description) +
                      "\\cf0\\b0\\fs20\\par\r\n\\par\r\n";
    static const char* const kSentences[] = {
        "This collection was gathered over many years from sermons preached in country "
        "churches, and each piece is given here as it was first written down.",
        "Where the speaker quoted Scripture from memory the wording has been left as it "
        "stands, with the chapter and verse added in brackets.",
        "Spelling has been made uniform, but the old turns of phrase have been kept, "
        "because they carry much of the charm of the originals.",
        "Readers who find an error are asked to write to the editors, so that the next "
        "printing may be corrected.",
    };
    for (int paragraph = 1; paragraph <= 48; ++paragraph) {
        rtf += "\\pard\\fi-360\\li360 " + std::to_string(paragraph) + ".\\tab ";
        for (int sentence = 0; sentence < 3; ++sentence) {
            rtf += kSentences[(paragraph + sentence) % 4];
            rtf += ' ';
        }
        if (paragraph % 7 == 0) rtf += "Caf\\'e9 conversations, na\\'efve questions. ";
        rtf += "\\par\r\n";
    }
    rtf += "}\r\n";
    return rtf;
}

}  // namespace modshelf::demo
