#include "cli/InstallCommand.h"

#include "catalogue/Selection.h"
#include "cli/CliSession.h"
#include "cli/CommandLineOptions.h"
#include "cli/LiveryNames.h"
#include "cli/StatusLines.h"
#include "platform/Errors.h"

namespace wh {

namespace {

TExitStatus InstallTicked(TCliSession& session, const char* nothingText) {
    if (CountSelection(session.Rows()).Selected == 0) {
        session.Lines().Line(std::string("wingharbour: ") + nothingText);
        return ExitDone;
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
        return InstallTicked(session, "no livery is new");
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
    return InstallTicked(session, "nothing to install");
}

TExitStatus RunUpdate(TCliSession& session) {
    ApplySelectionButton(session.Rows(), TWHSelectionButton::SelectUpdated);
    return InstallTicked(session, "no installed livery is updated");
}

} // namespace wh
