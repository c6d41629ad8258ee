// Keystrokes in the filter field above 10,000 rows in the real window
// (offscreen): each is timed from the key press until the list is laid out
// and painted again, the recount of the summary included.

#include <benchmark/benchmark.h>

#include <QApplication>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QTreeView>

#include <cstdio>
#include <memory>
#include <string>

#include "bench/support/ActionTimes.h"
#include "bench/support/LargeCollectionWindow.h"
#include "bench/support/WindowBenchMain.h"

namespace {

using namespace wh;
using bench::Timed;
using bench::TLargeCollectionWindow;

// Every Livery reads "Airline <number>": "a" keeps every row, each further
// letter of "airline 4" fewer, down to the rows whose number starts with 4.
constexpr const char* Typed = "airline 4";

std::unique_ptr<TLargeCollectionWindow> TheSetup;
TLargeCollectionWindow& Setup() {
    if (!TheSetup) {
        TheSetup = std::make_unique<TLargeCollectionWindow>();
        // Ticked rows give the recount and the summary's hidden line work.
        TheSetup->Button("btnSelectNew")->click();
        // Escape is a shortcut of the active window.
        TheSetup->Window->activateWindow();
        if (!QTest::qWaitForWindowActive(TheSetup->Window.get()))
            std::fprintf(stderr, "the window did not become active: Escape may not reach it\n");
    }
    return *TheSetup;
}

QLineEdit* Filter() { return Setup().Window->findChild<QLineEdit*>("edFilter"); }

int ShownRows() { return Setup().List()->model()->rowCount(); }

// The key, then what the window does before the user sees the list again.
void Keystroke(Qt::Key key, char text = 0) {
    if (text)
        QTest::keyClick(Filter(), text);
    else
        QTest::keyClick(Filter(), key);
    QApplication::processEvents();
}

void Check(benchmark::State& state) {
    if (!Setup().Loaded())
        state.SkipWithError("the load did not show 10,000 rows");
    Filter()->clear();
    QApplication::processEvents();
}

// One letter of "airline 4" per iteration; the field is cleared, untimed,
// once the word is complete.
void BM_TypeLetter(benchmark::State& state) {
    Check(state);
    const std::string typed = Typed;
    std::size_t next = 0;
    for (auto _ : state) {
        if (next == typed.size()) {
            state.PauseTiming();
            Filter()->clear();
            QApplication::processEvents();
            next = 0;
            state.ResumeTiming();
        }
        const char letter = typed[next++];
        Timed(state, "type a letter", [&] { Keystroke(Qt::Key_unknown, letter); });
    }
    Filter()->setText(QString::fromLatin1(Typed));
    state.counters["rows shown for the word"] = ShownRows();
}

// One backspace per iteration from "airline 4" back to the empty field.
void BM_Backspace(benchmark::State& state) {
    Check(state);
    for (auto _ : state) {
        if (Filter()->text().isEmpty()) {
            state.PauseTiming();
            Filter()->setText(QString::fromLatin1(Typed));
            QApplication::processEvents();
            state.ResumeTiming();
        }
        Timed(state, "backspace", [&] { Keystroke(Qt::Key_Backspace); });
    }
}

// The widest changes: a letter no row holds hides all 10,000 rows, Escape
// shows them all again.
void BM_HideAllThenEscape(benchmark::State& state) {
    Check(state);
    for (auto _ : state) {
        Timed(state, "hide every row", [&] { Keystroke(Qt::Key_unknown, 'q'); });
        Timed(state, "escape shows every row", [&] { Keystroke(Qt::Key_Escape); });
    }
    if (ShownRows() != TLargeCollectionWindow::Packages * TLargeCollectionWindow::LiveriesPerPackage)
        state.SkipWithError("Escape did not show every row");
}

BENCHMARK(BM_TypeLetter)->UseManualTime()->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Backspace)->UseManualTime()->Unit(benchmark::kMillisecond);
BENCHMARK(BM_HideAllThenEscape)->UseManualTime()->Unit(benchmark::kMillisecond);

void PrintSummary() {
    std::printf("\n%-24s %10s %10s %10s %10s\n", "10,000 rows, ms", "best wall", "worst wall", "best cpu", "worst cpu");
    for (const auto& [name, t] : bench::ActionTimes())
        std::printf("%-24s %10.2f %10.2f %10.2f %10.2f\n", name.c_str(), t.BestWall * 1e3, t.WorstWall * 1e3,
                    t.BestCpu * 1e3, t.WorstCpu * 1e3);
}

} // namespace

int main(int argc, char** argv) {
    return wh::bench::RunWindowBenchmarks(argc, argv, {}, [] {
        TheSetup.reset();
        PrintSummary();
    });
}
