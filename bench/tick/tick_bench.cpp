// Measures the editor's tick.
//
//   tick_bench tick [count]          time per Timer1_Timer plus view update, nothing changed
//   tick_bench idle [seconds]        CPU share of the idle editor window, tick running
//   tick_bench idle-no-tick [sec]    the same window with the tick stopped: the baseline
//
// Run the idle modes on a display, e.g. under xvfb-run -a.

#include <chrono>
#include <cstdio>
#include <cstring>
#include <string>

#include <QApplication>
#include <QElapsedTimer>
#include <QTimer>

#include "../cpu_seconds.h"
#include "editor_view.h"
#include "event_gate.h"
#include "fakes/fake_dialogs.h"
#include "fakes/fake_files.h"
#include "fakes/fake_program.h"
#include "platform/calibration.h"
#include "qt_clock.h"

namespace {

void runFor(double seconds) {
    // exit(), not quit(): quitting first asks the windows to close, and the editor asks the user.
    QTimer::singleShot(static_cast<int>(seconds * 1000), qApp, [] { QCoreApplication::exit(0); });
    QApplication::exec();
}

}  // namespace

int main(int argc, char* argv[]) {
    const std::string mode = argc > 1 ? argv[1] : "tick";
    QApplication app(argc, argv);

    // The real clock, so that the date formatting of the locale is part of the cost; quiet
    // dialogs, so that nothing waits for an answer.
    velora::testing::FakeDialogs dialogs;
    velora::testing::FakeFiles files;
    velora::testing::FakeProgram program;
    velora::QtClock clock([] {});
    velora::Services services{dialogs, clock, files, program};
    files.contents["BASE.dat"] = "18\r\n";

    velora::Modulo1 state;
    velora::EventGate gate;
    velora::EditorWindow model(state, services,
                               [&clock] { return velora::timeCountingLoop(clock); });
    velora::EditorView view(model, gate);
    view.binder().run([&] { model.window.show(); });
    runFor(0.5);  // let the window settle

    if (mode == "tick") {
        const long count = argc > 2 ? std::atol(argv[2]) : 100000;
        model.Timer1.setEnabled(false);
        view.binder().sync();
        const auto start = std::chrono::steady_clock::now();
        for (long i = 0; i < count; ++i) view.binder().run(model.Timer1.onTimer);
        const std::chrono::duration<double> elapsed = std::chrono::steady_clock::now() - start;
        std::printf("ticks %ld, %.3f us per tick (Timer1_Timer + view update)\n", count,
                    elapsed.count() / static_cast<double>(count) * 1e6);
        return 0;
    }

    if (mode == "idle" || mode == "idle-no-tick") {
        const double seconds = argc > 2 ? std::atof(argv[2]) : 10.0;
        if (mode == "idle-no-tick") {
            model.Timer1.setEnabled(false);
            view.binder().sync();
        }
        const double cpuBefore = cpuSeconds();
        QElapsedTimer wall;
        wall.start();
        runFor(seconds);
        const double cpu = cpuSeconds() - cpuBefore;
        const double elapsed = static_cast<double>(wall.elapsed()) / 1000.0;
        std::printf("%s: %.2f s wall, %.3f s CPU, %.2f %% of one core\n", mode.c_str(), elapsed,
                    cpu, cpu / elapsed * 100.0);
        return 0;
    }

    std::fprintf(stderr,
                 "usage: tick_bench tick [count] | idle [seconds] | idle-no-tick [seconds]\n");
    return 2;
}
