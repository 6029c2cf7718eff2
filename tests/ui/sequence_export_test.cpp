#include "sequence_export.h"

#include <sys/resource.h>

#include <csignal>

#include <QAction>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QProcess>
#include <QStatusBar>
#include <QtTest>

#include "ui/started_application.h"

namespace velora {

// File -> "Esporta immagini…" and "Esporta foglio…" in the program as started, with its real
// dialogs, against the pictures velora-cli render writes of the same file.
class SequenceExportTest : public QObject {
    Q_OBJECT

private:
    // Three pages, no info row, so that the pictures do not depend on the clock.
    static constexpr const char* kThreePages =
        "3,18\r\n1,\"primo\",4\r\n1,\"secondo\",4\r\n3,\"GRANDE\",6\r\n3,\"GRANDE\",6\r\n"
        "2,\"fermo\",9\r\n2,\"scorre piano piano\",9\r\n";

    struct Harness : testing::StartedApplication {
        QString sequence;
        Harness() {
            sequence = path("vetrina.inf");
            QFile file(sequence);
            if (file.open(QIODevice::WriteOnly)) file.write(kThreePages);
            file.close();
            start(sequence.toStdString());
        }
        SequenceExport& exporter() { return *app->desktopFiles().sequenceExport(); }
    };

    static void typeIntoDialog(const QString& text, bool* done, QString* proposed = nullptr) {
        testing::answerNextDialog<QFileDialog>(
            [text, proposed](QFileDialog* dialog) {
                auto* name = dialog->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
                if (proposed) *proposed = name->text();
                name->setText(text);
                static_cast<QDialog*>(dialog)->accept();
            },
            done);
    }

    // The next message box's text, once it has been answered.
    static void readNextMessage(QString* text, bool* done) {
        testing::answerNextDialog<QMessageBox>(
            [text](QMessageBox* box) {
                *text = box->text();
                box->accept();
            },
            done);
    }

    static QByteArray bytesOf(const QString& path) {
        QFile file(path);
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<missing>");
    }

    // Every file written from now until the end of the scope fails past its first bytes, as on
    // a full disk: the process's file size limit, with the signal such a write raises ignored.
    struct FullDisk {
        rlimit previous{};
        FullDisk() {
            std::signal(SIGXFSZ, SIG_IGN);
            ::getrlimit(RLIMIT_FSIZE, &previous);
            rlimit small = previous;
            small.rlim_cur = 100;
            ::setrlimit(RLIMIT_FSIZE, &small);
        }
        ~FullDisk() { ::setrlimit(RLIMIT_FSIZE, &previous); }
    };

private Q_SLOTS:
    void itemsAreInTheFileMenu() {
        Harness h;
        auto* file = h.app->editor()->menuBar()->findChild<QMenu*>(QStringLiteral("mnuFile"));
        const QList<QAction*> items = file->actions();
        const auto at = [&items](QAction* item) { return items.indexOf(item); };
        QVERIFY(at(h.exporter().picturesItem()) >= 0);
        QCOMPARE(h.exporter().picturesItem()->text(), QStringLiteral("Esporta i&mmagini\u2026"));
        QCOMPARE(h.exporter().sheetItem()->text(), QStringLiteral("Esporta &foglio\u2026"));
        QCOMPARE(at(h.exporter().sheetItem()), at(h.exporter().picturesItem()) + 1);
        QCOMPARE(at(h.app->editor()->action("Salv_Impost")), at(h.exporter().sheetItem()) + 1);
    }

