#pragma once

#include <QString>

#include "composition.h"
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

    template <typename W>
    W* find(const char* name) {
        return view.findChild<W*>(QString::fromLatin1(name));
    }
};

}  // namespace velora::testing
