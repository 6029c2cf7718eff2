#pragma once

#include <memory>

#include "core/modulo1.h"
#include "core/services.h"
#include "editor/editor_window.h"
#include "editor_view.h"
#include "event_gate.h"
#include "files/file_menu.h"
#include "qt_clock.h"
#include "qt_dialogs.h"
#include "qt_files.h"
#include "qt_program.h"
#include "settings/salva_impost.h"
#include "settings_view.h"

namespace velora {

// The desktop program: the Qt services, the shared state, the window models and their views.
class Application {
public:
    Application();
    Application(const Application&) = delete;
    Application& operator=(const Application&) = delete;
    ~Application();

    // Creates and shows the editor window, whose load handler runs the start-up.
    EditorView& start();

    Modulo1& state() { return m_state; }
    Services& services() { return m_services; }
    EventGate& gate() { return m_gate; }
    QtProgram& program() { return m_program; }
    EditorView* editor() { return m_editorView.get(); }
    SettingsView* settings() { return m_settingsView.get(); }

private:
    void repaintAll();

    EventGate m_gate;
    QtDialogs m_dialogs;
    QtClock m_clock;
    QtFiles m_files;
    QtProgram m_program;
    Services m_services{m_dialogs, m_clock, m_files, m_program};
    Modulo1 m_state;
    EditorWindow m_editor{m_state, m_services};
    std::unique_ptr<EditorView> m_editorView;
    FileMenu m_fileMenu{m_editor};
    Salva_Impost m_settings{m_editor};
    std::unique_ptr<SettingsView> m_settingsView;
};

}  // namespace velora
