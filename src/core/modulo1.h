#pragma once

#include <array>
#include <cstdint>
#include <string>

#include "clock.h"

namespace velora {

// Page kinds as stored in PageKind and sent to the sign.
enum PageKindCode : std::uint8_t {
    kNeverStored = 0,
    kTwoFixedRows = 1,     // row 1 fixed, row 2 fixed
    kRow2Scrolling = 2,    // row 1 fixed, row 2 scrolling
    kBigFixed = 3,         // one big fixed row
    kBigScrolling = 4,     // one big scrolling row
    kInfoInRow2 = 5,       // row 1 fixed, info in row 2
    kInfoInRow1 = 6,       // info in row 1, row 2 fixed
    kRow1Scrolling = 7,    // row 1 scrolling, row 2 fixed
    kBigFixedInverse = 8,  // one big fixed row shown inverse
};

inline constexpr int kLastSlot = 200;        // slots run 0..200; slot 0 is never a page
inline constexpr int kScrollingLimit = 114;  // characters of a scrolling text
inline constexpr int kInfoTextLength = 16;

// The program-wide state shared by all windows: the page store and the editor-wide values.
// Pages are slots 1..PageCount; slot PageCount + 1 is the new-page slot. Every operation keeps its
// slot numbers within 1..200 itself.
struct Modulo1 {
    // PageText[slot][1] is row 1 (or the big text), [slot][2] row 2 (or the big text again);
    // column 0 is never used. Texts are Windows-1252 bytes, as typed.
    std::array<std::array<std::string, 3>, kLastSlot + 1> PageText;
    std::array<std::uint8_t, kLastSlot + 1> PageKind{};
    std::array<std::uint8_t, kLastSlot + 1> PagePause{};  // seconds

    std::uint8_t PageCount = 0;     // arithmetic on it wraps modulo 256
    std::uint8_t RowChars = 18;     // characters of a fixed row, 3 per LED board
    std::uint8_t InfoRowState = 0;  // 0 none, 1 info in row 2, 2 info in row 1
    std::uint8_t GapOpened = 0;     // 1 after a blank page was opened and already counted
    std::uint8_t PreviewRunning = 0;
    std::uint8_t PreviewPage = 0;
    std::uint8_t CurrentPause = 3;
    std::string CurrentFilePath;  // empty: the sequence has no file yet
    // Iterations of the counting loop in a 2 ms delay, written once by CalibrateDelay at
    // start-up. Nothing in the program reads it any more: the pacing gap (Ritardo) is timed on
    // the monotonic clock, so a failed calibration cannot shorten it. Kept because a failed
    // calibration still shows its error at start-up, as it always has.
    double DelayLoopCount = 0;
    std::uint8_t Attesa_Pagine =
        0;  // "waiting for pages": the link waits for the sign's page count
};

// The 16-character info text the sign replaces with its own date, time and temperature:
// "dd/mm hh:mm +20°", with the degree sign as one Windows-1252 byte.
std::string InfoSampleText(const DateTime& at);
std::string InfoSampleText(const Clock& clock);

}  // namespace velora
