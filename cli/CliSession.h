#pragma once

#include "cli/CatalogueRows.h"
#include "cli/CliActivity.h"
#include "cli/RunSettings.h"
#include "cli/TerminalProgress.h"
#include "install/Installer.h"
#include "install/WelcomeSettings.h"

namespace wh {

class TStatusLines;
class TTerminationRequests;

// One run of a command: the settings in force, the catalogue as the window's
// Next loads it, and the window's two action buttons over its ticked rows.
class TCliSession {
public:
    TCliSession(const TWelcomeSettings& settings, bool ignoreStatus, TStatusLines& lines,
                TTerminationRequests& termination);

    TCatalogueRows& Rows() { return FRows; }
    TStatusLines& Lines() { return FLines; }
    TTerminationRequests& Termination() { return FTermination; }

    // Fetches and reads the catalogue, then sorts the rows by Livery.
    void LoadCatalogue();
    // The window's question before Fetch when the ticked rows' archives
    // will not fit; empty when they will.
    std::string InstallRoomWarning() const;
    // Install and Remove over the ticked rows, every one of them due; false
    // when a termination request stopped the walk before a row.
    bool InstallTicked();
    bool DeinstallTicked();

private:
    void TellProgressTheLiveries();
    TWHInstallOptions InstallOptions() const;

    TWelcomeSettings FSettings;
    bool FIgnoreStatus;
    TStatusLines& FLines;
    TTerminationRequests& FTermination;
    TSettingsSource FSource;
    TTerminalProgress FProgress;
    TCliActivity FActivity;
    TCatalogueRows FRows;
};

} // namespace wh
