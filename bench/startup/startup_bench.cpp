// Start-up of the editor against Qt 6 Widgets yardsticks, an empty window and a plain text window:
// the time from starting the process to the first painted window, and the peak resident memory.
// Target against the text window: at most 1.15 times its time and 1.2 times its memory. The text
// window is also started at the editor's own size (taken from the editor's warm-up run), which
// tells what a window that large costs Qt alone from what the editor adds. Runs the programs in
// turn, after one warm-up run each, and compares medians.
//
//   startup_bench [runs]        (uses the platform of QT_QPA_PLATFORM, e.g. under xvfb-run)
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

namespace {

struct Run {
    double seconds;     // to the first painted window
    long peakKiB;       // peak resident set of the whole run
    std::string shown;  // the size of the window, as the program told it
};

// Starts `program` (with `argument` unless empty), waits for its "shown" line, then for its end.
bool runOnce(const char* program, const std::string& argument, Run& run) {
    int out[2];
    if (pipe(out) != 0) return false;
    const auto start = std::chrono::steady_clock::now();
    const pid_t pid = fork();
    if (pid < 0) return false;
    if (pid == 0) {
        dup2(out[1], STDOUT_FILENO);
        close(out[0]);
        close(out[1]);
        if (argument.empty())
            execl(program, program, static_cast<char*>(nullptr));
        else
            execl(program, program, argument.c_str(), static_cast<char*>(nullptr));
        _exit(127);
    }
    close(out[1]);
    std::string seen;
    char buffer[256];
    bool shown = false;
    std::size_t line = std::string::npos;
    for (ssize_t n; !shown && (n = read(out[0], buffer, sizeof buffer)) > 0;) {
        seen.append(buffer, static_cast<std::size_t>(n));
        line = seen.find("shown ");
        shown = line != std::string::npos && seen.find('\n', line) != std::string::npos;
    }
    run.seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    if (shown) run.shown = seen.substr(line + 6, seen.find('\n', line) - line - 6);
    close(out[0]);
    int status = 0;
    rusage usage{};
    if (wait4(pid, &status, 0, &usage) != pid) return false;
    run.peakKiB = usage.ru_maxrss;
    return shown && WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

template <typename T>
T median(std::vector<T> values) {
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

}  // namespace

int main(int argc, char* argv[]) {
    const int runs = argc > 1 ? std::max(1, std::atoi(argv[1])) : 15;
    // Against the plain text window, the yardstick that draws text as the editor does.
    constexpr double kTimeTarget = 1.15;
    constexpr double kMemoryTarget = 1.2;

    // The editor reads BASE.dat from the current directory; without it a message box would wait.
    char pattern[] = "/tmp/velora-startup-XXXXXX";
    if (!mkdtemp(pattern)) return 2;
    const std::filesystem::path dir(pattern);
    std::ofstream(dir / "BASE.dat") << "18\r\n";
    std::filesystem::current_path(dir);

    // The editor first: its warm-up run gives the size of the third yardstick.
    constexpr int kPrograms = 4;
    enum { kVelora, kEmpty, kText, kTextAsLarge };
    const char* programs[kPrograms] = {VELORA_PROGRAM, EMPTY_PROGRAM, TEXT_PROGRAM, TEXT_PROGRAM};
    std::string arguments[kPrograms];
    std::vector<Run> results[kPrograms];
    Run run{};
    for (int round = -1; round < runs; ++round) {
        for (int p = 0; p < kPrograms; ++p) {
            if (!runOnce(programs[p], arguments[p], run)) {
                std::fprintf(stderr, "%s did not show its window\n", programs[p]);
                std::filesystem::remove_all(dir);
                return 2;
            }
            if (p == kVelora && round < 0) arguments[kTextAsLarge] = run.shown;
            if (round >= 0) results[p].push_back(run);
        }
    }
    std::filesystem::remove_all(dir);

    double seconds[kPrograms];
    long peak[kPrograms];
    for (int p = 0; p < kPrograms; ++p) {
        std::vector<double> times;
        std::vector<long> peaks;
        for (const Run& r : results[p]) {
            times.push_back(r.seconds);
            peaks.push_back(r.peakKiB);
        }
        seconds[p] = median(times);
        peak[p] = median(peaks);
    }
    const std::string large = "text window " + arguments[kTextAsLarge];
    const char* names[kPrograms] = {"velora", "empty window", "text window", large.c_str()};
    std::printf("runs each: %d, platform: %s\n", runs,
                std::getenv("QT_QPA_PLATFORM") ? std::getenv("QT_QPA_PLATFORM") : "default");
    std::printf("%-28s %9s %12s\n", "", "to shown", "peak RSS");
    for (int p : {kEmpty, kText, kTextAsLarge, kVelora})
        std::printf("%-28s %6.1f ms %8ld KiB\n", names[p], seconds[p] * 1e3, peak[p]);
    double timeRatio[kPrograms] = {};
    double memoryRatio[kPrograms] = {};
    for (int p : {kEmpty, kText, kTextAsLarge}) {
        timeRatio[p] = seconds[kVelora] / seconds[p];
        memoryRatio[p] = static_cast<double>(peak[kVelora]) / static_cast<double>(peak[p]);
        const std::string row = std::string("velora / ") + names[p];
        std::printf("%-28s %8.2fx %11.2fx\n", row.c_str(), timeRatio[p], memoryRatio[p]);
    }
    std::printf("targets against the text window: time at most %.2fx, memory at most %.1fx\n",
                kTimeTarget, kMemoryTarget);
    const bool met = timeRatio[kText] <= kTimeTarget && memoryRatio[kText] <= kMemoryTarget;
    std::printf("%s\n", met ? "target met" : "TARGET MISSED");
    return met ? 0 : 1;
}
