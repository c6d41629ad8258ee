// The progress of an install in the status panel while a livery's archive
// arrives slowly over HTTP, and the action buttons' tooltips.

#include <chrono>
#include <filesystem>
#include <thread>

#include <QApplication>
#include <QHelpEvent>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QRegularExpression>
#include <QStackedWidget>
#include <QTest>
#include <QTimer>
#include <QToolTip>
#include <QTreeWidget>

#include "WindowTestSupport.h"
#include "tests/support/LoopbackServer.h"
#include "tests/support/ZipBuilder.h"

namespace wh::test {
namespace {

namespace fs = std::filesystem;

class OperationProgressWindowTest : public TWindowTest {};

// What the tooltip shows when the pointer rests on the widget.
std::string ToolTipOf(QWidget* widget) {
    const QPoint at = widget->rect().center();
    QHelpEvent help(QEvent::ToolTip, at, widget->mapToGlobal(at));
    QApplication::sendEvent(widget, &help);
    const std::string shown = QToolTip::text().toStdString();
    QToolTip::hideText();
    return shown;
}

TEST_F(OperationProgressWindowTest, InstallShowsRowsBytesAndSpeedOnlyWhileItRuns) {
    // "slow" comes from a handler in 128 KB pieces, 100 ms apart; the rest
    // from the collection's folder. Its catalogue size is out of date, so the
    // server's length must be what shows.
    BuildCollection("source", {{"a320",
                                {{"Slow Air", "A320", "D", "m", "ok", "slow", "", 3 * 1048576},
                                 {"Fast Air", "A320", "D", "m", "ok", "fast", "", -1}}}});
    const fs::path source = ProgramDir.Path() / "source";
    BuildZip((source / "a320/base.zip").string(), {{"aircraft.cfg", "[General]\r\natc_type=AIRBUS\r\n"}});
    BuildZip((source / "a320/fast.zip").string(), {{"texture.fast/t.bmp", "bmp"}});
    const std::string slowZip = (ProgramDir.Path() / "slow.zip").string();
    BuildZip(slowZip, {{"texture.slow/t.bmp", RandomBytes(2 * 1048576 - 300, 5), 0, false, false, true}});
    const std::string slow = ReadFile(slowZip);
    TLoopbackServer server;
    server.Server().set_mount_point("/", source.string());
    server.Server().Get("/a320/slow.zip", [&](const httplib::Request&, httplib::Response& res) {
        res.set_content_provider(slow.size(), "application/zip",
                                 [&](std::size_t offset, std::size_t length, httplib::DataSink& sink) {
                                     std::this_thread::sleep_for(std::chrono::milliseconds(100));
                                     return sink.write(slow.data() + offset, std::min<std::size_t>(length, 128 * 1024));
                                 });
    });
    server.Start();
    WriteSettings({{"rbLocalDir", "0"}, {"rbURL", "1"}, {"edURL", server.Root() + "/"}, {"FSDir", FSDir()}});
    auto window = Start();
    window->show();
    QTest::mouseClick(Child<QPushButton>(*window, "btnNext"), Qt::LeftButton);
    ASSERT_EQ(Child<QStackedWidget>(*window, "nbPages")->currentIndex(), 1);

    auto* list = Child<QTreeWidget>(*window, "lvAircraft");
    auto* install = Child<QPushButton>(*window, "btnInstall");
    auto* remove = Child<QPushButton>(*window, "btnDeinstall");
    auto* bar = Child<QProgressBar>(*window, "pbOperation");
    auto* text = Child<QLabel>(*window, "lblOperation");
    EXPECT_FALSE(bar->isVisible());
    for (int i = 0; i < list->topLevelItemCount(); ++i)
        list->topLevelItem(i)->setCheckState(0, Qt::Checked);
    EXPECT_EQ(ToolTipOf(install), "2 liveries, about 3.0 MB (1 of unknown size)");
    EXPECT_EQ(ToolTipOf(remove), "0 liveries to remove");

    struct TSample {
        bool Visible;
        QString Text;
        int Value;
    };
    std::vector<TSample> samples;
    QTimer sampler;
    QObject::connect(&sampler, &QTimer::timeout, [&] {
        samples.push_back({bar->isVisible() && text->isVisible(), text->text(), bar->value()});
    });
    sampler.start(50);
    QTest::mouseClick(install, Qt::LeftButton);
    sampler.stop();

    ASSERT_GE(samples.size(), 10u);
    const QRegularExpression during(
        QString::fromUtf8("^([12]) of 2 \u00B7 (\\d+\\.\\d) of 2\\.0 MB \u00B7 \\d+(\\.\\d)? (KB|MB)/s$"));
    int withSpeed = 0;
    int lastValue = 0;
    for (const TSample& s : samples) {
        EXPECT_TRUE(s.Visible) << s.Text.toStdString();
        EXPECT_GE(s.Value, lastValue) << s.Text.toStdString();
        lastValue = s.Value;
        withSpeed += during.match(s.Text).hasMatch();
    }
    EXPECT_GE(withSpeed, 3);
    EXPECT_FALSE(bar->isVisible());
    EXPECT_FALSE(text->isVisible());
    EXPECT_TRUE(fs::exists(FSDir() + "/aircraft/a320/texture.slow/t.bmp"));
    EXPECT_EQ(ToolTipOf(install), "0 liveries");
    list->topLevelItem(0)->setCheckState(0, Qt::Checked);
    EXPECT_EQ(ToolTipOf(remove), "1 livery to remove");
}

} // namespace
} // namespace wh::test
