#include "application.h"

#include <utility>

#include <QApplication>

#include "artwork.h"
#include "italian.h"
#include "program_places.h"

namespace velora {

Application::Application(LoopTimingSource timeCountingLoop, NetworkPortMaker makeNetwork)
    : m_dialogs([] { return QApplication::activeWindow(); }, [this] { repaintAll(); }),
      m_clock([this] { repaintAll(); }) {
    speakItalian();
    QApplication::setWindowIcon(appIcon());
    m_windows = std::make_unique<Composition>(m_services, std::move(timeCountingLoop), makeNetwork);
    // BASE.dat where the program has always looked for it, the named signs beside the other
    // settings; velora-cli finds both in the same places.
    const std::string baseDat = baseDatLocation();
    WindowModels& models = m_windows->models();
    models.editor.setSettingsFile(baseDat);
    const std::string signsFile = signsFileLocation();
    if (!signsFile.empty()) models.signStore.setPaths(signsFile, baseDat);
    models.rememberedPort = [] { return rememberedPort(); };
    m_program.atEnd([this] { m_windows->ports().close(); });
    m_desktopFiles = std::make_unique<DesktopFiles>(m_windows->models(), m_dialogs,
                                                    m_windows->editorView(), m_windows->gate());
}

Application::~Application() = default;

EditorView& Application::start(const std::string& file) {
    EditorView& editor = m_windows->start();
    if (!file.empty()) m_desktopFiles->open(file);
    return editor;
}

void Application::repaintAll() {
    // Dialogs and long waits can come before the windows are composed.
    if (m_windows) m_windows->syncWindows();
}

}  // namespace velora
