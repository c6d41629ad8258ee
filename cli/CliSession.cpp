#include "cli/CliSession.h"

#include "catalogue/CatalogueReader.h"
#include "cli/TerminationRequests.h"
#include "cli/UserLocale.h"
#include "files/WorkingDir.h"
#include "install/Deinstaller.h"
#include "install/InstallRoom.h"
#include "install/Installer.h"
#include "platform/Paths.h"

namespace wh {

TCliSession::TCliSession(const TWelcomeSettings& settings, bool ignoreStatus, TStatusLines& lines,
                         TTerminationRequests& termination)
    : FSettings(settings), FIgnoreStatus(ignoreStatus), FLines(lines), FTermination(termination), FSource(settings),
      FProgress(lines, UserDecimalPoint()), FActivity(lines, termination, FProgress),
      FRows({settings.FSDir, WorkingDir(), UserThousandsSeparator()}) {}

void TCliSession::LoadCatalogue() {
    ReadCatalogue(FActivity, FSource, FRows, FIgnoreStatus);
    TWHSortOrder order;
    order.Reset();
    FRows.Sort(order, TUserCollator());
}

void TCliSession::TellProgressTheLiveries() {
    std::vector<std::string> liveries;
    for (int i = 0; i < FRows.RowCount(); ++i)
        if (FRows.RowChecked(i))
            liveries.push_back(FRows.RowAircraft(i).Airline);
    FProgress.SetLiveries(std::move(liveries));
}

TWHInstallOptions TCliSession::InstallOptions() const {
    return {WorkingDir(), AppendSeparator(FSettings.FSDir, '\\'), FSettings.ZapFiles, FSettings.FakeManufacturer};
}

std::string TCliSession::InstallRoomWarning() const {
    const TWHInstallOptions options = InstallOptions();
    const auto place = [](const std::string& folder) { return TWHRoomPlace{folder, FreeSpaceOf(folder)}; };
    return CheckInstallRoom(FRows, PlanBases(FRows, options), place(options.WorkingDir),
                            place(options.FSDir + "aircraft"), UserDecimalPoint())
        .Warning;
}

bool TCliSession::InstallTicked() {
    TellProgressTheLiveries();
    return InstallTickedRows(FRows, InstallOptions(), FActivity, FSource, [this] { return FTermination.Requested(); });
}

bool TCliSession::DeinstallTicked() {
    TellProgressTheLiveries();
    return DeinstallTickedAircraft(FRows, FActivity, {AppendSeparator(FSettings.FSDir, '\\'), WorkingDir()},
                                   [this] { return FTermination.Requested(); });
}

} // namespace wh
