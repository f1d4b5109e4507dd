#include "core/app/CommandTable.h"

#include <cstdio>

#include "core/app/CommandIds.h"

namespace modshelf::app {

std::string CommandInfo::statusPrompt() const {
    const auto newline = prompt.find('\n');
    return newline == std::string::npos ? prompt : prompt.substr(0, newline);
}

std::string CommandInfo::toolTip() const {
    const auto newline = prompt.find('\n');
    return newline == std::string::npos ? std::string() : prompt.substr(newline + 1);
}

std::string CommandInfo::menuText() const {
    return shortcut.empty() ? text : text + "\t" + shortcut;
}

std::string CommandInfo::plainText() const {
    std::string plain;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '&' && i + 1 < text.size()) ++i;
        plain += text[i];
    }
    return plain;
}

namespace {

std::string twoDigits(int k) {
    char buffer[8];
    std::snprintf(buffer, sizeof buffer, "%02d", k);
    return buffer;
}

std::vector<CommandInfo> buildTable() {
    using namespace cmd;
    std::vector<CommandInfo> t = {
        {kFileProperties, "&Display File Properties", "",
         " Display the properties of a selected module or file\n File Properties ", "properties"},
        {kStartHost, "S&tart Scrivel", "",
         "Invoke Scrivel (in order to view changes)\n Start Scrivel ", "host-start"},
        {kStopHost, "&Stop Scrivel", "",
         "Close Scrivel if it is running (in order to make changes)\n Stop Scrivel ", "host-stop"},
        {kStopAndStartHost, "Sto&p and Start Scrivel", "",
         "Close Scrivel if running and then restart it (to view changes)\n Stop and Start Scrivel ",
         "host-restart"},
        {kOpenSqliteEditor, "&Open SQLite Editor", "",
         " Open the preferred SQLite editor to edit a selected Scrivel module\n Open SQLite "
         "Editor ",
         ""},
        {kConfigureSqliteEditor, "&Configure SQLite Editor", "",
         " Configure a preferred SQLite editor to edit Scrivel modules\n Configure SQLite Editor ",
         ""},
        {kPrint, "Print &Module List", "", " Print the module list ", "print"},
        {kPrintPreview, "Pr&int Preview", "", " Display a preview of printer output ", ""},
        {kPrintSetup, "P&rint Setup", "", " Change printer and printing options ", ""},
        {kOpenExplorer, "Open Explorer &Here", "",
         " Open Windows Explorer to this folder location\n Open Explorer ", "folder-open"},
        {kActivateAll, "&Activate ALL Modules", "",
         " Activate ALL modules the next time Scrivel starts ", "workspace-all"},
        {kExit, "&Exit Modshelf", "", " Terminate Modshelf ", ""},
        {kRefreshList, "&Refresh Files List", "F5",
         " Refresh the module files list\n Refresh Files List ", "refresh"},
        {kListMode, "Use List &View", "", " Display modules list in list view mode\n List View ",
         "view-list", true},
        {kDetailsMode, "Us&e Details View", "",
         " Display modules list in details view mode\n Details View ", "view-details", true},
        {kLargeIcons, "&Use Large Icons View", "",
         " Display modules list in large icons view mode\n Large Icons View ", "view-large-icons",
         true},
        {kSmallIcons, "Use Small &Icons View", "",
         " Display modules list in small icons view mode\n Small Icons View ", "view-small-icons",
         true},
        {kGridLines, "Show List &Gridlines", "",
         " Display gridlines around items and subitems in the Details View of the Files List\n "
         "Display "
         "gridlines ",
         "", true},
        {kLabelTips, "Display &Long Label Tips", "",
         " If a label in the Files List is partially hidden, the Files List will \"unfold\" the "
         "label when "
         "hovered over\n Display label tips ",
         "", true},
        {kSortByColumn, "Allow Sorting &by Column", "",
         " Allow clicking on a column header to sort the Files List by that column\n Allow column "
         "sorting ",
         "", true},
        {kDragColumns, "Allow Dragging &Columns", "",
         " Enable drag-and-drop reordering of columns in the Details View of the Files List\n "
         "Allow column "
         "dragging ",
         "", true},
        {kFullRowSelect, "Allow &Full Row Selection", "",
         " When an item is selected in the Details View of the Files List, the item and all its "
         "subitems "
         "will be highlighted\n Select full row ",
         "", true},
        {kShowToolBar, "S&how the Toolbar", "", " Show or hide the toolbar (toggle) ", "", true},
        {kShowStatusBar, "Show &the Status Bar", "", " Show or hide the status bar (toggle) ", "",
         true},
        {kStayOnTop, "&Stay on Top", "",
         " Keep Modshelf on top of (or in front of) other windows\n Stay on Top ", "stay-on-top",
         true},
        {kFilterBibles, "&Bibles", "",
         " Show (or hide) Bibles in the module list (toggle)\n Bible Modules ", "kind-bible", true},
        {kFilterCommentaries, "Comme&ntaries", "",
         " Show (or hide) commentaries in the module list (toggle)\n Commentary Modules ",
         "kind-commentary", true},
        {kFilterDevotionals, "&Devotionals", "",
         " Show (or hide) devotionals in the module list (toggle)\n Devotional Modules ",
         "kind-devotional", true},
        {kFilterDictionaries, "D&ictionaries", "",
         " Show (or hide) dictionaries in the module list (toggle)\n Dictionary Modules ",
         "kind-dictionary", true},
        {kFilterHarmonies, "Gospel &Harmonies", "",
         " Show (or hide) Bible book harmonies in the module list (toggle)\n Book Harmony Modules ",
         "kind-harmony", true},
        {kFilterGraphics, "&Graphics Modules", "",
         " Show (or hide) graphics modules in the module list (toggle)\n Graphics Modules ",
         "kind-graphics", true},
        {kFilterIllustrations, "I&llustrations", "",
         " Show (or hide) sermon illustrations in the module list (toggle)\n Sermon Illustration "
         "Modules ",
         "kind-illustration", true},
        {kFilterJournals, "&Journal Files", "",
         " Show (or hide) user journals in the module list (toggle)\n User Journal Modules ",
         "kind-journal", true},
        {kFilterMemoryVerses, "&Memory Verse Modules", "",
         " Show (or hide) memory verse modules in the module list (toggle)\n Memory Verse Modules ",
         "kind-memory", true},
        {kFilterNotes, "No&te Files", "",
         " Show (or hide) user note files in the module list (toggle)\n User Notes Modules ",
         "kind-notes", true},
        {kFilterOverlays, "&Overlay Files", "",
         " Show (or hide) Markup overlay files in the module list (toggle)\n Markup Overlay "
         "Modules ",
         "kind-overlay", true},
        {kFilterPrayerLists, "&Prayer Lists", "",
         " Show (or hide) prayer lists in the module list (toggle)\n Prayer List Modules ",
         "kind-prayer", true},
        {kFilterReadingPlans, "&Reading Plans", "",
         " Show (or hide) Bible reading plans in the module list (toggle)\n Reading Plan Modules ",
         "kind-reading-plan", true},
        {kFilterReferences, "Reference &Files", "",
         " Show (or hide) reference books in the module list (toggle)\n Reference Book Modules ",
         "kind-reference", true},
        {kFilterTopics, "Topic Mod&ules", "",
         " Show (or hide) topical book modules in the module list (toggle)\n Topical Book Modules ",
         "kind-topic", true},
        {kFilterVerseAnalysis, "V&erse Analysis Modules", "",
         " Show (or hide) verse analysis modules in the module list (toggle)\n Verse Analysis "
         "Modules ",
         "kind-verse-analysis", true},
        {kFilterVerseLists, "&Verse Lists", "",
         " Show (or hide) verse lists in the module list (toggle)\n Verse List Modules ",
         "kind-verse-list", true},
        {kFilterAll, "All S&crivel Modules", "",
         " List (or hide) ALL Scrivel modules in the module list (toggle)\n List All Scrivel "
         "Modules ",
         "kind-all", true},
        {kFilterOnly, "Onl&y Scrivel Modules", "",
         " List ONLY Scrivel modules in the module list (toggle)\n List Only Scrivel Modules ",
         "kind-only", true},
        {kMultiTabRows, "Multi Scrivel Tab Ro&ws", "",
         " Let Scrivel show its module tabs in several rows ", "", true},
        {kSingleTabRow, "&Single Scrivel Tab Row", "",
         " Let Scrivel show its module tabs in one scrollable row ", "", true},
        {kExportTabDelimited, "Export List to Tab-&Delimited Text File", "",
         " Export the module list to a tab-delimited text file ", ""},
        {kExportEvenColumns, "Export List &to Text File with Even Columns", "",
         " Export the module list to a text file with even columns ", ""},
        {kCopyListToClipboard, "Export (Copy) &List to Clipboard", "",
         " Export (or copy) the module list to the Clipboard ", ""},
        {kExportPropertiesToFile, "Export &File Properties to Text File", "",
         " Export the properties of a selected file to a text file ", ""},
        {kCopyPropertiesToClipboard, "Export (&Copy) File Properties to Clipboard", "",
         " Export (or copy) the properties of a selected file to the Clipboard ", ""},
        {kBackupSettings, "&Export (Back Up) Modshelf Settings", "",
         " Export (or back up) Modshelf settings and Workspaces to a backup file ", ""},
        {kRestoreSettings, "&Import (Restore) Modshelf Settings", "",
         " Import (or restore) Modshelf settings and Workspaces from a backup file ", ""},
        {kHelpContents, "&Help Contents", "F1", " Open Help Table of Contents\n Help Contents ",
         "help"},
        {kHelpIndex, "Help &Index", "Alt+F1", " Open Help Index\n Help Index ", ""},
        {kOnlineHelp, "&Online HTML Help", "Ctrl+F1",
         " Open online HTML Help for Modshelf\n Online HTML Help ", ""},
        {kOfflineHelp, "O&ffline HTML Help", "Shift+F1",
         " Open offline HTML Help for Modshelf\n Offline HTML Help ", ""},
        {kCheckNewVersion, "&Check for New Version", "",
         " Check online for new version of Modshelf\n Check for New Version ", ""},
        {kAbout, "About &Modshelf", "",
         " Display information about Modshelf, its version and its credits ", ""},
        {kLicense, "&The Modshelf License", "", " Display the Modshelf license ", ""},
        {kFindModules, "&Find in List", "Ctrl+F",
         " Show only the modules whose file name, tab name or description contain a text ", ""},
        {kCompareWithCurrent, "&Compare with Current Settings", "",
         " Show which modules activating the selected workspace would turn on and off ", ""},
        {kCompareWorkspaces, "Compare &Workspaces", "",
         " Show the modules that are active in one workspace and not in another ", ""},
        {kUndoActivation, "&Undo Last Activation", "",
         " Put back Scrivel's module settings from before the latest activation ", ""},
        {kWorkspaceMatrix, "Workspace &Matrix", "",
         " Show every Bible, commentary and dictionary against all workspaces ", ""},
    };
    for (int k = 1; k <= 15; ++k) {
        const std::string nn = twoDigits(k);
        // Alt+W, A, then 1 ... 9 or 0 picks workspace 01 ... 10.
        const std::string shown = k <= 10 ? nn.substr(0, 1) + "&" + nn.substr(1) : nn;
        t.push_back({activateWorkspace(k), "Activate Workspace " + shown, "",
                     " If Workspace \"<" + nn +
                         ">\" has already been selected, activate Workspace \"<" + nn +
                         ">\" the next time Scrivel starts ",
                     ""});
        t.push_back({renameWorkspace(k), "Rename Workspace " + shown, "",
                     " If Workspace \"<" + nn +
                         ">\" has already been selected, change the name for Workspace \"<" + nn +
                         ">\" to another name ",
                     ""});
    }
    return t;
}

MenuItem command(int id) {
    return {MenuItem::Kind::Command, id, {}, {}};
}
MenuItem separator() {
    return {MenuItem::Kind::Separator, 0, {}, {}};
}
MenuItem submenu(std::string title, std::vector<MenuItem> items) {
    return {MenuItem::Kind::Submenu, 0, std::move(title), std::move(items)};
}
std::vector<MenuItem> commands(std::initializer_list<int> ids) {
    std::vector<MenuItem> items;
    for (int id : ids) items.push_back(id == 0 ? separator() : command(id));
    return items;
}

std::vector<MenuItem> buildMainMenu() {
    using namespace cmd;
    std::vector<MenuItem> activate, rename;
    for (int k = 1; k <= 15; ++k) {
        activate.push_back(command(activateWorkspace(k)));
        rename.push_back(command(renameWorkspace(k)));
    }
    activate.push_back(separator());
    activate.push_back(command(kActivateAll));

    return {
        submenu("&File",
                commands({kFileProperties, 0, kStartHost, kStopHost, kStopAndStartHost, 0,
                          kOpenSqliteEditor, kConfigureSqliteEditor, 0, kPrint, kPrintPreview,
                          kPrintSetup, 0, kOpenExplorer, 0, kActivateAll, 0, kExit})),
        submenu("&Workspace",
                {submenu("&Activate . . .", activate), separator(),
                 submenu("R&ename . . .", rename), separator(), command(kCompareWithCurrent),
                 command(kCompareWorkspaces), command(kUndoActivation), command(kWorkspaceMatrix),
                 separator(), command(kFindModules), command(kRefreshList)}),
        submenu("&View", commands({kRefreshList,
                                   0,
                                   kFileProperties,
                                   0,
                                   kListMode,
                                   kDetailsMode,
                                   kLargeIcons,
                                   kSmallIcons,
                                   0,
                                   kGridLines,
                                   kLabelTips,
                                   kSortByColumn,
                                   kDragColumns,
                                   kFullRowSelect,
                                   0,
                                   kShowToolBar,
                                   kShowStatusBar,
                                   0,
                                   kStayOnTop,
                                   0,
                                   kActivateAll})),
        submenu("&Modules",
                commands({kFilterBibles,        kFilterCommentaries, kFilterDevotionals,
                          kFilterDictionaries,  kFilterHarmonies,    kFilterGraphics,
                          kFilterIllustrations, kFilterJournals,     kFilterMemoryVerses,
                          kFilterNotes,         kFilterOverlays,     kFilterPrayerLists,
                          kFilterReadingPlans,  kFilterReferences,   kFilterTopics,
                          kFilterVerseAnalysis, kFilterVerseLists,   0,
                          kFilterAll,           kFilterOnly,         0,
                          kMultiTabRows,        kSingleTabRow,       0,
                          kActivateAll})),
        submenu("&Export", commands({kExportTabDelimited, kExportEvenColumns, kCopyListToClipboard,
                                     0, kExportPropertiesToFile, kCopyPropertiesToClipboard, 0,
                                     kBackupSettings, kRestoreSettings})),
        submenu("&Help", commands({kHelpContents, kHelpIndex, 0, kOnlineHelp, kOfflineHelp, 0,
                                   kCheckNewVersion, 0, kActivateAll, 0, kAbout, kLicense})),
    };
}

}  // namespace

