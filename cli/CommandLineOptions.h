#pragma once

#include <optional>
#include <string>
#include <vector>

namespace wh {

enum class TCliCommand { None, List, Install, Update, Remove };

// What the command line asks for. Texts are as given (UTF-8); the settings'
// overrides hold for this run only.
struct TCliOptions {
    TCliCommand Command = TCliCommand::None;
    bool Help = false;
    std::optional<std::string> URL;         // --url: the URL source
    std::optional<std::string> PackageFile; // --local: the local source's packages.lst
    std::optional<std::string> FSDir;       // --fs
    std::optional<bool> ZapFiles;           // --zap, --no-zap
    std::optional<bool> FakeManufacturer;   // --manufacturer, --no-manufacturer
    bool IgnoreStatus = false;
    std::string LogFile;               // --log, empty for none
    bool New = false;                  // --new: list, install
    bool Updated = false;              // --updated: list
    bool Installed = false;            // --installed: list
    std::optional<std::string> Filter; // --filter: list
    bool Json = false;                 // --json: list
    bool Yes = false;                  // --yes: install, update, remove
    std::vector<std::string> Names;    // install, remove
    bool operator==(const TCliOptions&) const = default;
};

struct TCliParse {
    TCliOptions Options;
    std::string Error; // a usage error when not empty
};

// The arguments after the program name. Options may stand before or after
// the command, as "--name VALUE" or "--name=VALUE"; "--" ends them. --help
// ends the parse at once.
TCliParse ParseCommandLineOptions(const std::vector<std::string>& arguments);

} // namespace wh
