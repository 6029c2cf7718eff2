#include <QAction>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QProcess>
#include <QtTest>

#include "sequence_export.h"
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

    static void typeIntoDialog(const QString& text, bool* done) {
        testing::answerNextDialog<QFileDialog>(
            [text](QFileDialog* dialog) {
                dialog->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"))->setText(text);
                static_cast<QDialog*>(dialog)->accept();
            },
            done);
    }

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
        // Three pages of an 18-character sign: two columns, two rows, with captions.
        QVERIFY(sheet.width() > 2 * first.width());
        QVERIFY(sheet.width() < 3 * first.width());
        QVERIFY(sheet.height() > 2 * first.height());
        QVERIFY(sheet.height() < 3 * first.height());

        // Through the dialog, a name without extension becomes a PDF.
        bool chosen = false;
        typeIntoDialog(QDir(out.path()).filePath(QStringLiteral("cliente")), &chosen);
        h.exporter().sheetItem()->trigger();
        QVERIFY(chosen);
        QFile pdf(QDir(out.path()).filePath(QStringLiteral("cliente.pdf")));
        QVERIFY(pdf.open(QIODevice::ReadOnly));
        QVERIFY(pdf.read(5) == "%PDF-");
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