const std::vector<CommandInfo>& commandTable() {
    static const std::vector<CommandInfo> table = buildTable();
    return table;
}

const CommandInfo* findCommand(int id) {
    for (const auto& info : commandTable())
        if (info.id == id) return &info;
    return nullptr;
}

const std::vector<MenuItem>& mainMenu() {
    static const std::vector<MenuItem> menu = buildMainMenu();
    return menu;
}

const std::vector<int>& toolbarButtons() {
    using namespace cmd;
    static const std::vector<int> buttons = {kStartHost,
                                             kStopHost,
                                             kStopAndStartHost,
                                             0,
                                             kListMode,
                                             kDetailsMode,
                                             kLargeIcons,
                                             kSmallIcons,
                                             0,
                                             kRefreshList,
                                             0,
                                             kFilterVerseAnalysis,
                                             kFilterBibles,
                                             kFilterReadingPlans,
                                             kFilterCommentaries,
                                             kFilterDictionaries,
                                             kFilterDevotionals,
                                             kFilterHarmonies,
                                             kFilterIllustrations,
                                             kFilterJournals,
                                             kFilterVerseLists,
                                             kFilterGraphics,
                                             kFilterMemoryVerses,
                                             kFilterNotes,
                                             kFilterOverlays,
                                             kFilterPrayerLists,
                                             kFilterReferences,
                                             kFilterTopics,
                                             0,
                                             kFilterAll,
                                             kFilterOnly,
                                             0,
                                             kFileProperties,
                                             0};
    return buttons;
}

}  // namespace modshelf::app
