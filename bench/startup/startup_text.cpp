// The second yardstick: a plain Qt text window (a main window with a menu bar and a text editor
// holding a line of text), started the same way. Unlike the empty window it lays out and draws
// text, as every real window does. Given WIDTHxHEIGHT it opens at that size instead of Qt's own:
// the third yardstick, as large as the editor's window.
//
//   startup_text [WIDTHxHEIGHT]
#include <cstdio>

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
    int width = 0;
    int height = 0;
    if (argc > 1 && std::sscanf(argv[1], "%dx%d", &width, &height) == 2)
        window.resize(width, height);
    FirstPaint firstPaint;
    app.installEventFilter(&firstPaint);
    window.show();
    return QApplication::exec();
}
