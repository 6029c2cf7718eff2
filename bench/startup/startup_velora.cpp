// The desktop program as main() starts it, up to the first paint of the editor window: the
// calibration of the pacing delay and the reading of BASE.dat included.
#include <QApplication>

#include "application.h"
#include "first_paint.h"
#include "platform/calibration.h"
#include "platform/system_clock.h"

int main(int argc, char* argv[]) {
    const velora::SystemClock calibrationClock;
    velora::CalibrationAhead calibration(calibrationClock);

    QApplication qtApp(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Velora"));
    QApplication::setOrganizationName(QStringLiteral("Velora"));
    QGuiApplication::setDesktopFileName(QStringLiteral("velora"));

    velora::Application app([&calibration] { return calibration.timing(); },
                            velora::networkPortFromModule());
    FirstPaint firstPaint;
    // Installed before the window is created, so that no paint of it can be missed.
    qtApp.installEventFilter(&firstPaint);
    app.start();
    return QApplication::exec();
}
