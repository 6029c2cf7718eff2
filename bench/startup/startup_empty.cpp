// The yardstick: an empty Qt Widgets window, started the same way.
#include <QApplication>
#include <QWidget>

#include "first_paint.h"

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    QWidget window;
    FirstPaint firstPaint;
    app.installEventFilter(&firstPaint);
    window.show();
    return QApplication::exec();
}
