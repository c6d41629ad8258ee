// The window's place, size and columns through a close and the next start.

#include <QHeaderView>
#include <QTreeView>

#include "WindowTestSupport.h"
#include "app/WindowLayout.h"
#include "profile/IniFiles.h"

namespace wh::test {
namespace {

using WindowLayoutWindowTest = TWindowTest;

TEST_F(WindowLayoutWindowTest, PlaceSizeAndColumnsComeBackAtTheNextStart) {
    const QRect first = Start()->geometry();
    EXPECT_EQ(first.size(), QSize(560, 430));
    {
        auto window = Start();
        window->show();
        window->setGeometry(30, 40, 700, 520);
        QHeaderView* header = Child<QTreeView>(*window, "lvAircraft")->header();
        header->resizeSection(1, 150);
        header->moveSection(0, 2);
        window->close();
    }
    {
        auto window = Start();
        EXPECT_EQ(window->geometry(), QRect(30, 40, 700, 520));
        const QHeaderView* header = Child<QTreeView>(*window, "lvAircraft")->header();
        EXPECT_EQ(header->sectionSize(1), 150);
        EXPECT_EQ(header->logicalIndex(2), 0);
        window->show();
        window->showMaximized();
        window->close();
    }
    EXPECT_EQ(TIniFile(IniPath()).ReadString(WindowLayoutSection, "Maximized", ""), "1");
    auto window = Start();
    EXPECT_TRUE(window->windowState() & Qt::WindowMaximized);
    EXPECT_EQ(window->normalGeometry(), QRect(30, 40, 700, 520));
}

} // namespace
} // namespace wh::test
