#include "core/app/CommandLine.h"

#include <charconv>
#include <optional>

namespace modshelf::app {

namespace {

using Action = CommandLine::Action;

// "1" ... "15", with or without a leading zero.
std::optional<int> workspaceNumber(const std::string& text) {
    int number = 0;
    const char* end = text.data() + text.size();
    if (text.empty() || text.size() > 2 || std::from_chars(text.data(), end, number).ptr != end)
        return std::nullopt;
    if (number < 1 || number > 15) return std::nullopt;
    return number;
}

std::optional<int> diffOperand(const std::string& text) {
    if (text == "C" || text == "c") return CommandLine::kCurrentSettings;
    return workspaceNumber(text);
}

// The window toolkit's own options: one dash, and some take a value.
bool isToolkitOption(const std::string& arg) {
    static const char* const kOptions[] = {"-platform",        "-platformpluginpath",
                                           "-platformtheme",   "-plugin",
                                           "-style",           "-stylesheet",
                                           "-session",         "-display",
                                           "-geometry",        "-title",
                                           "-qwindowgeometry", "-qwindowtitle",
                                           "-qwindowicon",     "-reverse",
                                           "-widgetcount"};
    for (const char* option : kOptions)
        if (arg == option) return true;
    return false;
}

bool toolkitOptionTakesValue(const std::string& arg) {
    return arg != "-reverse" && arg != "-widgetcount";
}

CommandLine failure(std::string message) {
    CommandLine line;
    line.action = Action::Error;
    line.error = std::move(message);
    return line;
}

std::optional<CommandLine::Format> formatNamed(const std::string& name) {
    if (name == "text") return CommandLine::Format::Text;
    if (name == "tsv") return CommandLine::Format::Tsv;
    if (name == "json") return CommandLine::Format::Json;
    return std::nullopt;
}

}  // namespace

CommandLine parseCommandLine(const std::vector<std::string>& args) {
    CommandLine line;
    std::vector<std::string> operands;
    bool formatGiven = false;
    bool workspaceGiven = false;
    bool toolkitOptions = false;

    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        // Options that take a value accept "--name value" and "--name=value".
        auto value = [&](const std::string& name) -> std::optional<std::string> {
            if (arg == name) {
                if (i + 1 < args.size()) return args[++i];
                return std::nullopt;
            }
            return arg.substr(name.size() + 1);
        };
        auto is = [&](const std::string& name) {
            return arg == name || arg.rfind(name + "=", 0) == 0;
        };

        if (arg == "--help" || arg == "-h") {
            line.action = Action::Help;
            return line;
        }
        if (arg == "--version") {
            line.action = Action::Version;
            return line;
        }
        if (is("--prefix")) {
            auto v = value("--prefix");
            if (!v || v->empty()) return failure("option '--prefix' needs a folder");
            line.prefix = *v;
        } else if (is("--format")) {
            auto v = value("--format");
            auto format = v ? formatNamed(*v) : std::nullopt;
            if (!format) return failure("option '--format' takes text, tsv or json");
            line.format = *format;
            formatGiven = true;
        } else if (is("--workspace")) {
            auto v = value("--workspace");
            auto number = v ? workspaceNumber(*v) : std::nullopt;
            if (!number) return failure("option '--workspace' takes a number from 1 to 15");
            line.workspace = *number;
            workspaceGiven = true;
        } else if (arg == "--close-scrivel") {
            line.closeScrivel = true;
        } else if (arg == "--") {
            operands.insert(operands.end(), args.begin() + static_cast<long>(i) + 1, args.end());
            break;
        } else if (isToolkitOption(arg)) {
            // The window's toolkit reads its own options ("-platform offscreen").
            toolkitOptions = true;
            if (toolkitOptionTakesValue(arg) && i + 1 < args.size()) ++i;
        } else if (arg.size() > 1 && arg[0] == '-') {
            return failure("unknown option '" + arg + "'");
        } else {
            operands.push_back(arg);
        }
    }

    if (operands.empty()) {
        if (formatGiven || workspaceGiven || line.closeScrivel)
            return failure("these options need a command");
        return line;  // the window
    }

    if (toolkitOptions) return failure("options of the window do not apply to commands");
    const std::string command = operands.front();
    const std::vector<std::string> rest(operands.begin() + 1, operands.end());
    auto tooMany = [&](std::size_t allowed) {
        return rest.size() > allowed
                   ? std::optional<CommandLine>(failure("too many arguments for '" + command + "'"))
                   : std::nullopt;
    };
    auto refuse = [&](bool given, const std::string& option) {
        return given ? std::optional<CommandLine>(
                           failure("option '" + option + "' does not apply to '" + command + "'"))
                     : std::nullopt;
    };

