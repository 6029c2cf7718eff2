#include "qt_text.h"

#include "core/windows1252.h"

namespace velora {

QString toQt(const std::string& cp1252) {
    return QString::fromStdString(windows1252::toUtf8(cp1252));
}

std::string fromQt(const QString& text) {
    return windows1252::fromUtf8(text.toStdString());
}

QString pathToQt(const std::string& utf8Path) {
    return QString::fromStdString(utf8Path);
}

std::string pathFromQt(const QString& path) {
    return path.toStdString();
}

}  // namespace velora
