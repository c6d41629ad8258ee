#include "cli/WingharbourProgram.h"

#include <cstdio>
#include <exception>

#include "cli/CliSession.h"
#include "cli/CommandLineOptions.h"
#include "cli/ExitStatus.h"
#include "cli/HelpText.h"
#include "cli/InstallCommand.h"
#include "cli/ListCommand.h"
#include "cli/RemoveCommand.h"
#include "cli/RunSettings.h"
#include "cli/StatusLines.h"
#include "cli/TerminationRequests.h"
#include "files/WorkingDir.h"
#include "install/MessageRules.h"
#include "install/WelcomeSettings.h"
#include "platform/Codepage.h"
#include "platform/Errors.h"
#include "platform/SingleInstance.h"
#include "platform/Terminal.h"
#include "profile/IniFiles.h"

namespace wh {

namespace {

// The last word: when even the log's copy fails, standard error still hears it.
void Tell(TStatusLines& lines, const std::string& text) {
    try {
        lines.Line("wingharbour: " + text);
    } catch (const std::exception&) {
    }
}

TExitStatus UsageError(TStatusLines& lines, const std::string& text) {
    Tell(lines, text);
    std::fputs(UsageText, stderr);
    return ExitUsage;
}

TExitStatus RunCommand(TCliSession& session, const TCliOptions& options) {
    switch (options.Command) {
    case TCliCommand::List:
        return RunList(session, options);
    case TCliCommand::Install:
        return RunInstall(session, options);
    case TCliCommand::Update:
        return RunUpdate(session, options);
    case TCliCommand::Remove:
        return RunRemove(session, options);
    case TCliCommand::None:
        break;
    }
    return ExitUsage;
}

TExitStatus RunGuarded(const TCliOptions& options, TStatusLines& lines) {
    const TWelcomeSettings settings =
        RunSettings(LoadWelcomeSettings(TIniFile(ClientSettingsPath()), DefaultSourceURL()), options);
    if (const std::string problem = RunSettingsProblem(settings); !problem.empty())
        return UsageError(lines, problem);
    if (!options.LogFile.empty())
        lines.OpenLog(Utf8ToAnsi(options.LogFile));
    // The window's guard: it and this program never work on one working directory at once.
    TSingleInstanceGuard guard;
    if (!guard.Acquire(SingleInstanceLockFile())) {
        Tell(lines, AnotherInstanceMessage);
        return ExitFailed;
    }
    TTerminationRequests termination;
    TCliSession session(settings, options.IgnoreStatus, lines, termination);
    session.LoadCatalogue();
    // A local load runs to its end; nothing begins after a request to stop.
    if (termination.Requested())
        throw EOperationCancelled("stopped after loading");
    const TExitStatus status = RunCommand(session, options);
    if (status == ExitUsage)
        std::fputs(UsageText, stderr);
    return status;
}

} // namespace

int RunWingharbour(const std::vector<std::string>& arguments) {
    const TCliParse parse = ParseCommandLineOptions(arguments);
    if (parse.Options.Help) {
        std::fputs(HelpText, stdout);
        return ExitDone;
    }
    TStatusLines lines(IsTerminal(TStandardStream::Error), TerminalColumns(TStandardStream::Error));
    if (!parse.Error.empty())
        return UsageError(lines, parse.Error);
    const TCliOptions& options = parse.Options;
    if (options.Command == TCliCommand::Remove && !options.Yes && !IsTerminal(TStandardStream::Input))
        return UsageError(lines, "remove asks first, and standard input is no terminal to answer on; "
                                 "give --yes to remove without asking");
    try {
        return RunGuarded(options, lines);
    } catch (const EOperationCancelled&) {
        // The status lines said what gave up.
        Tell(lines, "cancelled");
    } catch (const std::exception& error) {
        lines.EndProgress();
        Tell(lines, ErrorBoxText(error.what()));
    }
    return ExitFailed;
}

} // namespace wh
