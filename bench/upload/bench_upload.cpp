// Uploads a sequence of pages through a pseudo-terminal with the real serial adapter and pacing,
// and reports the spacing of the bytes as the receiving side saw it, against the targets.
//
//   bench_upload [--pages N]   (200 by default)

#include <time.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <vector>

#include <QCoreApplication>

#include "core/pacing.h"
#include "core/system_clock.h"
#include "link/inv_dat.h"
#include "link/sign_messages.h"
#include "pty_sign.h"
#include "qt_serial_port.h"

namespace {

class SilentDialogs : public velora::Dialogs {
public:
    int shown = 0;
    velora::MessageAnswer messageBox(const std::string& text, const std::string&,
                                     velora::MessageIcon, velora::MessageButtons) override {
        ++shown;
        std::fprintf(stderr, "%s\n", text.c_str());
        return velora::MessageAnswer::Ok;
    }
    std::string inputBox(const std::string&, const std::string&, const std::string& d) override {
        return d;
    }
    std::string openFilePath(const std::string&) override { return {}; }
    std::string saveFilePath(const std::string&) override { return {}; }
};

class NoFiles : public velora::Files {
public:
    std::optional<std::string> read(const std::string&, std::size_t) const override { return {}; }
    bool replace(const std::string&, const std::string&) override { return false; }
    bool exists(const std::string&) const override { return false; }
};

class NoProgram : public velora::Program {
public:
    [[noreturn]] void end() override { std::exit(1); }
    bool openWebPage(const std::string&) override { return false; }
};

double threadCpuSeconds() {
    timespec ts{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &ts);
    return static_cast<double>(ts.tv_sec) + static_cast<double>(ts.tv_nsec) * 1e-9;
}

const char* verdict(bool ok) {
    return ok ? "ok" : "MISSED";
}

}  // namespace

int main(int argc, char* argv[]) {
    int pages = 200;
    for (int i = 1; i + 1 < argc; ++i)
        if (std::strcmp(argv[i], "--pages") == 0)
            pages = std::clamp(std::atoi(argv[i + 1]), 1, 200);
    QCoreApplication app(argc, argv);

    velora::Modulo1 state;
    state.PageCount = static_cast<std::uint8_t>(pages);
    state.RowChars = 18;
    for (int slot = 1; slot <= pages; ++slot) {
        state.PageKind[slot] = velora::kTwoFixedRows;
        state.PagePause[slot] = 3;
        state.PageText[slot][1] = "Pagina " + std::to_string(slot) + std::string(18, ' ');
        state.PageText[slot][1].resize(18);
        state.PageText[slot][2] = std::string(18, 'x');
    }

    SilentDialogs dialogs;
    velora::SystemClock clock;
    NoFiles files;
    NoProgram program;
    velora::Services services{dialogs, clock, files, program};
    velora::QtSerialPort port;
    velora::InvDat model(state, services, port);
    velora::PtySign sign;
    sign.start();
    model.choosePort(sign.devicePath());
    model.window.show();
    if (!port.portOpen()) return 2;

    const velora::PacedStream stream = velora::uploadStream(state);
    const auto wallStart = std::chrono::steady_clock::now();
    const double cpuStart = threadCpuSeconds();
    model.InviaPagine();
    const double cpu = threadCpuSeconds() - cpuStart;
    const double wall =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - wallStart).count();
    // Let the last bytes reach the sign.
    for (int i = 0; i < 100 && sign.receivedCount() < stream.bytes.size(); ++i)
        velora::preciseWait(0.01);
    sign.stop();

    const auto arrivals = sign.arrivals();
    if (arrivals.size() != stream.bytes.size() || dialogs.shown) {
        std::fprintf(stderr, "received %zu of %zu bytes\n", arrivals.size(), stream.bytes.size());
        return 1;
    }
    std::vector<double> gaps;  // milliseconds between consecutive bytes, one pacing interval apart
    double specified = 0;      // seconds of waits between the first and the last byte
    for (std::size_t i = 1; i < arrivals.size(); ++i) {
        const double gap =
            std::chrono::duration<double, std::milli>(arrivals[i].at - arrivals[i - 1].at).count();
        const int delays = stream.bytes[i - 1].delaysAfter;
        specified += delays * velora::kPacingInterval;
        if (delays == 1) gaps.push_back(gap);
    }
    std::sort(gaps.begin(), gaps.end());
    const double total =
        std::chrono::duration<double>(arrivals.back().at - arrivals.front().at).count();
    const double smallest = gaps.front();
    const double median = gaps[gaps.size() / 2];
    const double largest = gaps.back();
    const double ratio = total / specified;
    const double cpuShare = cpu / wall;

    std::printf("pages %d, bytes %zu\n", pages, arrivals.size());
    std::printf(
        "gap between bytes (one interval): smallest %.3f ms, median %.3f ms, largest %.3f ms\n",
        smallest, median, largest);
    std::printf("total %.3f s against %.3f s of specified waits: %.4f\n", total, specified, ratio);
    std::printf("sender CPU %.3f s of %.3f s wall: %.1f%%\n", cpu, wall, 100 * cpuShare);
    std::printf(
        "targets: smallest >= 2.0 ms %s; median < 2.2 ms %s; total within 1.10 %s; "
        "CPU < 25%% %s\n",
        verdict(smallest >= 2.0), verdict(median < 2.2), verdict(ratio <= 1.10),
        verdict(cpuShare < 0.25));
    return smallest >= 2.0 && median < 2.2 && ratio <= 1.10 && cpuShare < 0.25 ? 0 : 3;
}
