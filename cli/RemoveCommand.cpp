#include "cli/RemoveCommand.h"

#include "catalogue/Selection.h"
#include "cli/CliSession.h"
#include "cli/CommandLineOptions.h"
#include "cli/Confirmation.h"
#include "cli/LiveryNames.h"
#include "cli/StatusLines.h"
#include "install/Deinstaller.h"
#include "platform/Errors.h"

namespace wh {

TExitStatus RunRemove(TCliSession& session, const TCliOptions& options) {
    TCatalogueRows& rows = session.Rows();
    const auto chosen = ChosenRows(rows, options.Names, session.Lines());
    if (!chosen)
        return ExitUsage;
    for (int index : *chosen) {
        if (rows.RowAircraft(index).Installed)
            rows.SetRowChecked(index, true);
        else
            session.Lines().Line("wingharbour: '" + rows.RowAircraft(index).Airline + "' is not installed");
    }
    const int removeCount = CountSelection(rows).Remove;
    if (removeCount == 0) {
        session.Lines().Line("wingharbour: nothing to remove");
        return ExitDone;
    }
    if (!options.Yes && !AskYesNo(DeinstallQuestion(removeCount), session.Termination())) {
        session.Lines().Line("wingharbour: nothing was removed");
        return ExitFailed;
    }
    if (!session.DeinstallTicked())
        throw EOperationCancelled("stopped before the next livery");
    return ExitDone;
}

} // namespace wh
