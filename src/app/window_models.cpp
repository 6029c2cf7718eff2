#include "window_models.h"

#include <utility>

namespace velora {

WindowModels::WindowModels(Services& services, LoopTimingSource timeCountingLoop)
    : editor(state, services, std::move(timeCountingLoop)), info(services) {
    editor.Anteprima.onClick = [this] { preview.Anteprima_Click(); };

    editor.mnunextApri.onClick = [this] { fileMenu.Apri(); };
    editor.mnunextSalva.onClick = [this] { fileMenu.Salva(); };
    editor.mnuNom.onClick = [this] { fileMenu.Salva_c_Nome(); };
    editor.mnunextfinE.onClick = [this] { fileMenu.mnunextfinE_Click(); };

    // The settings and information windows open without modality.
    editor.Salv_Impost.onClick = [this] { settings.window.show(); };
    editor.mnueHelp.onClick = [this] { info.window.show(); };
}

}  // namespace velora