    void picturesAreThoseOfTheCommandLine() {
        Harness h;
        QCOMPARE(int(h.app->state().PageCount), 3);
        QTemporaryDir out;
        bool chosen = false;
        typeIntoDialog(out.path(), &chosen);
        h.exporter().picturesItem()->trigger();
        QVERIFY(chosen);

        QTemporaryDir cli;
        QProcess render;
        render.start(QStringLiteral(VELORA_CLI),
                     {QStringLiteral("render"), h.sequence, QStringLiteral("--out"), cli.path()});
        QVERIFY(render.waitForFinished(30000));
        QCOMPARE(render.exitCode(), 0);

        const QStringList names = QDir(out.path()).entryList(QDir::Files, QDir::Name);
        QCOMPARE(names,
                 QStringList({QStringLiteral("pagina-001.png"), QStringLiteral("pagina-002.png"),
                              QStringLiteral("pagina-003.png")}));
        for (const QString& name : names) {
            const QImage exported(QDir(out.path()).filePath(name));
            QVERIFY(!exported.isNull());
            QCOMPARE(exported, QImage(QDir(cli.path()).filePath(name)));
        }
    }

    void sheetHoldsEveryPageAsPictureOrPdf() {
        Harness h;
        QTemporaryDir out;
        const QString png = QDir(out.path()).filePath(QStringLiteral("foglio.png"));
        QVERIFY(h.exporter().exportSheet(png));
        const QImage sheet(png);
        QVERIFY(!sheet.isNull());
        QVERIFY(h.exporter().exportPictures(out.path()));
        const QImage first(QDir(out.path()).filePath(QStringLiteral("pagina-001.png")));
        // Three pages of an 18-character sign: two columns, two rows, under a title and with
        // their words beneath.
        QVERIFY(sheet.width() > 2 * first.width());
        QVERIFY(sheet.width() < 3 * first.width());
        QVERIFY(sheet.height() > 2 * first.height());
        QVERIFY2(sheet.height() < 4 * first.height(),
                 qPrintable(QStringLiteral("%1 / %2").arg(sheet.height()).arg(first.height())));

        // Through the dialog, a name without extension becomes a PDF.
        bool chosen = false;
        typeIntoDialog(QDir(out.path()).filePath(QStringLiteral("cliente")), &chosen);
        h.exporter().sheetItem()->trigger();
        QVERIFY(chosen);
        QFile pdf(QDir(out.path()).filePath(QStringLiteral("cliente.pdf")));
        QVERIFY(pdf.open(QIODevice::ReadOnly));
        QVERIFY(pdf.read(5) == "%PDF-");
    }

    // On a full disk no picture is reported as exported, the message says which one failed and
    // how many were written, and the good pictures and sheet already there stay as they were.
    void aFullDiskIsReportedAndKeepsThePicturesThere() {
        Harness h;
        QTemporaryDir out;
        const QString sheet = QDir(out.path()).filePath(QStringLiteral("foglio.png"));
        QVERIFY(h.exporter().exportPictures(out.path()));
        QVERIFY(h.exporter().exportSheet(sheet));
        const QStringList names = QDir(out.path()).entryList(QDir::Files | QDir::Hidden);
        QCOMPARE(names.size(), 4);
        QList<QByteArray> before;
        for (const QString& name : names) before << bytesOf(QDir(out.path()).filePath(name));

        QString text;
        bool told = false;
        readNextMessage(&text, &told);
        {
            const FullDisk full;
            QVERIFY(!h.exporter().exportPictures(out.path()));
        }
        QVERIFY(told);
        const QString first = QDir(out.path()).filePath(QStringLiteral("pagina-001.png"));
        QVERIFY2(text.startsWith(QStringLiteral("Impossibile scrivere %1: ").arg(first)),
                 qPrintable(text));
        QVERIFY2(text.endsWith(QStringLiteral(". Immagini scritte: 0 di 3.")), qPrintable(text));

        told = false;
        readNextMessage(&text, &told);
        {
            const FullDisk full;
            QVERIFY(!h.exporter().exportSheet(sheet));
        }
        QVERIFY(told);
        QVERIFY2(text.startsWith(QStringLiteral("Impossibile scrivere %1: ").arg(sheet)),
                 qPrintable(text));

        QCOMPARE(QDir(out.path()).entryList(QDir::Files | QDir::Hidden), names);
        for (qsizetype i = 0; i < names.size(); ++i)
            QCOMPARE(bytesOf(QDir(out.path()).filePath(names[i])), before[i]);
    }

