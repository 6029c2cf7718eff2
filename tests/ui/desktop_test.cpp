#include <functional>

#include <QAction>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QInputDialog>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QScreen>
#include <QSettings>
#include <QTemporaryDir>
#include <QTimer>
#include <QWindow>
#include <QtTest>

#include "qt_text.h"
#include "ui/started_application.h"

namespace velora {

// The whole program offscreen, as a desktop program: its language, its standard keys and the
// way its windows open.
class DesktopTest : public QObject {
    Q_OBJECT

private:
    struct Harness : testing::StartedApplication {
        Harness() {
            // The transmission window opens the sign inside the program, whatever this machine has.
            QSettings().setValue(QStringLiteral("link/port"),
                                 QString::fromLatin1(kVirtualSignPort));
            start();
        }
        QAction* action(const char* name) { return app->editor()->action(name); }
    };

    struct FileDialogTexts {
        QString accept, lookIn, fileType, cancel;
        QFileDialog::AcceptMode mode = QFileDialog::AcceptOpen;
    };

    static void readAndClose(FileDialogTexts* texts, bool* done) {
        testing::answerNextDialog<QFileDialog>(
            [texts](QFileDialog* files) {
                auto* box = files->findChild<QDialogButtonBox*>(QStringLiteral("buttonBox"));
                const auto buttons = box->buttons();
                for (QAbstractButton* button : buttons) {
                    if (box->buttonRole(button) == QDialogButtonBox::AcceptRole)
                        texts->accept = button->text();
                    if (box->buttonRole(button) == QDialogButtonBox::RejectRole)
                        texts->cancel = button->text();
                }
                texts->lookIn = files->findChild<QLabel*>(QStringLiteral("lookInLabel"))->text();
                texts->fileType =
                    files->findChild<QComboBox*>(QStringLiteral("fileTypeCombo"))->currentText();
                texts->mode = files->acceptMode();
                files->reject();
            },
            done);
    }

private Q_SLOTS:
    // The desktop's language is C here: the program speaks Italian all the same.
    void qtDialogsSpeakItalian() {
        Harness h;
        // A page in the store: an open dialog cancelled over an empty sequence has a message of
        // its own.
        h.app->state().PageCount = 1;
        h.app->state().PageKind[1] = kTwoFixedRows;
        FileDialogTexts open;
        bool shown = false;
        readAndClose(&open, &shown);
        h.action("mnunextApri")->trigger();
        QVERIFY(shown);
        QCOMPARE(open.accept, QStringLiteral("&Apri"));
        QCOMPARE(open.cancel, QStringLiteral("Annulla"));
        QCOMPARE(open.lookIn, QStringLiteral("Cerca in:"));
        // The filter keeps its own text.
        QCOMPARE(open.fileType, QStringLiteral("Team Files (*.inf)"));

        // The overwrite question, over a file that is there.
        QFile existing(QStringLiteral("vecchio.inf"));
        QVERIFY(existing.open(QIODevice::WriteOnly));
        existing.close();
        bool chosen = false;
        testing::answerNextDialog<QFileDialog>(
            [](QFileDialog* files) {
                files->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"))
                    ->setText(QDir::current().absoluteFilePath(QStringLiteral("vecchio.inf")));
                static_cast<QDialog*>(files)->accept();
            },
            &chosen);
        QStringList answers;
        QMessageBox::Icon icon = QMessageBox::NoIcon;
        bool asked = false;
        testing::answerNextDialog<QMessageBox>(
            [&](QMessageBox* box) {
                icon = box->icon();
                answers << box->button(QMessageBox::Yes)->text()
                        << box->button(QMessageBox::No)->text();
                box->button(QMessageBox::No)->click();
            },
            &asked);
        h.action("mnuNom")->trigger();
        QVERIFY(chosen && asked);
        QCOMPARE(answers, (QStringList{QStringLiteral("&S\u00EC"), QStringLiteral("&No")}));
        QCOMPARE(icon, QMessageBox::Question);
    }

    void datesAreItalian() {
        Harness h;
        const std::string date = h.app->services().clock.longDate(DateTime{2026, 12, 10, 9, 7, 5});
        QCOMPARE(toQt(date), QStringLiteral("gioved\u00EC 10 dicembre 2026"));
    }

