#include <cstdlib>
#include <string>
#include <vector>

#include <QApplication>
#include <QString>

#include "app/ColourScheme.h"
#include "app/MessageBoxes.h"
#include "app/TerminationSignals.h"
#include "app/WingharbourClientMain.h"
#include "files/WorkingDir.h"
#include "install/MessageRules.h"
#include "platform/Codepage.h"
#include "platform/Errors.h"
#include "platform/Paths.h"
#include "platform/SingleInstance.h"

int main(int argc, char** argv) {
    // Every argument is the program's: the toolkit gets none of them, so that
    // its own options (-reverse, -style ...) stop the program like any other
    // unknown argument. It is configured through its environment variables.
    std::vector<std::string> arguments;
    for (int i = 1; i < argc; ++i)
        arguments.push_back(wh::Utf8ToAnsi(QString::fromLocal8Bit(argv[i]).toStdString()));
    int toolkitArgc = argc > 0 ? 1 : 0;
    QApplication application(toolkitArgc, argv);
    wh::FollowDesktopColourScheme();
    wh::WatchDesktopColourScheme(application);

    // Lets the process tests keep the machine's working directory out of reach.
    if (const char* folder = std::getenv("WINGHARBOUR_COMMON_APPDATA"); folder != nullptr && *folder != '\0')
        wh::OverrideCommonAppDataFolder(wh::Utf8ToAnsi(folder));

    const std::string programPath = wh::ExecutablePath();
    const std::string title = wh::ApplicationTitle(wh::ExtractFileName(programPath));
    wh::TSingleInstanceGuard guard;
    try {
        if (!wh::AcquireSingleInstance(guard, wh::SingleInstanceLockFile(), title))
            return 0;
    } catch (const wh::EFileError& e) {
        // Unguarded, two copies could write the working directory at once.
        wh::ShowErrorBox(nullptr, title, e.what());
        return 1;
    }

    wh::TMainOptions options;
    options.ProgramPath = programPath;
    options.Arguments = std::move(arguments);

    wh::TfmWingharbourClientMain window(std::move(options));
    if (window.StartupEnded())
        return window.ExitCode();
    wh::TTerminationSignals termination([&window] { window.close(); });
    window.show();
    application.exec();
    return 0;
}
