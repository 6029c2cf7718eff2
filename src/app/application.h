#pragma once

#include <memory>

#include "composition.h"
#include "core/pacing.h"
#include "core/services.h"
#include "desktop_files.h"
#include "platform/system_files.h"
#include "qt_clock.h"
#include "qt_dialogs.h"
#include "qt_program.h"

namespace velora {

// The desktop program: the Qt services, and the program's windows composed over them.
class Application {
public:
    // `timeCountingLoop` times the counting loop of the calibration (see CalibrateDelay);
    // `makeNetwork` makes the link's network port when a network address is first chosen.
    explicit Application(LoopTimingSource timeCountingLoop,
                         NetworkPortMaker makeNetwork = &linkedNetworkPort);
    Application(const Application&) = delete;
    Application& operator=(const Application&) = delete;
    ~Application();

    // Shows the editor window, whose load handler runs the start-up; then opens `file`, when
    // one is given, as "Apri" does.
    EditorView& start(const std::string& file = {});

    Modulo1& state() { return m_windows->state(); }
    Services& services() { return m_services; }
    EventGate& gate() { return m_windows->gate(); }
    QtProgram& program() { return m_program; }
    Composition& windows() { return *m_windows; }
    EditorView* editor() { return &m_windows->editorView(); }
    InfoView* info() { return m_windows->info(); }
    InvDat& transmission() { return m_windows->transmission(); }
    TransmissionView* transmissionView() { return m_windows->transmissionView(); }
    SettingsView* settings() { return m_windows->settings(); }
    DesktopFiles& desktopFiles() { return *m_desktopFiles; }
    QtDialogs& dialogs() { return m_dialogs; }

private:
    void repaintAll();

    QtDialogs m_dialogs;
    QtClock m_clock;
    SystemFiles m_files;
    QtProgram m_program;
    Services m_services{m_dialogs, m_clock, m_files, m_program};
    std::unique_ptr<Composition> m_windows;
    std::unique_ptr<DesktopFiles> m_desktopFiles;
};

}  // namespace velora
