#pragma once

namespace modshelf::app::cmd {

// Numeric identifiers of every command of the menus, the toolbar and the
// context menus. Saved nowhere; they only have to agree across the program.

// View modes of the module list.
inline constexpr int kLargeIcons = 110;
inline constexpr int kSmallIcons = 111;
inline constexpr int kListMode = 112;
inline constexpr int kDetailsMode = 113;

inline constexpr int kAbout = 107;
inline constexpr int kFileProperties = 211;

inline constexpr int kLicense = 40013;

// Exports.
inline constexpr int kExportTabDelimited = 40023;
inline constexpr int kExportEvenColumns = 40024;
inline constexpr int kCopyListToClipboard = 40025;
inline constexpr int kCopyPropertiesToClipboard = 40026;
inline constexpr int kExportPropertiesToFile = 40027;

// Scrivel's process.
inline constexpr int kStopAndStartHost = 40029;
inline constexpr int kStopHost = 40131;
inline constexpr int kStartHost = 40132;

// Module type filters, one per kind (40041 to 40057), then "All" and "Only".
inline constexpr int kFilterBibles = 40041;
inline constexpr int kFilterCommentaries = 40042;
inline constexpr int kFilterDevotionals = 40043;
inline constexpr int kFilterDictionaries = 40044;
inline constexpr int kFilterGraphics = 40045;
inline constexpr int kFilterHarmonies = 40046;
inline constexpr int kFilterIllustrations = 40047;
inline constexpr int kFilterJournals = 40048;
inline constexpr int kFilterMemoryVerses = 40049;
inline constexpr int kFilterNotes = 40050;
inline constexpr int kFilterOverlays = 40051;
inline constexpr int kFilterPrayerLists = 40052;
inline constexpr int kFilterReadingPlans = 40053;
inline constexpr int kFilterReferences = 40054;
inline constexpr int kFilterTopics = 40055;
inline constexpr int kFilterVerseAnalysis = 40056;
inline constexpr int kFilterVerseLists = 40057;
inline constexpr int kFilterAll = 40076;
inline constexpr int kFilterOnly = 40077;

// Workspaces: rename 40081 + (k - 1), activate 40101 + (k - 1), k = 1 .. 15.
inline constexpr int kRenameWorkspaceFirst = 40081;
inline constexpr int kRenameWorkspaceLast = 40095;
inline constexpr int kActivateWorkspaceFirst = 40101;
inline constexpr int kActivateWorkspaceLast = 40115;
inline constexpr int kActivateAll = 40124;
inline constexpr int renameWorkspace(int k) {
    return kRenameWorkspaceFirst + k - 1;
}
inline constexpr int activateWorkspace(int k) {
    return kActivateWorkspaceFirst + k - 1;
}
// The workspace number of an "Activate Workspace NN" command, or 0.
inline constexpr int activatedWorkspace(int id) {
    return id >= kActivateWorkspaceFirst && id <= kActivateWorkspaceLast
               ? id - kActivateWorkspaceFirst + 1
               : 0;
}
inline constexpr bool isActivation(int id) {
    return id == kActivateAll || activatedWorkspace(id) != 0;
}
// Whether an activation command is offered with a tree node selected:
// "Activate Workspace NN" only on workspace NN (node kind NN), "Activate ALL"
// always.
inline constexpr bool activationEnabled(int id, int nodeKind) {
    return id == kActivateAll ||
           (activatedWorkspace(id) != 0 && activatedWorkspace(id) == nodeKind);
}

// Scrivel's module tab layout.
inline constexpr int kSingleTabRow = 40121;
inline constexpr int kMultiTabRows = 40122;

inline constexpr int kRefreshList = 40134;

// List display options.
inline constexpr int kGridLines = 40135;
inline constexpr int kFullRowSelect = 40136;
inline constexpr int kDragColumns = 40137;
inline constexpr int kLabelTips = 40138;
inline constexpr int kSortByColumn = 40140;

inline constexpr int kStayOnTop = 40141;
inline constexpr int kOpenExplorer = 40142;

// Help and web pages.
inline constexpr int kHelpContents = 40145;
inline constexpr int kHelpIndex = 40146;
inline constexpr int kOnlineHelp = 40147;
inline constexpr int kCheckNewVersion = 40149;
inline constexpr int kOfflineHelp = 40150;

// External SQLite editor.
inline constexpr int kOpenSqliteEditor = 40151;
inline constexpr int kConfigureSqliteEditor = 40152;

// Settings backup and restore.
inline constexpr int kBackupSettings = 40153;
inline constexpr int kRestoreSettings = 40154;

// Finding, comparing and undoing: the list's search box, the comparisons of
// workspaces, taking back the latest activation, and the workspace matrix.
inline constexpr int kFindModules = 40160;
inline constexpr int kCompareWithCurrent = 40161;
inline constexpr int kCompareWorkspaces = 40162;
inline constexpr int kUndoActivation = 40163;
inline constexpr int kWorkspaceMatrix = 40164;

// The framework's standard commands.
inline constexpr int kPrintSetup = 57606;
inline constexpr int kPrint = 57607;
inline constexpr int kPrintPreview = 57609;
inline constexpr int kExit = 57665;
inline constexpr int kShowToolBar = 59392;
inline constexpr int kShowStatusBar = 59393;

}  // namespace modshelf::app::cmd
