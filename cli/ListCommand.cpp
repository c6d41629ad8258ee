#include "cli/ListCommand.h"

#include <cstdio>
#include <string>
#include <vector>

#include "catalogue/Selection.h"
#include "cli/CliSession.h"
#include "cli/CommandLineOptions.h"
#include "cli/FilterNeedle.h"
#include "cli/ListOutput.h"
#include "cli/StatusLines.h"

namespace wh {

TExitStatus RunList(TCliSession& session, const TCliOptions& options) {
    TCatalogueRows& rows = session.Rows();
    if (options.Filter)
        rows.SetFilter(FilterNeedle(*options.Filter));
    const std::pair<bool, TWHSelectionButton> picks[] = {{options.New, TWHSelectionButton::SelectNew},
                                                         {options.Updated, TWHSelectionButton::SelectUpdated},
                                                         {options.Installed, TWHSelectionButton::SelectInstalled}};
    bool picked = false;
    for (const auto& [given, button] : picks) {
        if (given)
            ApplySelectionButton(rows, button);
        picked = picked || given;
    }
    std::vector<int> listed;
    for (int i = 0; i < rows.RowCount(); ++i)
        if (rows.RowShown(i) && (!picked || rows.RowChecked(i)))
            listed.push_back(i);

    std::string out;
    if (options.Json)
        out = ListJson(rows, listed);
    else
        for (int i : listed)
            out += ListLine(rows.RowTexts(i));
    if (std::fwrite(out.data(), 1, out.size(), stdout) != out.size() || std::fflush(stdout) != 0) {
        session.Lines().Line("wingharbour: the list could not be written");
        return ExitFailed;
    }
    return ExitDone;
}

} // namespace wh
