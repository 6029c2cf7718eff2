// The desktop program as main() starts it, up to the first paint of the editor window, the
// reading of BASE.dat and of the signs included; the pacing delay's calibration follows that
// paint, as in the program.
#include <QApplication>

#include "application.h"
#include "first_paint.h"
#include "platform/calibration.h"
#include "platform/system_clock.h"

int main(int argc, char* argv[]) {
    QApplication qtApp(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Velora"));
    QApplication::setOrganizationName(QStringLiteral("Velora"));
    QGuiApplication::setDesktopFileName(QStringLiteral("velora"));

    const velora::SystemClock calibrationClock;
    velora::Application app(
        [&calibrationClock] { return velora::timeCountingLoop(calibrationClock); },
        velora::networkPortFromModule());
    FirstPaint firstPaint;
    // Installed before the window is created, so that no paint of it can be missed.
    qtApp.installEventFilter(&firstPaint);
    app.start();
    return QApplication::exec();
}
