#include "recent_files_menu.h"

#include <QDir>

#include "qt_text.h"

namespace velora {

RecentFilesMenu::RecentFilesMenu(RecentFiles& model, ControlBinder& binder, QWidget* parent)
    : QMenu(parent), m_model(model), m_binder(binder) {
    setObjectName(QStringLiteral("mnuRecenti"));
    setTitle(QStringLiteral("File &recenti"));
    refresh();
}

void RecentFilesMenu::refresh() {
    clear();
    int number = 0;
    for (const std::string& path : m_model.paths()) {
        ++number;
        // A "&" in a file name is a letter, not an access key.
        QString shown = QDir::toNativeSeparators(pathToQt(path));
        shown.replace(QLatin1Char('&'), QStringLiteral("&&"));
        QAction* item = addAction(QStringLiteral("&%1 %2").arg(number).arg(shown));
        // The model's list changes when a file is chosen; the path is taken now.
        connect(item, &QAction::triggered, this,
                [this, path] { m_binder.run([this, path] { m_model.choose(path); }); });
    }
    menuAction()->setEnabled(number > 0);
}

}  // namespace velora
