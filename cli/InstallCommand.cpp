#include "cli/InstallCommand.h"

#include "catalogue/Selection.h"
#include "cli/CliSession.h"
#include "cli/CommandLineOptions.h"
#include "cli/Confirmation.h"
#include "cli/LiveryNames.h"
#include "cli/StatusLines.h"
#include "platform/Errors.h"
#include "platform/Terminal.h"

namespace wh {

namespace {

// The window asks before an install that will not fit; --yes answers Yes,
// and without a terminal to ask on nothing is installed.
bool RoomAgreed(TCliSession& session, const TCliOptions& options) {
    const std::string warning = session.InstallRoomWarning();
    if (warning.empty() || options.Yes)
        return true;
    if (IsTerminal(TStandardStream::Input))
        return AskYesNo(warning, session.Termination());
    session.Lines().Line("wingharbour: " + warning);
    session.Lines().Line("wingharbour: there is no terminal to answer on; give --yes to install all the same");
    return false;
}

TExitStatus InstallTicked(TCliSession& session, const TCliOptions& options, const char* nothingText) {
    if (CountSelection(session.Rows()).Selected == 0) {
        session.Lines().Line(std::string("wingharbour: ") + nothingText);
        return ExitDone;
    }
    if (!RoomAgreed(session, options)) {
        session.Lines().Line("wingharbour: nothing was installed");
        return ExitFailed;
    }
    if (!session.InstallTicked())
        throw EOperationCancelled("stopped before the next livery");
    return ExitDone;
}

} // namespace

TExitStatus RunInstall(TCliSession& session, const TCliOptions& options) {
    TCatalogueRows& rows = session.Rows();
    if (options.New) {
        ApplySelectionButton(rows, TWHSelectionButton::SelectNew);
        return InstallTicked(session, options, "no livery is new");
    }
    const auto chosen = ChosenRows(rows, options.Names, session.Lines());
    if (!chosen)
        return ExitUsage;
    for (int index : *chosen) {
        const TWHAircraft& aircraft = rows.RowAircraft(index);
        if (aircraft.State == asNone)
            session.Lines().Line("wingharbour: '" + aircraft.Airline + "' has nothing to fetch" +
                                 (aircraft.Installed ? ": it is current" : ": it is not released"));
        else
            rows.SetRowChecked(index, true);
    }
    return InstallTicked(session, options, "nothing to install");
}

TExitStatus RunUpdate(TCliSession& session, const TCliOptions& options) {
    ApplySelectionButton(session.Rows(), TWHSelectionButton::SelectUpdated);
    return InstallTicked(session, options, "no installed livery is updated");
}

} // namespace wh
