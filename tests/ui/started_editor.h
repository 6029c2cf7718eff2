#pragma once

#include <string>

#include <QString>

#include "composition.h"
#include "core/page_store.h"
#include "fakes/fake_services.h"

namespace velora::testing {

// The program's windows as the program composes them, over fake services, with BASE.dat for 18
// characters a row. Tests first set up what they need, then start() shows the editor window,
// whose load handler runs the start-up.
struct StartedEditor {
    FakeServices fake;
    Composition app{fake.services, fake.loopTiming()};
    Modulo1& state = app.state();
    EventGate& gate = app.gate();
    EditorWindow& model = app.models().editor;
    EditorView& view = app.editorView();

    StartedEditor() {
        fake.clock.autoAdvance = 0.05;
        fake.files.contents["BASE.dat"] = "18\r\n";
    }

    void start() { app.start(); }

    // `count` pages of two fixed rows, "PAGINA n" over blanks, as if just opened from
    // /seq/dieci.inf; the editor shows page 1.
    void putSequence(int count) {
        view.binder().run([&] {
            for (int slot = 1; slot <= count; ++slot) {
                std::string row1 = "PAGINA " + std::to_string(slot);
                row1.resize(18, ' ');
                velora::putPage(state, slot, kTwoFixedRows, row1, std::string(18, ' '), 3);
            }
            state.PageCount = static_cast<std::uint8_t>(count);
            state.CurrentFilePath = "/seq/dieci.inf";
            model.markSaved();
            model.VScroll1.setValue(2);
            model.VScroll1.setValue(1);
        });
    }

    // One page in `slot` through the store, the sequence reaching at least that far; the editor
    // loads again the page it shows, as after opening a file.
    void putPage(int slot, int kind, const std::string& row1, const std::string& row2,
                 int pause = 3) {
        view.binder().run([&] {
            velora::putPage(state, slot, static_cast<std::uint8_t>(kind), row1, row2,
                            static_cast<std::uint8_t>(pause));
            if (slot > state.PageCount) state.PageCount = static_cast<std::uint8_t>(slot);
            const int shown = model.VScroll1.value();
            model.VScroll1.setValue(shown == 1 ? 2 : 1);
            model.VScroll1.setValue(shown);
        });
    }

    template <typename W>
    W* find(const char* name) {
        return view.findChild<W*>(QString::fromLatin1(name));
    }
};

}  // namespace velora::testing