    // Exported again into a folder that holds the pictures of a longer sequence: only the
    // program's own pictures of pages beyond the new last one go.
    void picturesOfPagesNoLongerThereAreTakenAway() {
        Harness h;
        QTemporaryDir out;
        const QStringList kept{QStringLiteral("altro.png"), QStringLiteral("pagina-01.png"),
                               QStringLiteral("pagina-004.png.bak"),
                               QStringLiteral("pagina-004.jpg")};
        for (const QString& name : kept + QStringList{QStringLiteral("pagina-004.png"),
                                                      QStringLiteral("pagina-012.png")}) {
            QFile file(QDir(out.path()).filePath(name));
            QVERIFY(file.open(QIODevice::WriteOnly));
            file.write("vecchio");
        }
        QVERIFY(h.exporter().exportPictures(out.path()));
        QStringList expected = kept;
        expected << QStringLiteral("pagina-001.png") << QStringLiteral("pagina-002.png")
                 << QStringLiteral("pagina-003.png");
        expected.sort();
        QCOMPARE(QDir(out.path()).entryList(QDir::Files | QDir::Hidden, QDir::Name), expected);
        QVERIFY2(h.app->editor()->statusBar()->currentMessage().endsWith(
                     QStringLiteral("; tolte 2 immagini di pagine che non ci sono pi\u00F9")),
                 qPrintable(h.app->editor()->statusBar()->currentMessage()));
    }

    // The sheet's title is the sequence's name and the date, a scrolling row's whole text is
    // under its picture, and the PDF's words are text a reader finds.
    void sheetCarriesTheNameTheDateAndTheScrollingText() {
        Harness h;
        QTemporaryDir out;
        bool chosen = false;
        QString proposed;
        typeIntoDialog(QDir(out.path()).filePath(QStringLiteral("foglio.pdf")), &chosen, &proposed);
        h.exporter().sheetItem()->trigger();
        QVERIFY(chosen);
        QCOMPARE(proposed, QStringLiteral("vetrina.pdf"));

        QProcess text;
        text.start(QStringLiteral("pdftotext"),
                   {QDir(out.path()).filePath(QStringLiteral("foglio.pdf")), QStringLiteral("-")});
        if (!text.waitForFinished(30000) || text.exitStatus() != QProcess::NormalExit)
            QSKIP("pdftotext is not installed");
        const QString words = QString::fromUtf8(text.readAllStandardOutput()).simplified();
        const QDate today = QDate::currentDate();
        QVERIFY2(words.contains(QStringLiteral("vetrina \u2013 ") +
                                QLocale().toString(today, QLocale::LongFormat).simplified()),
                 qPrintable(words));
        for (const char* expected :
             {"Pagina 1 \u2013 4 s", "Pagina 3 \u2013 9 s", "scorre piano piano"})
            QVERIFY2(words.contains(QString::fromUtf8(expected)), qPrintable(words));
    }

    void emptySequenceOrUnwritableFolderIsReported() {
        Harness h;
        QString text;
        bool told = false;
        testing::answerNextDialog<QMessageBox>(
            [&text](QMessageBox* box) {
                text = box->text();
                box->accept();
            },
            &told);
        QVERIFY(!h.exporter().exportPictures(h.path("non-esiste/sotto")));
        QVERIFY(told);
        QVERIFY(text.startsWith(QStringLiteral("Impossibile scrivere ")));

        h.app->state().PageCount = 0;
        told = false;
        testing::answerNextDialog<QMessageBox>(
            [&text](QMessageBox* box) {
                text = box->text();
                box->accept();
            },
            &told);
        h.exporter().picturesItem()->trigger();
        QVERIFY(told);
        QCOMPARE(text, QStringLiteral("Non ci sono pagine da esportare."));
    }
};

}  // namespace velora

QTEST_MAIN(velora::SequenceExportTest)
#include "sequence_export_test.moc"
