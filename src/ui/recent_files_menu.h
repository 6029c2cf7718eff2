#pragma once

#include <QMenu>

#include "control_binder.h"
#include "files/recent_files.h"

namespace velora {

// File -> "File recenti": the recent files, newest first, each with its number as access key.
// Choosing one opens it through the model, which also deals with a file that is gone.
class RecentFilesMenu : public QMenu {
    Q_OBJECT

public:
    RecentFilesMenu(RecentFiles& model, ControlBinder& binder, QWidget* parent = nullptr);

    // Lists the model's files again; empty, the menu is greyed out.
    void refresh();

private:
    RecentFiles& m_model;
    ControlBinder& m_binder;
};

}  // namespace velora
