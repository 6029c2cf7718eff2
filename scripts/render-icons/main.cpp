// Renders the program icon drawing at the sizes the window system asks for (see render-icons.sh).
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QSvgRenderer>
int main(int argc, char** argv) {
    QGuiApplication app(argc, argv);
    QSvgRenderer r(QString::fromLocal8Bit(argv[1]));
    for (int s : {16, 24, 32, 48, 64, 128, 256}) {
        QImage img(s, s, QImage::Format_ARGB32_Premultiplied);
        img.fill(Qt::transparent);
        QPainter p(&img);
        r.render(&p, QRectF(0, 0, s, s));
        p.end();
        img.save(QString::fromLocal8Bit(argv[2]) + QStringLiteral("/velora-%1.png").arg(s));
    }
}
