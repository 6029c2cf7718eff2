#include "italian.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QPointer>
#include <QTranslator>

namespace velora {

bool speakItalian() {
    const QLocale italian(QLocale::Italian, QLocale::Italy);
    QLocale::setDefault(italian);
    // Owned by the application object, so it goes with it.
    static QPointer<QTranslator> installed;
    if (installed) return true;
    auto* translator = new QTranslator(QCoreApplication::instance());
#ifdef _WIN32
    // Installed with the program, in translations/ beside it.
    const QString folder = QCoreApplication::applicationDirPath() + QStringLiteral("/translations");
#else
    const QString folder = QLibraryInfo::path(QLibraryInfo::TranslationsPath);
#endif
    if (!translator->load(italian, QStringLiteral("qtbase"), QStringLiteral("_"), folder)) {
        delete translator;
        return false;
    }
    QCoreApplication::installTranslator(translator);
    installed = translator;
    return true;
}

}  // namespace velora
