#include <functional>

#include <QAction>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTimer>
#include <QtTest>

#include "ui/started_application.h"

namespace velora {

// Drives the whole program offscreen, with its real dialogs and files, in a folder of its own.
class FilesViewTest : public QObject {
    Q_OBJECT

private:
    struct Harness : testing::StartedApplication {
        Harness() : StartedApplication(" 18 \r\n") { start(); }
        void writeFile(const QString& name, const QByteArray& bytes) {
            QFile file(name);
            QVERIFY(file.open(QIODevice::WriteOnly));
            file.write(bytes);
        }
        QAction* action(const char* name) { return app->editor()->action(name); }
    };

    static QByteArray fileBytes(const QString& path) {
        QFile file(path);
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<missing>");
    }

    static void chooseFile(const QString& path, bool* done) {
        testing::answerNextDialog<QFileDialog>(
            [path](QFileDialog* files) {
                // As a user does: type the name, then accept. Choosing the file in the dialog's
                // list instead would race with the dialog reading the folder.
                files->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"))->setText(path);
                static_cast<QDialog*>(files)->accept();
            },
            done);
    }

private Q_SLOTS:
    void savedUnderANewNameOpensWithTheSamePages() {
        Harness h;
        Modulo1& state = h.app->state();
        state.PageCount = 2;
        state.PageKind[1] = kTwoFixedRows;
        state.PageText[1] = {"", "  Buon giorno  ", std::string("citt\xE0 +20\xB0")};
        state.PagePause[1] = 5;
        state.PageKind[2] = kBigScrolling;
        state.PageText[2] = {"", "scorre \"piano\"", "scorre \"piano\""};
        state.PagePause[2] = 12;
        const Modulo1 saved = state;

        const QString path = h.path("sequenza.inf");
        bool chosen = false;
        chooseFile(path, &chosen);
        h.action("mnuNom")->trigger();
        QVERIFY(chosen);
        QCOMPARE(fileBytes(path).left(6), QByteArray("2,18\r\n"));
        // The save says so in the status line, without a dialog.
        QVERIFY(h.app->editor()
                    ->findChild<QLabel*>(QStringLiteral("saveNotice"))
                    ->text()
                    .startsWith(QStringLiteral("File salvato alle ")));

        for (std::size_t slot = 1; slot <= 2; ++slot) state.PageText[slot] = {"", "x", "y"};
        state.PageCount = 7;
        bool opened = false;
        chooseFile(path, &opened);
        h.action("mnunextApri")->trigger();
        QVERIFY(opened);

        QCOMPARE(state.CurrentFilePath, path.toStdString());
        QCOMPARE(int(state.PageCount), 2);
        for (std::size_t slot = 1; slot <= 2; ++slot) {
            QCOMPARE(state.PageText[slot], saved.PageText[slot]);
            QCOMPARE(state.PageKind[slot], saved.PageKind[slot]);
            QCOMPARE(state.PagePause[slot], saved.PagePause[slot]);
        }
        QCOMPARE(h.app->editor()->findChild<QLabel*>(QStringLiteral("txtmax"))->text(),
                 QStringLiteral("2"));
    }

    void answeringNoKeepsTheExistingFile() {
        Harness h;
        const QString path = h.path("vecchio.inf");
        h.writeFile(path, "1,9\r\n1,\"old\",3\r\n1,\"old\",3\r\n");
        h.app->state().CurrentFilePath = "earlier.inf";
        h.app->state().PageCount = 1;

        bool chosen = false;
        bool asked = false;
        chooseFile(path, &chosen);
        QString question;
        QString title;
        testing::answerNextDialog<QMessageBox>(
            [&](QMessageBox* box) {
                question = box->text();
                title = box->windowTitle();
                box->button(QMessageBox::No)->click();
            },
            &asked);
        h.action("mnuNom")->trigger();

        QVERIFY(chosen);
        QVERIFY(asked);
        QCOMPARE(title, QStringLiteral("Conferma"));
        QVERIFY(question.contains(QStringLiteral("Sovrascrivere il file ?")));
        QCOMPARE(fileBytes(path), QByteArray("1,9\r\n1,\"old\",3\r\n1,\"old\",3\r\n"));
        QCOMPARE(h.app->state().CurrentFilePath, std::string("earlier.inf"));
    }

    void ctrlNEmptiesTheSequence() {
        Harness h;
        Modulo1& state = h.app->state();
        state.PageCount = 1;
        state.PageKind[1] = kTwoFixedRows;
        state.PageText[1] = {"", "uno", "due"};
        EditorView* editor = h.app->editor();
        editor->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(editor));
        QTest::keyClick(editor, Qt::Key_N, Qt::ControlModifier);
        QCOMPARE(state.PageCount, std::uint8_t{0});
        QVERIFY(state.PageText[1][1].empty());
    }

    void settingsWindowWritesBaseDatAndTheEditorShowsTheBoards() {
        Harness h;
        h.action("Salv_Impost")->trigger();
        SettingsView* view = h.app->settings();
        QVERIFY(QTest::qWaitForWindowExposed(view));
        QCOMPARE(view->windowTitle(), QStringLiteral("Form1"));
        QCOMPARE(view->findChild<QLabel*>(QStringLiteral("Label2"))->text(), QStringLiteral("6"));

        auto* combo = view->findChild<QComboBox*>(QStringLiteral("Combo2"));
        combo->lineEdit()->clear();
        QTest::keyClicks(combo->lineEdit(), QStringLiteral("8"));
        QTest::mouseClick(view->findChild<QPushButton*>(QStringLiteral("Command1")),
                          Qt::LeftButton);

        QCOMPARE(fileBytes(QStringLiteral("BASE.dat")), QByteArray(" 24 \r\n"));
        QCOMPARE(int(h.app->state().RowChars), 24);
        QCOMPARE(h.app->editor()->findChild<QLabel*>(QStringLiteral("Label3"))->text(),
                 QStringLiteral("8"));

        QTest::mouseClick(view->findChild<QPushButton*>(QStringLiteral("Command2")),
                          Qt::LeftButton);
        QVERIFY(view->isHidden());
        QVERIFY(!h.app->settings()->model().window.loaded());
    }

    // Opening the settings window and closing it with Escape changes nothing.
    void escapeFromTheSettingsWindowKeepsTheRowWidth() {
        Harness h;
        h.app->state().RowChars = 12;
        h.action("Salv_Impost")->trigger();
        SettingsView* view = h.app->settings();
        QVERIFY(QTest::qWaitForWindowActive(view));
        QCOMPARE(view->findChild<QLabel*>(QStringLiteral("Label2"))->text(), QStringLiteral("4"));
        QTest::keyClick(view, Qt::Key_Escape);
        QVERIFY(view->isHidden());
        QCOMPARE(int(h.app->state().RowChars), 12);
        QCOMPARE(fileBytes(QStringLiteral("BASE.dat")), QByteArray(" 18 \r\n"));
    }
};

}  // namespace velora

QTEST_MAIN(velora::FilesViewTest)
#include "files_view_test.moc"
