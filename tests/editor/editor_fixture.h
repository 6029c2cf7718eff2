#pragma once

#include <gtest/gtest.h>

#include <string>

#include "editor/editor_window.h"
#include "fakes/fake_services.h"
#include "window_models.h"

namespace velora::testing {

// Row 1 of the page putSequence puts in `slot`: "P<slot>". Built by appending: GCC 12 at -O3
// reports a false -Wrestrict inside `"P" + std::to_string(slot)`.
inline std::string sequenceRow1(int slot) {
    std::string text = "P";
    text += std::to_string(slot);
    return text;
}

// A started editor over fake services, with helpers to lay out a sequence directly in the store.
class EditorFixture : public ::testing::Test {
protected:
    explicit EditorFixture(const char* settings = "18\r\n") {
        fake.clock.autoAdvance = 0.05;
        fake.files.contents["BASE.dat"] = settings;
        editor.Form_Load();
        fake.dialogs.shown.clear();
    }

    void putPage(int slot, int kind, const std::string& row1, const std::string& row2,
                 int pause = 3) {
        state.PageText[slot][1] = row1;
        state.PageText[slot][2] = row2;
        state.PageKind[slot] = static_cast<std::uint8_t>(kind);
        state.PagePause[slot] = static_cast<std::uint8_t>(pause);
    }

    // Pages 1..count of kind 1 whose row 1 is "P<slot>", each with its own pause.
    void putSequence(int count) {
        for (int slot = 1; slot <= count; ++slot) putPage(slot, 1, sequenceRow1(slot), "", slot);
        state.PageCount = static_cast<std::uint8_t>(count);
    }

    // Loads the page at `position`, also when the selector stands there already.
    void showPage(int position) {
        editor.VScroll1.setValue(position == 1 ? 2 : 1);
        editor.VScroll1.setValue(position);
    }

    int reportedErrors() const {
        int count = 0;
        for (const auto& s : fake.dialogs.shown) count += s.title == "Comunicazione di sistema:";
        return count;
    }
    int messagesSaying(const std::string& text) const {
        int count = 0;
        for (const auto& m : fake.dialogs.messages()) count += m == text;
        return count;
    }

    FakeServices fake;
    // The window models as the program wires them, so that a click reaches whoever answers it.
    WindowModels windows{fake.services, fake.loopTiming()};
    Modulo1& state = windows.state;
    EditorWindow& editor = windows.editor;
};

}  // namespace velora::testing
