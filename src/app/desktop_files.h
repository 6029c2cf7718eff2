#pragma once

#include <string>

#include "control_binder.h"
#include "editor_view.h"
#include "event_gate.h"
#include "qt_dialogs.h"
#include "window_models.h"

namespace velora {

class RecentFilesMenu;
class SequenceExport;

// Sequence files the way a desktop offers them: a file named on the command line or dropped on
// the editor, the recent files in the File menu (kept between runs in the user's settings), the
// file dialogs starting in the folder of the last file opened or saved, and the sequence
// exported as pictures.
class DesktopFiles {
public:
    DesktopFiles(WindowModels& models, QtDialogs& dialogs, EditorView& editor, EventGate& gate);
    DesktopFiles(const DesktopFiles&) = delete;
    DesktopFiles& operator=(const DesktopFiles&) = delete;

    // Opens `path` as "Apri" does, as the user's own action.
    void open(const std::string& path);

    RecentFilesMenu* recentMenu() const { return m_recentMenu; }
    SequenceExport* sequenceExport() const { return m_export; }

private:
    void fileUsed(const std::string& path);
    void keepRecent();

    WindowModels& m_models;
    QtDialogs& m_dialogs;
    EditorView& m_editor;
    EventGate& m_gate;
    RecentFilesMenu* m_recentMenu = nullptr;
    SequenceExport* m_export = nullptr;
};

}  // namespace velora
