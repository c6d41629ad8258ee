#include "bench/support/WindowBenchMain.h"

#include <benchmark/benchmark.h>

#include <QApplication>
#include <QLocale>

namespace wh::bench {

int RunWindowBenchmarks(int argc, char** argv, const std::vector<std::string>& defaults,
                        const std::function<void()>& afterRun) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
    std::vector<std::string> flags = defaults;
    std::vector<char*> args(argv, argv + argc);
    for (std::size_t i = 0; i < flags.size(); ++i)
        args.insert(args.begin() + 1 + static_cast<std::ptrdiff_t>(i), flags[i].data());
    int count = static_cast<int>(args.size());
    benchmark::Initialize(&count, args.data());
    if (benchmark::ReportUnrecognizedArguments(count, args.data()))
        return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    afterRun();
    return 0;
}

} // namespace wh::bench
