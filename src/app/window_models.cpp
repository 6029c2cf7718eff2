#include "window_models.h"

#include <utility>

namespace velora {

WindowModels::WindowModels(Services& services, LoopTimingSource timeCountingLoop)
    : editor(state, services, std::move(timeCountingLoop)),
      recentFiles(fileMenu, services),
      info(services),
      signStore(services.files) {
    editor.Anteprima.onClick = [this] { preview.Anteprima_Click(); };

    editor.mnunextApri.onClick = [this] { fileMenu.Apri(); };
    editor.mnunextSalva.onClick = [this] { fileMenu.Salva(); };
    editor.mnuNom.onClick = [this] { fileMenu.Salva_c_Nome(); };
    editor.mnunextfinE.onClick = [this] { fileMenu.mnunextfinE_Click(); };
    fileMenu.onFileUsed = [this](const std::string& path) { recentFiles.remember(path); };

    // The settings and information windows open without modality.
    editor.Salv_Impost.onClick = [this] { settings.window.show(); };
    editor.mnueHelp.onClick = [this] { info.window.show(); };
    // The information window's link leads to the same guide as "Guida".
    info.openGuide = [this] { editor.mnuGuida.click(); };
    // On a first start the message that the settings are missing is followed by the window
    // that makes them.
    editor.onSettingsMissing = [this] { settings.window.show(); };
    // The board count is the current sign's; the signs are read once BASE.dat has been.
    settings.useSigns(signStore);
    editor.mnuInsegne.onClick = [this] { signs.window.show(); };
    editor.onSettingsLoaded = [this] { signs.loadSigns(rememberedPort); };
    // A file opened is compared with the width of the sign in use.
    fileMenu.settingRowChars = [this]() -> std::optional<int> {
        if (!signStore.usable() || !signStore.fromFile()) return std::nullopt;
        return signStore.list().current().rowChars();
    };
}

}  // namespace velora
