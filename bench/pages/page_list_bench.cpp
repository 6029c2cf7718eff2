// Measures the page list beside the editor.
//
//   page_list_bench open [runs]      opening a 200-page file, up to the window painted, with the
//                                    list hidden (the editor as it was) and shown, alternately;
//                                    prints the median of each and the difference
//   page_list_bench idle [seconds]   CPU share of the idle editor with a 200-page sequence, the
//                                    list hidden and then shown, its tick running
//
// Run it on a display (e.g. under xvfb-run -a) or with QT_QPA_PLATFORM=offscreen.

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include <QAction>
#include <QApplication>
#include <QSettings>
#include <QTimer>
#include <QWindow>

#include "../cpu_seconds.h"
#include "composition.h"
#include "fakes/fake_dialogs.h"
#include "fakes/fake_files.h"
#include "fakes/fake_program.h"
#include "page_list_view.h"
#include "platform/calibration.h"
#include "qt_clock.h"

namespace {

using Clock = std::chrono::steady_clock;

// 200 pages of every kind, a quarter of them scrolling, on a sign of 24 characters.
std::string fullSequence() {
    const char* rows[] = {"OFFERTA DEL GIORNO", "PANE FRESCO", "SALDI", "APERTO DOMENICA"};
    std::string file = "200,24\r\n";
    for (int page = 1; page <= 200; ++page) {
        const int kind = (page - 1) % 8 + 1;
        std::string row1 = std::string(rows[page % 4]) + " " + std::to_string(page);
        std::string row2 =
            "Tutto il reparto a meta' prezzo fino a sabato, pagina " + std::to_string(page);
        if (kind == 1 || kind == 5 || kind == 6) row1.resize(24, ' ');
        if (kind == 1 || kind == 7) row2.resize(24, ' ');
        if (kind == 3 || kind == 8) row1.resize(12, ' ');
        if (kind == 3 || kind == 4 || kind == 8) row2 = row1;
        for (const std::string& text : {row1, row2}) {
            file += std::to_string(kind) + ",\"" + text + "\"," + std::to_string(page % 20 + 1) +
                    "\r\n";
        }
    }
    return file;
}

struct Editor {
    velora::testing::FakeDialogs dialogs;
    velora::testing::FakeFiles files;
    velora::testing::FakeProgram program;
    velora::QtClock clock{[] {}};
    velora::Services services{dialogs, clock, files, program};
    velora::Composition app{services, [this] { return velora::timeCountingLoop(clock); }};

    explicit Editor(bool listShown) {
        files.contents["BASE.dat"] = "24\r\n";
        files.contents["/seq/piena.inf"] = fullSequence();
        app.start();
        auto* shown = app.editorView().findChild<QAction*>(QStringLiteral("mnuElencoPagine"));
        if (shown->isChecked() != listShown) shown->trigger();
        app.editorView().resize(1200, 700);
        // On a display the window is drawn once it is mapped: the figures start from there.
        const auto mapping = Clock::now();
        while (Clock::now() - mapping < std::chrono::seconds(2)) {
            QApplication::processEvents();
            QWindow* window = app.editorView().windowHandle();
            if (window && window->isExposed()) break;
        }
        QApplication::processEvents();
    }

    // Opens the file as the File menu does, with the jump to page 1, and paints the window.
    double openSeconds() {
        const auto start = Clock::now();
        velora::EditorView& view = app.editorView();
        view.binder().run([this] { app.models().fileMenu.openFile("/seq/piena.inf"); });
        view.binder().run([this] { app.models().editor.Timer2_Timer(); });
        view.repaint();
        const std::chrono::duration<double> elapsed = Clock::now() - start;
        return elapsed.count();
    }
};

double median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

}  // namespace

int main(int argc, char* argv[]) {
    const std::string mode = argc > 1 ? argv[1] : "open";
    QApplication qtApp(argc, argv);
    QApplication::setOrganizationName(QStringLiteral("VeloraBench"));
    QSettings().clear();
    if (mode == "open") {
        const int runs = argc > 2 ? std::atoi(argv[2]) : 15;
        std::vector<double> hidden;
        std::vector<double> shown;
        long pictures = 0;
        for (int run = 0; run < runs; ++run) {
            for (bool listShown : {false, true}) {
                Editor editor(listShown);
                const double seconds = editor.openSeconds();
                (listShown ? shown : hidden).push_back(seconds);
                if (listShown)
                    pictures = editor.app.editorView().pageList()->rows()->picturesDrawn();
            }
        }
        const double without = median(hidden) * 1000;
        const double with = median(shown) * 1000;
        std::printf(
            "open 200 pages: list hidden %.1f ms, list shown %.1f ms, difference %.1f ms "
            "(median of %d; %ld pictures drawn)\n",
            without, with, with - without, runs, pictures);
        return 0;
    }
    if (mode == "idle") {
        const double seconds = argc > 2 ? std::atof(argv[2]) : 10.0;
        for (bool listShown : {false, true}) {
            Editor editor(listShown);
            editor.openSeconds();
            QApplication::processEvents();
            const double cpuBefore = cpuSeconds();
            const auto start = Clock::now();
            QTimer::singleShot(static_cast<int>(seconds * 1000), qApp,
                               [] { QCoreApplication::exit(0); });
            QApplication::exec();
            const std::chrono::duration<double> wall = Clock::now() - start;
            std::printf("idle editor, list %s: %.2f%% of a core over %.1f s\n",
                        listShown ? "shown " : "hidden",
                        (cpuSeconds() - cpuBefore) / wall.count() * 100.0, wall.count());
        }
        return 0;
    }
    std::fprintf(stderr, "usage: page_list_bench open [runs] | idle [seconds]\n");
    return 2;
}
