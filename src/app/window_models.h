#pragma once

#include <functional>
#include <string>

#include "core/modulo1.h"
#include "core/pacing.h"
#include "core/services.h"
#include "editor/editor_window.h"
#include "files/file_menu.h"
#include "files/recent_files.h"
#include "info/info_window.h"
#include "pages/page_list.h"
#include "preview/preview.h"
#include "settings/salva_impost.h"
#include "signs/sign_list.h"
#include "signs/signs_window.h"

namespace velora {

// The window models of the program over one program-wide state, wired to each other. A window
// model wires its own controls to its own handlers; which window answers a control of another
// (the editor's "Anteprima", its File menu, "Salva Impostazioni", "Insegne…", "Help") is decided
// here and nowhere else. The transmission window, which needs the serial port, is wired by
// Composition. No Qt: model tests build it over fakes.
struct WindowModels {
    WindowModels(Services& services, LoopTimingSource timeCountingLoop);
    WindowModels(const WindowModels&) = delete;
    WindowModels& operator=(const WindowModels&) = delete;

    Modulo1 state;
    EditorWindow editor;
    Preview preview{editor};
    FileMenu fileMenu{editor};
    RecentFiles recentFiles;
    Salva_Impost settings{editor};
    InfoWindow info;
    PageList pages{editor};
    // The named signs: not in use until the program sets the paths of their files.
    SignStore signStore;
    SignsWindow signs{editor, settings, signStore};
    // The port the transmission window last opened, which the first sign takes when there is no
    // signs file yet.
    std::function<std::string()> rememberedPort;
};

}  // namespace velora
