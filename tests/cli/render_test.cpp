#include <QImage>
#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>

namespace velora {

// velora-cli render: a picture of the sign per page, drawn from what the sign is sent.
class RenderTest : public QObject {
    Q_OBJECT

private:
    static int cli(const QStringList& args, QString* out = nullptr, QString* err = nullptr) {
        QProcess process;
        process.start(QStringLiteral(VELORA_CLI), args);
        if (!process.waitForFinished(15000)) {
            process.kill();
            process.waitForFinished();
            return -1;
        }
        if (out) *out = QString::fromUtf8(process.readAllStandardOutput());
        if (err) *err = QString::fromUtf8(process.readAllStandardError());
        return process.exitCode();
    }

    QString writeSequence(const QByteArray& bytes) {
        const QString path = m_dir.filePath(QStringLiteral("seq.inf"));
        QFile file(path);
        if (file.open(QIODevice::WriteOnly)) file.write(bytes);
        return path;
    }

    // Whether the dot at (x, y) of the face is lit in a picture of 8 pixels a dot with a margin
    // of one dot: its centre pixel is bright amber.
    static bool lit(const QImage& picture, int x, int y) {
        return qRed(picture.pixel((x + 1) * 8 + 4, (y + 1) * 8 + 4)) > 200;
    }

    QTemporaryDir m_dir;

private Q_SLOTS:
    void writesEveryPageAsAPictureOfTheSign() {
        // Nine characters: two fixed rows "I" and blanks; a big row "@I" whose "@" has no glyph.
        const QString file = writeSequence(
            "2,9\r\n1,\"I        \",5\r\n1,\"         \",5\r\n3,\"@I  \",3\r\n3,\"@I  \",3\r\n");
        const QString out = m_dir.filePath(QStringLiteral("pictures"));
        QString printed;
        QString errors;
        QCOMPARE(
            cli({QStringLiteral("render"), file, QStringLiteral("--out"), out}, &printed, &errors),
            0);
        QCOMPARE(printed.split(QLatin1Char('\n'), Qt::SkipEmptyParts).size(), 2);
        QVERIFY(errors.contains(QStringLiteral("0x40")));

        const QImage first(out + QStringLiteral("/pagina-001.png"));
        QCOMPARE(first.size(), QSize((54 + 2) * 8, (16 + 2) * 8));
        // "I" is a bar in the middle column of the first cell of row 1; row 2 is dark.
        QVERIFY(lit(first, 2, 0));
        QVERIFY(lit(first, 2, 6));
        QVERIFY(!lit(first, 0, 0));
        for (int x = 0; x < 54; ++x) QVERIFY(!lit(first, x, 10));

        const QImage big(out + QStringLiteral("/pagina-002.png"));
        // The "@" cell stays dark; the big "I" stands in the second cell across both rows.
        for (int y = 0; y < 16; ++y)
            for (int x = 0; x < 12; ++x) QVERIFY(!lit(big, x, y));
        QVERIFY(lit(big, 12 + 4, 2));
        QVERIFY(lit(big, 12 + 4, 13));
    }

    void writesOnlyThePageAskedFor() {
        const QString file = writeSequence(
            "2,9\r\n1,\"A        \",5\r\n1,\"B        \",5\r\n2,\"C        \",1\r\n"
            "2,\"scorre\",1\r\n");
        const QString out = m_dir.filePath(QStringLiteral("one"));
        QCOMPARE(cli({QStringLiteral("render"), file, QStringLiteral("--out"), out,
                      QStringLiteral("--page"), QStringLiteral("2")}),
                 0);
        QCOMPARE(QDir(out).entryList(QDir::Files), QStringList{QStringLiteral("pagina-002.png")});

        QString errors;
        QCOMPARE(cli({QStringLiteral("render"), file, QStringLiteral("--out"), out,
                      QStringLiteral("--page"), QStringLiteral("3")},
                     nullptr, &errors),
                 1);
        QVERIFY(errors.contains(QStringLiteral("pagina 3")));
        QCOMPARE(cli({QStringLiteral("render"), file, QStringLiteral("--page"), QStringLiteral("x"),
                      QStringLiteral("--out"), out}),
                 64);
        QCOMPARE(cli({QStringLiteral("render"), file}), 64);
        QCOMPARE(cli({QStringLiteral("render"), m_dir.filePath(QStringLiteral("none.inf")),
                      QStringLiteral("--out"), out}),
                 1);
    }
};

}  // namespace velora

QTEST_GUILESS_MAIN(velora::RenderTest)
#include "render_test.moc"
