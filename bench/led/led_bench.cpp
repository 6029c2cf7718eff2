// Measures the LED view.
//
//   led_bench frame [count]     time to draw one frame of a 24-character two-row page with a
//                               scrolling row: decoding its record, lighting the dots, painting
//                               them at the view's size and at the pictures' size
//   led_bench view-idle [seconds]       CPU share of a shown LED view with a fixed page
//   led_bench view-scrolling [seconds]  the same with a scrolling row
//   led_bench editor-idle [seconds]     CPU share of the idle editor window, LED view shown,
//                                       a fixed page in its fields, its tick running
//   led_bench editor-scrolling [sec]    the same with a scrolling row 2
//
// Run it on a display (e.g. under xvfb-run -a) or with QT_QPA_PLATFORM=offscreen.

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>

#include <QApplication>
#include <QImage>
#include <QPainter>
#include <QTimer>

#include "../cpu_seconds.h"
#include "editor_led_panel.h"
#include "editor_view.h"
#include "event_gate.h"
#include "fakes/fake_dialogs.h"
#include "fakes/fake_files.h"
#include "fakes/fake_program.h"
#include "led_picture.h"
#include "led_view.h"
#include "platform/calibration.h"
#include "protocol/page_record.h"
#include "qt_clock.h"
#include "sign/sign_face.h"

namespace {

using Clock = std::chrono::steady_clock;

void runFor(double seconds) {
    // exit(), not quit(): quitting first asks the windows to close, and the editor asks the user.
    QTimer::singleShot(static_cast<int>(seconds * 1000), qApp, [] { QCoreApplication::exit(0); });
    QApplication::exec();
}

template <typename Work>
double microsecondsPer(long count, Work&& work) {
    const auto start = Clock::now();
    for (long i = 0; i < count; ++i) work(i);
    const std::chrono::duration<double> elapsed = Clock::now() - start;
    return elapsed.count() / static_cast<double>(count) * 1e6;
}

// Row 1 fixed, row 2 scrolling, on a sign of eight boards: the widest two-row page.
std::vector<std::uint8_t> widestPage(bool scrolling = true) {
    velora::Modulo1 state;
    state.RowChars = 24;
    state.PageCount = 1;
    state.PageKind[1] = scrolling ? velora::kRow2Scrolling : velora::kTwoFixedRows;
    state.PagePause[1] = 5;
    state.PageText[1][1] = "Offerta speciale: 2 x 1";
    state.PageText[1][2] = "Tutto il reparto frutta e verdura a met\xE0 prezzo fino a sabato!";
    return velora::pageRecord(state, 1);
}

}  // namespace

int main(int argc, char* argv[]) {
    const std::string mode = argc > 1 ? argv[1] : "frame";
    QApplication app(argc, argv);
    if (mode == "editor-idle" || mode == "editor-scrolling") {
        const double seconds = argc > 2 ? std::atof(argv[2]) : 10.0;
        velora::testing::FakeDialogs dialogs;
        velora::testing::FakeFiles files;
        velora::testing::FakeProgram program;
        velora::QtClock clock([] {});
        velora::Services services{dialogs, clock, files, program};
        files.contents["BASE.dat"] = "24\r\n";
        velora::Modulo1 state;
        velora::EventGate gate;
        velora::EditorWindow model(state, services,
                                   [&clock] { return velora::timeCountingLoop(clock); });
        velora::EditorView view(model, gate);
        view.binder().run([&] {
            model.window.show();
            model.Text1.setText("Offerta speciale: 2 x 1");
            if (mode == "editor-scrolling") model.Scor2.setValue(1);
            model.Text2.setText("Tutto il reparto frutta e verdura a met\xE0 prezzo");
        });
        velora::LedView& led = *view.ledPanel()->view();
        long framesBefore = 0;
        double cpuBefore = 0;
        Clock::time_point start;
        QTimer::singleShot(500, [&] {
            framesBefore = led.framesPainted();
            cpuBefore = cpuSeconds();
            start = Clock::now();
        });
        runFor(0.5 + seconds);
        const std::chrono::duration<double> wall = Clock::now() - start;
        std::printf("%s: %.2f%% of a core over %.1f s, %ld LED frames painted\n", mode.c_str(),
                    (cpuSeconds() - cpuBefore) / wall.count() * 100.0, wall.count(),
                    led.framesPainted() - framesBefore);
        return 0;
    }
    if (mode == "view-idle" || mode == "view-scrolling") {
        const double seconds = argc > 2 ? std::atof(argv[2]) : 10.0;
        velora::QtClock clock;
        velora::LedView view(clock);
        view.showRecord(widestPage(mode == "view-scrolling"));
        view.show();
        // One run of the event loop: settle for half a second, then measure.
        long framesBefore = 0;
        double cpuBefore = 0;
        Clock::time_point start;
        QTimer::singleShot(500, [&] {
            framesBefore = view.framesPainted();
            cpuBefore = cpuSeconds();
            start = Clock::now();
        });
        runFor(0.5 + seconds);
        const std::chrono::duration<double> wall = Clock::now() - start;
        std::printf("%s: %.2f%% of a core over %.1f s, %ld frames painted\n", mode.c_str(),
                    (cpuSeconds() - cpuBefore) / wall.count() * 100.0, wall.count(),
                    view.framesPainted() - framesBefore);
        return 0;
    }
    if (mode != "frame") {
        std::fprintf(stderr,
                     "usage: led_bench frame [count] | view-idle [s] | view-scrolling [s]\n");
        return 64;
    }
    const long count = argc > 2 ? std::atol(argv[2]) : 2000;
    const std::vector<std::uint8_t> record = widestPage();
    const velora::DateTime now{2026, 12, 5, 9, 1, 0};
    const velora::SignPage page = velora::decodePageRecord(record)->page;

    const double decode = microsecondsPer(count, [&](long) {
        volatile auto length = velora::decodePageRecord(record)->length;
        static_cast<void>(length);
    });
    const double light = microsecondsPer(count, [&](long i) {
        volatile auto lit =
            velora::renderSignFace(page, 0.2 * static_cast<double>(i % 80), now).dots.size();
        static_cast<void>(lit);
    });
    velora::LedPicture picture;
    for (int pitch : {4, 8}) {
        const velora::SignFace face = velora::renderSignFace(page, 0, now);
        QImage target((face.width + 2) * pitch, (face.height + 2) * pitch,
                      QImage::Format_ARGB32_Premultiplied);
        const double whole = microsecondsPer(count, [&](long i) {
            const auto decoded = velora::decodePageRecord(record);
            const velora::SignFace f =
                velora::renderSignFace(decoded->page, 0.2 * static_cast<double>(i % 80), now);
            QPainter painter(&target);
            picture.paint(painter, f, target.rect());
        });
        std::printf("frame at %d px a dot (%dx%d): %.1f us (decode + light + paint)\n", pitch,
                    target.width(), target.height(), whole);
    }
    std::printf("decode %.2f us, light the dots %.2f us; %ld frames each\n", decode, light, count);
    return 0;
}
