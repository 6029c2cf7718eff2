#include <cstring>
#include <iostream>
#include <string>

#include <QApplication>
#include <QStringList>

#include "application.h"
#include "network_port_maker.h"
#include "platform/calibration.h"
#include "platform/system_clock.h"
#include "qt_text.h"
#include "velora_version.h"

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

    // A file named on the command line (the desktop passes the one double-clicked) opens at
    // start; Qt has taken its own options out of the arguments by now. The name is the system's
    // own bytes: Qt's decoded arguments would lose a name that is not UTF-8.
    std::string file;
#ifdef _WIN32
    const QStringList arguments = QApplication::arguments();
    for (qsizetype i = 1; i < arguments.size(); ++i) {
        if (arguments[i].startsWith(QLatin1Char('-'))) continue;
        file = velora::pathFromQt(arguments[i]);
        break;
    }
#else
    for (int i = 1; i < argc; ++i) {
        if (argv[i][0] == '-') continue;
        file = argv[i];
        break;
    }
#endif

    // The network port, and Qt Network with it, is loaded when a network address is first used.
    // The pacing delay's calibration times a counting loop of several milliseconds, once the
    // editor is on the screen.
    const velora::SystemClock calibrationClock;
    velora::Application app(
        [&calibrationClock] { return velora::timeCountingLoop(calibrationClock); },
        velora::networkPortFromModule());
    app.start(file);
    return QApplication::exec();
}
