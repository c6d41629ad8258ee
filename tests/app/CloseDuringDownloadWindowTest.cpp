#include <signal.h>
#include <unistd.h>

#include <filesystem>

#include <QPushButton>
#include <QTest>

#include "WindowTestSupport.h"
#include "app/TerminationSignals.h"
#include "profile/IniFiles.h"
#include "tests/support/LoopbackServer.h"

namespace wh::test {
namespace {

class CloseDuringDownloadWindowTest : public TWindowTest {};

void Stop(TfmWingharbourClientMain& window, bool signal) {
    if (signal)
        ::kill(::getpid(), SIGTERM);
    else
        QTest::mouseClick(Child<QPushButton>(window, "btnClose"), Qt::LeftButton);
}

// Close and a termination signal both stop the catalogue's download at once,
// show no error box, keep the cached archive and still write the settings.
TEST_F(CloseDuringDownloadWindowTest, CloseStopsTheDownloadAndEndsTheProgram) {
    struct Case {
        const char* Name;
        bool Signal;
    } cases[] = {{"Close button", false}, {"SIGTERM", true}};
    for (const auto& c : cases) {
        TLoopbackServer server;
        TfmWingharbourClientMain* shown = nullptr;
        // One byte, then the user stops it; the server sends no more.
        server.Server().Get("/packages.zip", [&](const httplib::Request&, httplib::Response& res) {
            res.set_chunked_content_provider("application/zip", [&](std::size_t offset, httplib::DataSink& sink) {
                if (offset > 0)
                    return server.WaitForRelease(), false;
                QMetaObject::invokeMethod(
                    shown, [&] { Stop(*shown, c.Signal); }, Qt::QueuedConnection);
                return sink.write("x", 1);
            });
        });
        server.Start();
        std::filesystem::create_directories(FSDir() + "/aircraft");
        std::filesystem::create_directories(WorkDir());
        const std::string cached = WorkDir() + "/packages.zip";
        WriteFile(cached, "cached archive");
        WriteSettings({{"rbLocalDir", "0"}, {"rbURL", "1"}, {"edURL", server.Root() + "/"}, {"FSDir", FSDir()}});
        TDialogAnswers answerer;
        auto window = Start();
        window->show();
        TTerminationSignals termination([&] { window->close(); });
        shown = window.get();

        QTest::mouseClick(Child<QPushButton>(*window, "btnNext"), Qt::LeftButton);

        EXPECT_TRUE(QTest::qWaitFor([&] { return !window->isVisible(); })) << c.Name;
        EXPECT_TRUE(answerer.Boxes.empty()) << c.Name;
        const std::vector<std::string> log = LogFileLines();
        ASSERT_FALSE(log.empty());
        EXPECT_EQ(log.back(), "Status: Download of '" + server.Root() + "/packages.zip' cancelled.") << c.Name;
        EXPECT_EQ(ReadFile(cached), "cached archive") << c.Name;
        EXPECT_EQ(TIniFile(IniPath()).ReadString("Welcome", "rbURL", ""), "1") << c.Name;
        EXPECT_EQ(TIniFile(IniPath()).ReadString("Welcome", "edURL", ""), server.Root() + "/") << c.Name;
    }
}

} // namespace
} // namespace wh::test
