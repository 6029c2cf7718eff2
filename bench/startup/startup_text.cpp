// The second yardstick: a plain Qt text window (a main window with a menu bar and a text editor
// holding a line of text), started the same way. Unlike the empty window it lays out and draws
// text, as every real window does.
#include <QApplication>
#include <QMainWindow>
#include <QMenuBar>
#include <QPlainTextEdit>

#include "first_paint.h"

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    QMainWindow window;
    window.menuBar()->addMenu(QStringLiteral("&File"));
    auto* text = new QPlainTextEdit(&window);
    text->setPlainText(QStringLiteral("Velora"));
    window.setCentralWidget(text);
    FirstPaint firstPaint;
    app.installEventFilter(&firstPaint);
    window.show();
    return QApplication::exec();
}
