// The progress of an install in the status panel while a livery's archive
// arrives slowly over HTTP, and the action buttons' tooltips.

#include <algorithm>
#include <filesystem>
#include <thread>

#include <QApplication>
#include <QHelpEvent>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QRegularExpression>
#include <QTest>
#include <QTimer>
#include <QToolTip>

#include "WindowTestSupport.h"
#include "tests/support/LoopbackServer.h"
#include "tests/support/ZipBuilder.h"

namespace wh::test {
namespace {

class OperationProgressWindowTest : public TWindowTest {};

// What shows when the pointer rests on the widget.
std::string ToolTipOf(QWidget* widget) {
    QHelpEvent help(QEvent::ToolTip, widget->rect().center(), widget->mapToGlobal(widget->rect().center()));
    QApplication::sendEvent(widget, &help);
    const std::string shown = QToolTip::text().toStdString();
    QToolTip::hideText();
    return shown;
}

TEST_F(OperationProgressWindowTest, InstallShowsRowsBytesAndSpeedOnlyWhileItRuns) {
    // "slow" comes in 128 KB pieces 100 ms apart, the rest from the folder.
    // Its catalogue size is out of date: the server's length must show.
    BuildCollection("source", {{"a320",
                                {{"Slow Air", "A320", "D", "m", "ok", "slow", "", 3 * 1048576},
                                 {"Fast Air", "A320", "D", "m", "ok", "fast", "", -1}}}});
    const std::filesystem::path source = ProgramDir.Path() / "source";
    BuildZip((source / "a320/base.zip").string(), {{"aircraft.cfg", "[General]\r\n"}});
    BuildZip((source / "a320/fast.zip").string(), {{"texture.fast/t.bmp", "bmp"}});
    BuildZip((ProgramDir.Path() / "slow.zip").string(),
             {{"texture.slow/t.bmp", RandomBytes(2 * 1048576 - 300, 5), 0, false, false, true}});
    const std::string slow = ReadFile(ProgramDir.Path() / "slow.zip");
    TLoopbackServer server;
    server.Server().set_mount_point("/", source.string());
    server.Server().Get("/a320/slow.zip", [&](const httplib::Request&, httplib::Response& res) {
        res.set_content_provider(slow.size(), "application/zip", [&](std::size_t at, std::size_t n, auto& sink) {
            std::this_thread::sleep_for(std::chrono::milliseconds(100));
            return sink.write(slow.data() + at, std::min<std::size_t>(n, 128 * 1024));
        });
    });
    server.Start();
    WriteSettings({{"rbLocalDir", "0"}, {"rbURL", "1"}, {"edURL", server.Root() + "/"}, {"FSDir", FSDir()}});
    auto window = Start();
    window->show();
    QTest::mouseClick(Child<QPushButton>(*window, "btnNext"), Qt::LeftButton);
    auto* install = Child<QPushButton>(*window, "btnInstall");
    auto* bar = Child<QProgressBar>(*window, "pbOperation");
    auto* text = Child<QLabel>(*window, "lblOperation");
    ASSERT_EQ(ListRowCount(*window), 2);
    for (int i = 0; i < 2; ++i)
        SetListChecked(*window, i, true);
    EXPECT_EQ(ToolTipOf(install), "2 liveries, about 3.0 MB (1 of unknown size)");
    EXPECT_EQ(ToolTipOf(Child<QPushButton>(*window, "btnDeinstall")), "0 liveries to remove");
    EXPECT_FALSE(bar->isVisible());

    // Sampled while the click runs: the window's messages are processed there.
    const QRegularExpression during(
        QString::fromUtf8("^[12] of 2 \u00B7 \\d+\\.\\d of 2\\.0 MB \u00B7 \\d+(\\.\\d)? (KB|MB)/s$"));
    int samples = 0, hidden = 0, backwards = 0, withSpeed = 0, lastValue = 0;
    QTimer sampler;
    QObject::connect(&sampler, &QTimer::timeout, [&] {
        ++samples;
        hidden += !bar->isVisible() || !text->isVisible();
        backwards += bar->value() < lastValue;
        lastValue = bar->value();
        withSpeed += during.match(text->text()).hasMatch();
    });
    sampler.start(50);
    QTest::mouseClick(install, Qt::LeftButton);
    sampler.stop();

    EXPECT_GE(samples, 10);
    EXPECT_EQ(hidden, 0);
    EXPECT_EQ(backwards, 0);
    EXPECT_GE(withSpeed, 3);
    EXPECT_FALSE(bar->isVisible());
    EXPECT_FALSE(text->isVisible());
    EXPECT_EQ(ToolTipOf(install), "0 liveries");
}

} // namespace
} // namespace wh::test
