// Renders the program icon drawing at the sizes the window system asks for (see render-icons.sh):
// a PNG picture for each size, and the window's sizes once more as plain pixels, which the program
// takes without decoding anything at start.
#include <QFile>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QSvgRenderer>
int main(int argc, char** argv) {
    QGuiApplication app(argc, argv);
    QSvgRenderer r(QString::fromLocal8Bit(argv[1]));
    const QString folder = QString::fromLocal8Bit(argv[2]);
    QFile pixels(folder + QStringLiteral("/velora-window.rgba"));
    if (!pixels.open(QIODevice::WriteOnly | QIODevice::Truncate)) return 1;
    for (int s : {16, 24, 32, 48, 64, 128, 256}) {
        QImage img(s, s, QImage::Format_ARGB32_Premultiplied);
        img.fill(Qt::transparent);
        QPainter p(&img);
        r.render(&p, QRectF(0, 0, s, s));
        p.end();
        img.save(folder + QStringLiteral("/velora-%1.png").arg(s));
        // The sizes a window's icon is drawn at, byte by byte red, green, blue and alpha, as the
        // PNG picture holds them: the same on every processor.
        if (s <= 64) {
            const QImage rgba = QImage(folder + QStringLiteral("/velora-%1.png").arg(s))
                                    .convertToFormat(QImage::Format_RGBA8888);
            for (int y = 0; y < s; ++y)
                pixels.write(reinterpret_cast<const char*>(rgba.constScanLine(y)), qint64{s} * 4);
        }
    }
    return pixels.flush() ? 0 : 1;
}
