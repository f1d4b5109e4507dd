#include "core/app/CommandLine.h"

#include <gtest/gtest.h>

using namespace modshelf::app;
using Action = CommandLine::Action;

namespace {

struct Parsed {
    std::vector<std::string> args;
    Action action;
    std::string errorPart;  // for errors: a part of the message
};

class CommandLineParse : public ::testing::TestWithParam<Parsed> {};

TEST_P(CommandLineParse, GivesTheActionOrAClearError) {
    const Parsed& p = GetParam();
    const CommandLine line = parseCommandLine(p.args);
    EXPECT_EQ(line.action, p.action) << line.error;
    if (p.action == Action::Error) {
        EXPECT_NE(line.error.find(p.errorPart), std::string::npos) << line.error;
    }
}

INSTANTIATE_TEST_SUITE_P(
    Cases, CommandLineParse,
    ::testing::Values(Parsed{{}, Action::Window, ""},
                      Parsed{{"--prefix", "/p"}, Action::Window, ""},
                      Parsed{{"-platform", "offscreen"}, Action::Window, ""},
                      Parsed{{"--help", "activate"}, Action::Help, ""},
                      Parsed{{"-h"}, Action::Help, ""}, Parsed{{"--version"}, Action::Version, ""},
                      Parsed{{"workspaces"}, Action::Workspaces, ""},
                      Parsed{{"list", "--format=json"}, Action::List, ""},
                      Parsed{{"list", "--workspace", "03"}, Action::List, ""},
                      Parsed{{"show", "a.bblx"}, Action::Show, ""},
                      Parsed{{"activate", "A"}, Action::Activate, ""},
                      Parsed{{"diff", "3", "C"}, Action::Diff, ""},
                      Parsed{{"frobnicate"}, Action::Error, "unknown command 'frobnicate'"},
                      Parsed{{"--verbose"}, Action::Error, "unknown option '--verbose'"},
                      Parsed{{"--prefix"}, Action::Error, "--prefix"},
                      Parsed{{"list", "--format", "xml"}, Action::Error, "text, tsv or json"},
                      Parsed{{"list", "/x", "--workspace", "2"}, Action::Error, "not both"},
                      Parsed{{"activate", "16"}, Action::Error, "'16' is no workspace"},
                      Parsed{{"activate", "0"}, Action::Error, "no workspace"},
                      Parsed{{"activate"}, Action::Error, "needs a workspace"},
                      Parsed{{"diff", "1"}, Action::Error, "two workspaces"},
                      Parsed{{"diff", "1", "A"}, Action::Error, "1 to 15, or C"},
                      Parsed{{"workspaces", "extra"}, Action::Error, "too many"},
                      Parsed{{"show", "a", "--format", "json"}, Action::Error, "does not apply"},
                      Parsed{{"list", "--close-scrivel"}, Action::Error, "does not apply"},
                      Parsed{{"--format", "tsv"}, Action::Error, "need a command"},
                      Parsed{{"-platform", "offscreen", "list"}, Action::Error, "window"}));

TEST(CommandLine, ReadsEveryValueOfACommand) {
    CommandLine line =
        parseCommandLine({"--prefix=/wine", "list", "--workspace=7", "--format", "tsv"});
    EXPECT_EQ(line.prefix, "/wine");
    EXPECT_EQ(line.workspace, 7);
    EXPECT_EQ(line.format, CommandLine::Format::Tsv);

    line = parseCommandLine({"activate", "--close-scrivel", "12"});
    EXPECT_EQ(line.workspace, 12);
    EXPECT_TRUE(line.closeScrivel);
    EXPECT_FALSE(line.allModules);

    line = parseCommandLine({"diff", "C", "05"});
    EXPECT_EQ(line.first, CommandLine::kCurrentSettings);
    EXPECT_EQ(line.second, 5);

    // After "--" a name that looks like an option is a file.
    line = parseCommandLine({"show", "--", "--odd.bblx"});
    EXPECT_EQ(line.file, "--odd.bblx");
}

}  // namespace
