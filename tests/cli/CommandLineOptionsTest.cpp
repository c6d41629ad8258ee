#include "cli/CommandLineOptions.h"

#include <functional>

#include <gtest/gtest.h>

#include "tests/support/NamedCases.h"

namespace wh {
namespace {

using test::PrintTo;

struct TCase {
    const char* Name;
    std::vector<std::string> Arguments;
    std::string Error;                          // empty: parsed
    std::function<void(TCliOptions&)> Expected; // from the defaults
};

const TCase Cases[] = {
    {"a command alone", {"list"}, "", [](TCliOptions& o) { o.Command = TCliCommand::List; }},
    {"options before and after the command, both forms",
     {"--url=http://a.example/", "list", "--fs", "/fs", "--filter", "aero", "--json"},
     "",
     [](TCliOptions& o) {
         o.Command = TCliCommand::List;
         o.URL = "http://a.example/";
         o.FSDir = "/fs";
         o.Filter = "aero";
         o.Json = true;
     }},
    {"state options add up",
     {"list", "--new", "--installed"},
     "",
     [](TCliOptions& o) {
         o.Command = TCliCommand::List;
         o.New = o.Installed = true;
     }},
    {"the last of a pair wins",
     {"--zap", "--no-zap", "--no-manufacturer", "--manufacturer", "update"},
     "",
     [](TCliOptions& o) {
         o.Command = TCliCommand::Update;
         o.ZapFiles = false;
         o.FakeManufacturer = true;
     }},
    {"names, and -- before one that looks like an option",
     {"install", "a b", "--", "--odd"},
     "",
     [](TCliOptions& o) {
         o.Command = TCliCommand::Install;
         o.Names = {"a b", "--odd"};
     }},
    {"remove with --yes, a log and the status rule",
     {"remove", "x", "--yes", "--log", "l.txt", "--ignorestatus"},
     "",
     [](TCliOptions& o) {
         o.Command = TCliCommand::Remove;
         o.Names = {"x"};
         o.Yes = o.IgnoreStatus = true;
         o.LogFile = "l.txt";
     }},
    {"what stands before --help is judged", {"--bogus", "--help"}, "unknown option '--bogus'", {}},
    {"-h before anything wrong", {"-h", "--bogus"}, "", [](TCliOptions& o) { o.Help = true; }},
    {"no command", {"--fs", "/fs"}, "no command given", {}},
    {"an unknown command", {"fetch"}, "unknown command 'fetch'", {}},
    {"an unknown option", {"list", "--all"}, "unknown option '--all'", {}},
    {"a value missing at the end", {"list", "--filter"}, "option --filter needs a value", {}},
    {"a value given to a flag", {"list", "--json=yes"}, "option --json takes no value", {}},
    {"an option of another command", {"install", "x", "--json"}, "option --json does not go with install", {}},
    {"list asks nothing", {"list", "--yes"}, "option --yes does not go with list", {}},
    {"two sources", {"list", "--url", "u", "--local", "l"}, "--url and --local exclude each other", {}},
    {"list takes no names", {"list", "x"}, "list takes no livery names", {}},
    {"update takes no names", {"update", "x"}, "update takes no livery names", {}},
    {"install needs something", {"install"}, "install needs a livery name or --new", {}},
    {"install takes one kind", {"install", "--new", "x"}, "install takes livery names or --new, not both", {}},
    {"remove needs a name", {"remove", "--yes"}, "remove needs a livery name", {}},
};

class CommandLineOptionsTest : public testing::TestWithParam<TCase> {};

TEST_P(CommandLineOptionsTest, ParsesOrSaysWhy) {
    const TCase& c = GetParam();
    const TCliParse parse = ParseCommandLineOptions(c.Arguments);
    EXPECT_EQ(parse.Error, c.Error);
    if (!c.Expected)
        return;
    TCliOptions expected;
    c.Expected(expected);
    EXPECT_TRUE(parse.Options == expected);
}

INSTANTIATE_TEST_SUITE_P(Table, CommandLineOptionsTest, testing::ValuesIn(Cases));

} // namespace
} // namespace wh
