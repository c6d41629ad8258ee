#include <QApplication>
#include <QStringList>

#include "app/MessageBoxes.h"
#include "app/MessageRules.h"
#include "app/ProgramInfo.h"
#include "app/TerminationSignals.h"
#include "app/WingharbourClientMain.h"
#include "platform/Codepage.h"
#include "platform/Paths.h"
#include "platform/SingleInstance.h"

int main(int argc, char** argv) {
    // Qt takes its own options (-platform, -style ...) out of argv here; every
    // argument left over is the program's.
    QApplication application(argc, argv);

    const std::string programPath = wh::ExecutablePath();
    wh::TSingleInstanceGuard guard;
    if (!wh::AcquireSingleInstance(guard, wh::SingleInstanceLockFile(),
                                   wh::ApplicationTitle(wh::ExtractFileName(programPath))))
        return 0;

    wh::TMainOptions options;
    options.ProgramPath = programPath;
    const QStringList arguments = QCoreApplication::arguments();
    for (qsizetype i = 1; i < arguments.size(); ++i)
        options.Arguments.push_back(wh::Utf8ToAnsi(arguments[i].toStdString()));

    wh::TfmWingharbourClientMain window(std::move(options));
    if (window.StartupEnded())
        return window.ExitCode();
    wh::TTerminationSignals termination([&window] { window.close(); });
    window.show();
    application.exec();
    return 0;
}
