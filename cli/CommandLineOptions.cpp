#include "cli/CommandLineOptions.h"

#include <algorithm>
#include <functional>
#include <string_view>

namespace wh {

namespace {

// The commands an option goes with, as bits of TCliCommand.
constexpr unsigned Bit(TCliCommand command) { return 1u << static_cast<unsigned>(command); }
constexpr unsigned AnyCommand = ~0u;
constexpr unsigned ListOnly = Bit(TCliCommand::List);

struct TOptionRule {
    std::string_view Name;
    bool TakesValue;
    unsigned Commands;
    std::function<void(TCliOptions&, const std::string&)> Apply;
};

const std::vector<TOptionRule>& OptionRules() {
    static const std::vector<TOptionRule> rules = {
        {"--url", true, AnyCommand, [](TCliOptions& o, const std::string& v) { o.URL = v; }},
        {"--local", true, AnyCommand, [](TCliOptions& o, const std::string& v) { o.PackageFile = v; }},
        {"--fs", true, AnyCommand, [](TCliOptions& o, const std::string& v) { o.FSDir = v; }},
        {"--zap", false, AnyCommand, [](TCliOptions& o, const std::string&) { o.ZapFiles = true; }},
        {"--no-zap", false, AnyCommand, [](TCliOptions& o, const std::string&) { o.ZapFiles = false; }},
        {"--manufacturer", false, AnyCommand, [](TCliOptions& o, const std::string&) { o.FakeManufacturer = true; }},
        {"--no-manufacturer", false, AnyCommand,
         [](TCliOptions& o, const std::string&) { o.FakeManufacturer = false; }},
        {"--ignorestatus", false, AnyCommand, [](TCliOptions& o, const std::string&) { o.IgnoreStatus = true; }},
        {"--log", true, AnyCommand, [](TCliOptions& o, const std::string& v) { o.LogFile = v; }},
        {"--new", false, ListOnly | Bit(TCliCommand::Install),
         [](TCliOptions& o, const std::string&) { o.New = true; }},
        {"--updated", false, ListOnly, [](TCliOptions& o, const std::string&) { o.Updated = true; }},
        {"--installed", false, ListOnly, [](TCliOptions& o, const std::string&) { o.Installed = true; }},
        {"--filter", true, ListOnly, [](TCliOptions& o, const std::string& v) { o.Filter = v; }},
        {"--json", false, ListOnly, [](TCliOptions& o, const std::string&) { o.Json = true; }},
        {"--yes", false, Bit(TCliCommand::Install) | Bit(TCliCommand::Update) | Bit(TCliCommand::Remove),
         [](TCliOptions& o, const std::string&) { o.Yes = true; }},
    };
    return rules;
}

std::optional<TCliCommand> CommandNamed(const std::string& word) {
    static const std::pair<std::string_view, TCliCommand> commands[] = {
        {"list", TCliCommand::List},
        {"install", TCliCommand::Install},
        {"update", TCliCommand::Update},
        {"remove", TCliCommand::Remove},
    };
    for (const auto& [name, command] : commands)
        if (word == name)
            return command;
    return std::nullopt;
}

std::string Quoted(const std::string& text) { return "'" + text + "'"; }

// The rules that tie options to their command and to each other.
std::string CheckCombination(const TCliOptions& options, const std::vector<const TOptionRule*>& seen,
                             const std::string& commandWord) {
    if (options.Command == TCliCommand::None)
        return "no command given";
    for (const TOptionRule* rule : seen)
        if ((rule->Commands & Bit(options.Command)) == 0)
            return "option " + std::string(rule->Name) + " does not go with " + commandWord;
    if (options.URL && options.PackageFile)
        return "--url and --local exclude each other";
    const bool named = !options.Names.empty();
    switch (options.Command) {
    case TCliCommand::List:
    case TCliCommand::Update:
        return named ? commandWord + " takes no livery names" : "";
    case TCliCommand::Install:
        if (named && options.New)
            return "install takes livery names or --new, not both";
        return named || options.New ? "" : "install needs a livery name or --new";
    case TCliCommand::Remove:
        return named ? "" : "remove needs a livery name";
    case TCliCommand::None:
        break;
    }
    return "";
}

} // namespace

TCliParse ParseCommandLineOptions(const std::vector<std::string>& arguments) {
    TCliParse result;
    TCliOptions& options = result.Options;
    std::vector<const TOptionRule*> seen;
    std::string commandWord;
    bool optionsEnded = false;
    for (std::size_t i = 0; i < arguments.size(); ++i) {
        const std::string& argument = arguments[i];
        const bool isOption = !optionsEnded && argument.size() > 1 && argument[0] == '-';
        if (!isOption) {
            if (options.Command != TCliCommand::None) {
                options.Names.push_back(argument);
                continue;
            }
            const auto command = CommandNamed(argument);
            if (!command) {
                result.Error = "unknown command " + Quoted(argument);
                return result;
            }
            options.Command = *command;
            commandWord = argument;
            continue;
        }
        if (argument == "--") {
            optionsEnded = true;
            continue;
        }
        if (argument == "--help" || argument == "-h") {
            options.Help = true;
            return result;
        }
        const std::size_t equals = argument.find('=');
        const std::string name = argument.substr(0, equals);
        const auto rule = std::find_if(OptionRules().begin(), OptionRules().end(),
                                       [&](const TOptionRule& r) { return r.Name == name; });
        if (rule == OptionRules().end()) {
            result.Error = "unknown option " + Quoted(name);
            return result;
        }
        std::string value;
        if (!rule->TakesValue && equals != std::string::npos) {
            result.Error = "option " + name + " takes no value";
            return result;
        }
        if (rule->TakesValue && equals != std::string::npos) {
            value = argument.substr(equals + 1);
        } else if (rule->TakesValue) {
            if (i + 1 == arguments.size()) {
                result.Error = "option " + name + " needs a value";
                return result;
            }
            value = arguments[++i];
        }
        rule->Apply(options, value);
        seen.push_back(&*rule);
    }
    result.Error = CheckCombination(options, seen, commandWord);
    return result;
}

} // namespace wh
