// The sequence's history with 200 stored pages: for the steps that change the most (deleting the
// first page moves every page, "Nuovo" empties them all, opening a file replaces them) and for
// the smallest (re-storing one page), the time of one undo and one redo through the editor, page
// loading included, and the bytes the step keeps. Also the cost of telling whether the sequence
// has unsaved changes, which the editor's tick asks 50 times a second.
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <string>
#include <vector>

#include "fakes/fake_services.h"
#include "files/sequence_file.h"
#include "window_models.h"

namespace {

using Clock = std::chrono::steady_clock;

double millisecondsSince(Clock::time_point start) {
    return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

double median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

struct Bench {
    velora::testing::FakeServices fake;
    velora::WindowModels windows{fake.services, fake.loopTiming()};
    velora::Modulo1& state = windows.state;
    velora::EditorWindow& editor = windows.editor;

    Bench() {
        fake.files.contents["BASE.dat"] = "18\r\n";
        editor.Form_Load();
    }

    // 200 pages of two fixed rows of 18 characters each, every one different.
    void fill() {
        for (int slot = 1; slot <= velora::kLastSlot; ++slot) {
            char row[32];
            std::snprintf(row, sizeof row, "PAGINA %03d OFFERTA", slot);
            state.PageText[static_cast<std::size_t>(slot)][1] = row;
            state.PageText[static_cast<std::size_t>(slot)][2] = "RIGA DUE  SCONTI  ";
            state.PageKind[static_cast<std::size_t>(slot)] = velora::kTwoFixedRows;
            state.PagePause[static_cast<std::size_t>(slot)] = 3;
        }
        state.PageCount = velora::kLastSlot;
        editor.history().clear();
        editor.VScroll1.setValue(2);
        editor.VScroll1.setValue(1);
    }
};

void measure(const char* name, const std::function<void(Bench&)>& step, int rounds) {
    Bench bench;
    std::vector<double> undos;
    std::vector<double> redos;
    std::size_t kept = 0;
    bool exact = true;
    for (int round = 0; round < rounds; ++round) {
        bench.fill();
        const std::string before = velora::sequenceFileBytes(bench.state);
        const std::size_t held = bench.editor.history().bytesHeld();
        step(bench);
        kept = bench.editor.history().bytesHeld() - held;
        const std::string after = velora::sequenceFileBytes(bench.state);
        auto start = Clock::now();
        bench.editor.mnuAnnulla.click();
        undos.push_back(millisecondsSince(start));
        exact = exact && velora::sequenceFileBytes(bench.state) == before;
        start = Clock::now();
        bench.editor.mnuRipeti.click();
        redos.push_back(millisecondsSince(start));
        exact = exact && velora::sequenceFileBytes(bench.state) == after;
    }
    std::printf("%-28s undo %.3f ms  redo %.3f ms (medians of %d)  kept %.1f KB  %s\n", name,
                median(undos), median(redos), rounds, static_cast<double>(kept) / 1024.0,
                exact ? "bytes exact" : "BYTES DIFFER");
}

}  // namespace

int main(int argc, char* argv[]) {
    const int rounds = argc > 1 ? std::atoi(argv[1]) : 200;
    measure(
        "delete page 1 of 200", [](Bench& b) { b.editor.Picture1.click(); }, rounds);
    measure(
        "Nuovo with 200 pages", [](Bench& b) { b.editor.mnunextNuovo.click(); }, rounds);
    measure(
        "open over 200 pages",
        [](Bench& b) {
            b.fake.files.contents["/b.inf"] = "1,18\r\n1,\"A\",3\r\n1,\"B\",3\r\n";
            b.fake.dialogs.pathAnswers.push_back("/b.inf");
            b.editor.mnunextApri.click();
        },
        rounds);
    measure(
        "re-store page 100 of 200",
        [](Bench& b) {
            b.editor.VScroll1.setValue(100);
            b.editor.Text1.edit("CAMBIATA");
            b.editor.cmdinserisci.click();
        },
        rounds);

    Bench bench;
    bench.fill();
    const int asks = 10000;
    const auto start = Clock::now();
    int modified = 0;
    for (int i = 0; i < asks; ++i) modified += bench.editor.sequenceModified() ? 1 : 0;
    std::printf("unsaved-changes check, 200 pages: %.1f us each (%d)\n",
                millisecondsSince(start) * 1000.0 / asks, modified > 0);
    return 0;
}