    // The usual keys of a desktop program reach Save As and the exit question.
    void standardKeys() {
        Harness h;
        QVERIFY(QTest::qWaitForWindowActive(h.app->editor()));
        FileDialogTexts saveAs;
        bool shown = false;
        readAndClose(&saveAs, &shown);
        QTest::keyClick(h.app->editor(), Qt::Key_S, Qt::ControlModifier | Qt::ShiftModifier);
        QVERIFY(shown);
        QCOMPARE(saveAs.mode, QFileDialog::AcceptSave);
        QCOMPARE(saveAs.accept, QStringLiteral("&Salva"));

        h.app->editor()->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(h.app->editor()));
        // A page not yet saved, so that the exit asks instead of ending at once.
        h.app->state().PageCount = 1;
        h.app->state().PageKind[1] = kTwoFixedRows;
        QString asked;
        QStringList answers;
        bool quitAsked = false;
        testing::answerNextDialog<QMessageBox>(
            [&](QMessageBox* box) {
                asked = box->text();
                for (QAbstractButton* button : box->buttons()) answers << button->text();
                box->escapeButton()->click();
            },
            &quitAsked);
        QTest::keyClick(h.app->editor(), Qt::Key_Q, Qt::ControlModifier);
        QVERIFY(quitAsked);
        QCOMPARE(asked, QStringLiteral("Le modifiche a \"Senza Nome\" non sono state salvate. "
                                       "Salvarle prima di uscire?"));
        // The desktop's style decides the order of the buttons.
        answers.sort();
        QCOMPARE(answers,
                 (QStringList{QStringLiteral("Esci senza salvare"), QStringLiteral("Salva"),
                              QStringLiteral("Torna all'editor")}));
        QVERIFY(h.app->editor()->isVisible());
    }

    // The other windows open over the editor, centred on it, within the screen, and their
    // buttons show their whole captions.
    void windowsOpenOverTheEditor() {
        Harness h;
        EditorView* editor = h.app->editor();
        QVERIFY(QTest::qWaitForWindowExposed(editor));
        editor->move(editor->screen()->availableGeometry().topLeft() + QPoint(40, 30));
        h.action("Salv_Impost")->trigger();
        h.action("mnueHelp")->trigger();
        QTest::mouseClick(editor->findChild<QPushButton*>(QStringLiteral("Command1")),
                          Qt::LeftButton);
        const QList<QWidget*> windows{h.app->settings(), h.app->info(), h.app->transmissionView()};
        const QRect screen = editor->screen()->availableGeometry();
        for (QWidget* window : windows) {
            QVERIFY(window);
            QVERIFY(QTest::qWaitForWindowExposed(window));
            QCOMPARE(window->windowHandle()->transientParent(), editor->windowHandle());
            const QPoint offset =
                window->frameGeometry().center() - editor->frameGeometry().center();
            QVERIFY2(offset.manhattanLength() <= 4,
                     qPrintable(window->objectName() +
                                QStringLiteral(" off by %1,%2").arg(offset.x()).arg(offset.y())));
            QVERIFY(window->frameGeometry().width() <= screen.width());
            for (auto* button : window->findChildren<QPushButton*>()) {
                QVERIFY2(button->width() >= button->sizeHint().width(),
                         qPrintable(window->objectName() + u' ' + button->objectName()));
            }
        }
    }

    // However large the letters, a window opens no wider than the screen.
    void largeLettersKeepTheWindowsOnTheScreen() {
        const QFont normal = QApplication::font();
        QFont large = normal;
        large.setPointSizeF(normal.pointSizeF() * 4);
        QApplication::setFont(large);
        Harness h;
        QVERIFY(QTest::qWaitForWindowExposed(h.app->editor()));
        QTest::mouseClick(h.app->editor()->findChild<QPushButton*>(QStringLiteral("Command1")),
                          Qt::LeftButton);
        QWidget* transmission = h.app->transmissionView();
        QApplication::setFont(normal);
        QVERIFY(transmission);
        QVERIFY(QTest::qWaitForWindowExposed(transmission));
        QVERIFY(transmission->width() <= h.app->editor()->screen()->availableGeometry().width());
    }

    // A file's name is shown as it is, never read as markup.
    void fileNamesShowAsPlainText() {
        Harness h;
#ifdef _WIN32
        // Windows' file names take no angle brackets: entities show the same fault.
        const QString name = QStringLiteral("&lt;h1&gt;X&amp;Y.inf");
#else
        const QString name = QStringLiteral("<h1>X&amp;Y.inf");
#endif
        const QString path = QDir::current().absoluteFilePath(name);
        QFile file(name);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write("1,18\r\n1,\"uno\",3\r\n1,\"due\",3\r\n");
        file.close();
        bool chosen = false;
        testing::answerNextDialog<QFileDialog>(
            [&path](QFileDialog* files) {
                files->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"))->setText(path);
                static_cast<QDialog*>(files)->accept();
            },
            &chosen);
        h.action("mnunextApri")->trigger();
        QVERIFY(chosen);
        auto* label = h.app->editor()->findChild<QLabel*>(QStringLiteral("Label7"));
        QTRY_COMPARE(label->text(), name);
        QLabel plain(QStringLiteral("X"));
        plain.setFont(label->font());
        QCOMPARE(label->sizeHint().height(), plain.sizeHint().height());
    }
};

}  // namespace velora

QTEST_MAIN(velora::DesktopTest)
#include "desktop_test.moc"
