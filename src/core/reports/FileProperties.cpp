#include "core/reports/FileProperties.h"

#include <array>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <string_view>
#include <system_error>

#include "core/dialogs/MessageBoxParams.h"
#include "core/dialogs/Prompter.h"
#include "core/host/HostFolders.h"
#include "core/modules/ListFormat.h"
#include "core/modules/ModuleDetails.h"
#include "core/modules/ModuleKind.h"
#include "core/reports/RtfToText.h"
#include "core/reports/TextCleaning.h"
#include "core/text/AsciiText.h"

namespace modshelf::reports {

namespace {

namespace fs = std::filesystem;

// The display report shows this much of the comments; the rest is marked "[...]".
constexpr std::size_t kDisplayedCommentCharacters = 750;

struct KindGuess {
    std::string_view extension;
    std::string_view line;
};

constexpr std::array<KindGuess, 11> kKindGuesses = {{
    {".anlx", "The module is likely a Verse Analysis module"},
    {".brpx", "The module is likely a Bible Reading Plan module"},
    {".illx", "The module is likely a Sermon Illustration module"},
    {".jnlx", "The module is likely a User Journal module"},
    {".lstx", "The module is likely a Verse List module"},
    {".memx", "The module is likely a Memory Verse module"},
    {".notx", "The module is likely a User Notes module"},
    {".ovlx", "The module is likely a Markup Overlay module"},
    {".prlx", "The module is likely a Prayer List module"},
    {".refx", "The module is likely a Reference Book module"},
    {".topx", "The module is likely a Topical Book module"},
}};

bool isModuleFile(const std::string& name) {
    return modules::isModuleKind(modules::classify(name));
}

std::string lowerExtension(const std::string& name) {
    if (name.size() < 5) return {};
    return text::lowerAscii(name.substr(name.size() - 5));
}

struct FileEntry {
    std::uint32_t size = 0;  // as a 32-bit directory entry holds it
    std::time_t modified = 0;
};

// The file's directory entry; nothing when there is no such entry.
std::optional<FileEntry> findFile(const std::string& path) {
    std::error_code error;
    const fs::file_status status = fs::status(path, error);
    if (error || !fs::exists(status)) return std::nullopt;
    FileEntry entry;
    if (fs::is_regular_file(status)) {
        const std::uintmax_t size = fs::file_size(path, error);
        if (!error) entry.size = static_cast<std::uint32_t>(size);
    }
    const auto written = fs::last_write_time(path, error);
    if (!error) {
        const auto system = std::chrono::file_clock::to_sys(written);
        entry.modified = std::chrono::system_clock::to_time_t(system);
    }
    return entry;
}

// Module files are read only when they are regular files: a fifo or a device
// named like a module would block the reader.
modules::ModuleDetails readDetailsOf(const std::string& path) {
    std::error_code error;
    if (!fs::is_regular_file(path, error)) return {};
    return modules::readModuleDetails(path);
}

std::string commentsText(const std::string& rtf, CodePage codePage) {
    std::string plain;
    ConvertRtfToText(rtf, plain);
    // Hex escapes give single bytes of the document's Windows code page.
    if (codePage == CodePage::Utf8) plain = windows1252BytesToUtf8(plain);
    return plain;
}

std::string commentsSection(const std::string& comments, ReportUse use, CodePage codePage) {
    if (use == ReportUse::File)
        return "\r\n\r\nThe comments for this module consist of the following :\r\n\r\n" +
               comments + "\r\n\r\n";
    if (characterCount(comments, codePage) <= kDisplayedCommentCharacters)
        return "\n\nThe comments for this module consist of the following :\n\n" + comments + "  ";
    const std::size_t cut = bytesOfFirstCharacters(comments, kDisplayedCommentCharacters, codePage);
    return "\n\nThe comments for this module include the following :\n\n" +
           comments.substr(0, cut) + "  [...]  ";
}

std::string moduleSections(const modules::ModuleDetails& details, ReportUse use, CodePage codePage,
                           modules::ModuleDetails* latest) {
    const bool display = use == ReportUse::Display;
    const char* gap = display ? "\n\n" : "\r\n\r\n";
    std::string body;
    if (!details.tabName.empty())
        body += std::string(gap) + "The Scrivel tab name for this module is :  " + details.tabName;
    if (!details.description.empty())
        body += std::string(gap) + "The description for this module is :  " +
                (display ? CleanTextForDisplay(details.description, codePage)
                         : CleanTextForFile(details.description, codePage));
    std::string comments = commentsText(details.comments, codePage);
    comments =
        display ? CleanTextForDisplay(comments, codePage) : CleanTextForFile(comments, codePage);
    if (!comments.empty()) body += commentsSection(comments, use, codePage);
    if (latest) *latest = details;
    return body;
}

FileReport buildReport(const std::string& folder, const SelectedFile& file, ReportUse use,
                       CodePage codePage, modules::ModuleDetails* latest) {
    const bool display = use == ReportUse::Display;
    const char* gap = display ? "\n\n" : "\r\n\r\n";
    const std::string fullPath = host::ensureTrailingSeparator(folder) + file.diskName;
    FileReport report;
    std::string body;
    if (const std::optional<FileEntry> entry = findFile(fullPath)) {
        body = "The file size is " + modules::FormatThousands(entry->size) + " bytes" + gap;
        std::tm local{};
        if (localtime_r(&entry->modified, &local)) body += modifiedLine(local);
        report.isModule = isModuleFile(file.diskName);
        if (report.isModule) body += moduleSections(readDetailsOf(fullPath), use, codePage, latest);
    }
    const std::string kind = report.isModule ? "Module Information for " : "File Information for ";
    report.text = kind + fullPath + " is as follows :" + gap;
    if (display && report.isModule) {
        const std::string guess = kindGuessLine(file.diskName);
        if (!guess.empty()) report.text += guess + gap;
    }
    report.text += body;
    report.caption = " " + kind + file.listedName;
    return report;
}

// The notice for an empty selection; clears the selected path.
void noticeNothingSelected(ReportContext& context) {
    context.selectedModulePath.clear();
    context.prompter.messageBox("No file is currently selected.", " No File Selected",
                                dialogs::mb::kOk, dialogs::standardParams(true, 3));
}

// The title and selected path follow the reported file.
void followSelection(ReportContext& context, const SelectedFile& file) {
    const std::string folder = host::ensureTrailingSeparator(context.currentFolder);
    context.selectedModulePath = folder + file.diskName;
    if (context.setTitle) context.setTitle(context.titlePrefix + folder + file.listedName);
}

}  // namespace

std::string modifiedLine(const std::tm& localTime) {
    const int hour = localTime.tm_hour % 12 == 0 ? 12 : localTime.tm_hour % 12;
    char buffer[96];
    std::snprintf(buffer, sizeof buffer,
                  "The file was last modified on %02d/%02d/%02d at %02d:%02d %cM",
                  localTime.tm_mon + 1, localTime.tm_mday, (localTime.tm_year + 1900) % 100, hour,
                  localTime.tm_min, localTime.tm_hour < 12 ? 'A' : 'P');
    return buffer;
}

std::string kindGuessLine(const std::string& fileName) {
    const std::string extension = lowerExtension(fileName);
    for (const KindGuess& guess : kKindGuesses)
        if (guess.extension == extension) return std::string(guess.line);
    return {};
}

FileReport buildFileReport(const std::string& folder, const SelectedFile& file, ReportUse use,
                           CodePage codePage) {
    return buildReport(folder, file, use, codePage, nullptr);
}

void ShowFileProperties(ReportContext& context, const std::optional<SelectedFile>& selected) {
    if (!selected) {
        noticeNothingSelected(context);
        return;
    }
    followSelection(context, *selected);
    const FileReport report = buildReport(context.currentFolder, *selected, ReportUse::Display,
                                          systemCodePage(), &context.moduleDetails);
    context.prompter.messageBox(report.text, report.caption, dialogs::mb::kOk,
                                dialogs::standardParams(true, 0));
}

std::string BuildFilePropertiesText(ReportContext& context,
                                    const std::optional<SelectedFile>& selected) {
    if (!selected) {
        noticeNothingSelected(context);
        return {};
    }
    followSelection(context, *selected);
    return buildReport(context.currentFolder, *selected, ReportUse::File, systemCodePage(),
                       &context.moduleDetails)
        .text;
}

}  // namespace modshelf::reports
