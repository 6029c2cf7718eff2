#include "qt_program.h"

#include <cstdio>
#include <cstdlib>

#include <QDesktopServices>
#include <QUrl>

namespace velora {

void QtProgram::end() {
    for (const auto& release : m_releases) release();
    std::fflush(nullptr);
    // At once: no further handler may run, and nothing is saved. (MinGW's runtime has no
    // quick_exit; no handler is registered for it anyway.)
    std::_Exit(0);
}

bool QtProgram::openWebPage(const std::string& url) {
    return QDesktopServices::openUrl(QUrl(QString::fromStdString(url)));
}

}  // namespace velora
