#pragma once

#include <QString>

#include "editor_view.h"
#include "fakes/fake_services.h"

namespace velora::testing {

// The editor window over fake services, with BASE.dat for 18 characters a row. Tests first set
// up what they need, then start() shows the window, whose load handler runs the start-up.
struct StartedEditor {
    FakeServices fake;
    Modulo1 state;
    EventGate gate;
    EditorWindow model{state, fake.services, fake.loopTiming()};
    EditorView view{model, gate};

    StartedEditor() {
        fake.clock.autoAdvance = 0.05;
        fake.files.contents["BASE.dat"] = "18\r\n";
    }

    void start() {
        view.binder().run([this] { model.window.show(); });
    }

    template <typename W>
    W* find(const char* name) {
        return view.findChild<W*>(QString::fromLatin1(name));
    }
};

}  // namespace velora::testing
