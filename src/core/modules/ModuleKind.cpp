#include "core/modules/ModuleKind.h"

#include <cctype>
#include <string>

namespace modshelf::modules {

namespace {

using AC = ActivationCategory;
using MK = ModuleKind;

constexpr std::array<ModuleKindInfo, kModuleKindCount> kTable = {{
    {MK::Bible, ".bblx", "Bible", "Bible", 40041, "Bibles", true, AC::Bibles},
    {MK::Commentary, ".cmtx", "Commentary", "Commentary", 40042, "Commentaries", true,
     AC::Commentaries},
    {MK::Devotional, ".devx", "Devotional", "Devotional", 40043, "Devotionals", true, AC::None},
    {MK::Dictionary, ".dctx", "Dictionary", "Dictionary", 40044, "Dictionaries", true,
     AC::Dictionaries},
    {MK::Graphics, ".mapx", "Graphics", "Graphics", 40045, "Graphics Modules", true, AC::None},
    {MK::Harmony, ".harx", "Harmony", "Harmony", 40046, "Gospel Harmonies", true, AC::None},
    {MK::Illustrations, ".illx", "Illustrations", "Illustrations", 40047, "Illustrations", false,
     AC::None},
    {MK::Journal, ".jnlx", "User Journal", "Journal File", 40048, "Journal Files", false, AC::None},
    {MK::MemoryVerse, ".memx", "Memory Verse", "Memory Verse", 40049, "Memory Verse Modules", false,
     AC::None},
    {MK::Notes, ".notx", "User Notes", "Note File", 40050, "Note Files", false, AC::None},
    {MK::Overlay, ".ovlx", "Overlay File", "Overlay File", 40051, "Overlay Files", false, AC::None},
    {MK::PrayerList, ".prlx", "Prayer List", "Prayer List", 40052, "Prayer Lists", false, AC::None},
    {MK::ReadingPlan, ".brpx", "Reading Plan", "Reading Plan", 40053, "Reading Plans", false,
     AC::None},
    {MK::Reference, ".refx", "Reference Book", "Reference", 40054, "Reference Files", false,
     AC::None},
    {MK::Topical, ".topx", "Topical File", "Topic File", 40055, "Topic Modules", false, AC::None},
    {MK::VerseAnalysis, ".anlx", "Verse Analysis", "Verse Analysis", 40056,
     "Verse Analysis Modules", false, AC::None},
    {MK::VerseList, ".lstx", "Verse List", "Verse List", 40057, "Verse Lists", false, AC::None},
}};

const ModuleKindInfo* info(ModuleKind kind) {
    auto index = static_cast<std::size_t>(kind);
    return index < kTable.size() ? &kTable[index] : nullptr;
}

bool equalsNoCase(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        if (std::tolower(static_cast<unsigned char>(a[i])) !=
            std::tolower(static_cast<unsigned char>(b[i])))
            return false;
    }
    return true;
}

}  // namespace

const std::array<ModuleKindInfo, kModuleKindCount>& moduleKindTable() {
    return kTable;
}

ModuleKind classify(std::string_view fileName) {
    if (fileName.size() < 5) return ModuleKind::Unknown;
    char tail[5];
    for (std::size_t i = 0; i < 5; ++i) {
        tail[i] = static_cast<char>(
            std::tolower(static_cast<unsigned char>(fileName[fileName.size() - 5 + i])));
    }
    const std::string_view last(tail, 5);
    for (const ModuleKindInfo& row : kTable) {
        if (row.extension == last) return row.kind;
    }
    return ModuleKind::Unknown;
}

bool isModule(std::string_view fileName) {
    return classify(fileName) != ModuleKind::Unknown;
}

std::string_view extension(ModuleKind kind) {
    const ModuleKindInfo* row = info(kind);
    return row ? row->extension : std::string_view{};
}

std::string_view listTypeName(ModuleKind kind) {
    const ModuleKindInfo* row = info(kind);
    return row ? row->listTypeName : std::string_view{};
}

std::string_view sortTypeName(ModuleKind kind) {
    const ModuleKindInfo* row = info(kind);
    return row ? row->sortTypeName : std::string_view{"ZZZZZ"};
}

int filterCommand(ModuleKind kind) {
    const ModuleKindInfo* row = info(kind);
    return row ? row->filterCommand : 0;
}

std::string_view menuLabel(ModuleKind kind) {
    const ModuleKindInfo* row = info(kind);
    return row ? row->menuLabel : std::string_view{};
}

bool readsDetails(ModuleKind kind) {
    const ModuleKindInfo* row = info(kind);
    return row && row->readsDetails;
}

ActivationCategory activationCategory(ModuleKind kind) {
    const ModuleKindInfo* row = info(kind);
    return row ? row->category : ActivationCategory::None;
}

std::optional<ModuleKind> kindOfFilterCommand(int command) {
    for (const ModuleKindInfo& row : kTable) {
        if (row.filterCommand == command) return row.kind;
    }
    return std::nullopt;
}

std::string_view categoryKeyName(ActivationCategory category) {
    switch (category) {
        case ActivationCategory::Bibles:
            return "Bibles";
        case ActivationCategory::Commentaries:
            return "Commentaries";
        case ActivationCategory::Dictionaries:
            return "Dictionaries";
        case ActivationCategory::None:
            break;
    }
    return {};
}

ActivationCategory categoryOfListTypeName(std::string_view typeName) {
    if (equalsNoCase(typeName, "bible")) return ActivationCategory::Bibles;
    if (equalsNoCase(typeName, "commentary")) return ActivationCategory::Commentaries;
    if (equalsNoCase(typeName, "dictionary")) return ActivationCategory::Dictionaries;
    return ActivationCategory::None;
}

}  // namespace modshelf::modules
