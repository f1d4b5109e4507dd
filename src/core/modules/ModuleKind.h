#pragma once

#include <array>
#include <optional>
#include <string_view>

namespace modshelf::modules {

// The seventeen kinds of Scrivel module, in the order of their filter
// commands, plus Unknown for every other file.
enum class ModuleKind {
    Bible,
    Commentary,
    Devotional,
    Dictionary,
    Graphics,
    Harmony,
    Illustrations,
    Journal,
    MemoryVerse,
    Notes,
    Overlay,
    PrayerList,
    ReadingPlan,
    Reference,
    Topical,
    VerseAnalysis,
    VerseList,
    Unknown
};
inline constexpr int kModuleKindCount = 17;

// Where a kind's active flags are stored; only three kinds are ever activated.
enum class ActivationCategory { None, Bibles, Commentaries, Dictionaries };

struct ModuleKindInfo {
    ModuleKind kind;
    std::string_view extension;     // five characters, lower case, with the dot
    std::string_view listTypeName;  // the "Module Type" column
    std::string_view sortTypeName;  // the key when sorting by type
    int filterCommand;              // the kind's show/hide toggle
    std::string_view menuLabel;     // that toggle's label in the "Modules" menu
    bool readsDetails;              // the list reads the module's Details
    ActivationCategory category;
};

// The module type table, one row per kind in enumeration order.
const std::array<ModuleKindInfo, kModuleKindCount>& moduleKindTable();

// The kind of a file by the last five characters of its lower-cased name.
ModuleKind classify(std::string_view fileName);
bool isModule(std::string_view fileName);
inline bool isModuleKind(ModuleKind kind) {
    return kind != ModuleKind::Unknown;
}

// The table's columns; Unknown gives empty texts, no command (0), no details
// and no category. Unknown's sort name is "ZZZZZ" (ascending order).
std::string_view extension(ModuleKind kind);
std::string_view listTypeName(ModuleKind kind);
std::string_view sortTypeName(ModuleKind kind);
int filterCommand(ModuleKind kind);
std::string_view menuLabel(ModuleKind kind);
bool readsDetails(ModuleKind kind);
ActivationCategory activationCategory(ModuleKind kind);

// The kind whose toggle is `command` (40041 to 40057).
std::optional<ModuleKind> kindOfFilterCommand(int command);

// "Bibles", "Commentaries", "Dictionaries"; empty for None.
std::string_view categoryKeyName(ActivationCategory category);

// The category of a list type name read back from the list ("bible",
// "commentary", "dictionary" in any case).
ActivationCategory categoryOfListTypeName(std::string_view typeName);

}  // namespace modshelf::modules