    if (command == "workspaces") {
        if (auto e = tooMany(0)) return *e;
        if (auto e = refuse(workspaceGiven, "--workspace")) return *e;
        if (auto e = refuse(line.closeScrivel, "--close-scrivel")) return *e;
        line.action = Action::Workspaces;
    } else if (command == "list") {
        if (auto e = tooMany(1)) return *e;
        if (auto e = refuse(line.closeScrivel, "--close-scrivel")) return *e;
        if (!rest.empty() && workspaceGiven)
            return failure("give either a folder or '--workspace', not both");
        if (!rest.empty()) line.folder = rest[0];
        line.action = Action::List;
    } else if (command == "show") {
        if (rest.size() != 1) return failure("'show' needs one module file");
        if (auto e = refuse(workspaceGiven, "--workspace")) return *e;
        if (auto e = refuse(line.closeScrivel, "--close-scrivel")) return *e;
        if (auto e = refuse(formatGiven, "--format")) return *e;
        line.file = rest[0];
        line.action = Action::Show;
    } else if (command == "activate") {
        if (rest.size() != 1)
            return failure("'activate' needs a workspace number from 1 to 15, or A");
        if (auto e = refuse(workspaceGiven, "--workspace")) return *e;
        if (auto e = refuse(formatGiven, "--format")) return *e;
        if (rest[0] == "A" || rest[0] == "a") {
            line.allModules = true;
        } else if (auto number = workspaceNumber(rest[0])) {
            line.workspace = *number;
        } else {
            return failure("'" + rest[0] + "' is no workspace: give a number from 1 to 15, or A");
        }
        line.action = Action::Activate;
    } else if (command == "diff") {
        if (rest.size() != 2) return failure("'diff' needs two workspaces (1 to 15, or C)");
        if (auto e = refuse(workspaceGiven, "--workspace")) return *e;
        if (auto e = refuse(line.closeScrivel, "--close-scrivel")) return *e;
        auto a = diffOperand(rest[0]);
        auto b = diffOperand(rest[1]);
        if (!a || !b) return failure("'diff' takes workspace numbers from 1 to 15, or C");
        line.first = *a;
        line.second = *b;
        line.action = Action::Diff;
    } else {
        return failure("unknown command '" + command + "'");
    }
    return line;
}

std::string usageText(const std::string& programName) {
    return "Usage: " + programName +
           " [--prefix PATH]\n"
           "  or:  " +
           programName +
           " [--prefix PATH] COMMAND [ARGUMENTS]\n"
           "Manage Scrivel's modules and workspaces. Without a command, open the window.\n"
           "\n"
           "Commands (none opens a window):\n"
           "  workspaces            list the fifteen workspaces: number, name, active\n"
           "                        modules, and which one matches Scrivel's settings\n"
           "  list [FOLDER]         list the modules of FOLDER (a Linux path, or a\n"
           "                        Windows path such as C:\\Scrivel), by default\n"
           "                        Scrivel's resource folder\n"
           "  list --workspace N    list the Bibles, commentaries and dictionaries of\n"
           "                        the resource folder with their flags in workspace N\n"
           "  show FILE             print the information of a module file\n"
           "  activate N|A          make workspace N (1 to 15), or all modules (A),\n"
           "                        Scrivel's active set; Scrivel shows it at its next\n"
           "                        start\n"
           "  diff N M              the modules active in one workspace and not in the\n"
           "                        other; C names Scrivel's current settings\n"
           "\n"
           "Options:\n"
           "  --prefix PATH         the Wine prefix (default: $WINEPREFIX, else ~/.wine)\n"
           "  --format FORMAT       output of workspaces, list and diff: text (the\n"
           "                        default), tsv or json\n"
           "  --close-scrivel       activate: close a running Scrivel first; without it,\n"
           "                        activation refuses while Scrivel runs\n"
           "  -h, --help            show this help and exit\n"
           "      --version         show the version and exit\n"
           "\n"
           "Exit status:\n"
           "  0  the command did its work\n"
           "  1  it could not (Scrivel running, a setting not saved, nothing found)\n"
           "  2  the command line was wrong\n";
}

std::string versionText() {
    return "modshelf 3.37\n"
           "Copyright (c) 2026 The Modshelf developers.\n"
           "License MIT: the LICENSE file that comes with the program.\n";
}

}  // namespace modshelf::app
