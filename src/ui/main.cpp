#include <cstring>
#include <iostream>

#include <QApplication>

#include "application.h"

int main(int argc, char* argv[]) {
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--version") == 0) {
            std::cout << "velora " << VELORA_VERSION << '\n';
            return 0;
        }
    }
    QApplication qtApp(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Velora"));
    QApplication::setOrganizationName(QStringLiteral("Velora"));
    QApplication::setApplicationVersion(QStringLiteral(VELORA_VERSION));
    // Lets the desktop match the windows to the installed entry and its icon.
    QGuiApplication::setDesktopFileName(QStringLiteral("velora"));

    velora::Application app;
    app.start();
    return QApplication::exec();
}
