#include "signs_view.h"

#include <QAction>
#include <QComboBox>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QStandardPaths>
#include <QTableWidget>
#include <QtTest>

#include "ui/started_application.h"
#include "ui/started_editor.h"

namespace velora {

// The window "Insegne" as the program composes it, over fake files: the table, the fields of the
// selected sign, the editor's width and label, and the transmission window's port.
class SignsViewTest : public QObject {
    Q_OBJECT

private:
    static constexpr const char* kSignsPath = "/config/insegne.txt";

    struct Harness : testing::StartedEditor {
        explicit Harness(
            const char* signsFile = "Vetrina\tCOM1\t6\tin uso\nBanco\tInsegna virtuale\t4\n") {
            fake.files.contents[kSignsPath] = signsFile;
            app.models().signStore.setPaths(kSignsPath, "BASE.dat");
            app.models().rememberedPort = [] { return std::string("COM1"); };
            start();
        }
        SignsView* open() {
            view.action("mnuInsegne")->trigger();
            return app.signs();
        }
        QLabel* signLabel() {
            return qobject_cast<QLabel*>(view.binder().widgetFor(&model.signName));
        }
        QLabel* boardsLabel() {
            return qobject_cast<QLabel*>(view.binder().widgetFor(&model.Label3));
        }
    };

private Q_SLOTS:
    void initTestCase() {
        QCoreApplication::setOrganizationName(QStringLiteral("VeloraTest"));
        QCoreApplication::setApplicationName(QStringLiteral("signs_view_test"));
    }

    void theTableShowsTheSignsAndTheEditorItsSign() {
        Harness h;
        QCOMPARE(h.signLabel()->text(), QStringLiteral("Insegna: Vetrina"));
        QVERIFY(h.signLabel()->isVisible());
        QAction* item = h.view.action("mnuInsegne");
        QCOMPARE(item->text(), QStringLiteral("Inse&gne\u2026"));
        SignsView* signs = h.open();
        QVERIFY(signs);
        QVERIFY(QTest::qWaitForWindowExposed(signs));
        QCOMPARE(signs->windowTitle(), QStringLiteral("Insegne"));
        QTableWidget* table = signs->table();
        QCOMPARE(table->rowCount(), 2);
        QCOMPARE(table->item(0, 0)->text(), QStringLiteral("Vetrina"));
        QCOMPARE(table->item(0, 3)->text(), QStringLiteral("in uso, BASE.dat"));
        QCOMPARE(table->item(1, 1)->text(), QStringLiteral("Insegna virtuale"));
        QCOMPARE(table->item(1, 2)->text(), QStringLiteral("4"));
        QCOMPARE(table->currentRow(), 0);
        auto* name = qobject_cast<QLineEdit*>(signs->binder().widgetFor(&signs->model().Nome));
        QCOMPARE(name->text(), QStringLiteral("Vetrina"));

        // Each access key once in the window.
        QStringList keys;
        for (const QPushButton* button : signs->findChildren<QPushButton*>())
            keys << QKeySequence::mnemonic(button->text()).toString();
        for (const QLabel* label : signs->findChildren<QLabel*>()) {
            if (label->buddy()) keys << QKeySequence::mnemonic(label->text()).toString();
        }
        QCOMPARE(keys.size(), 8);
        QCOMPARE(QSet<QString>(keys.begin(), keys.end()).size(), keys.size());
        QVERIFY(!keys.contains(QString()));
    }

    // A row chosen and "Usa nell'editor" pressed: the board-count question for the stored page
    // that would be cut, the editor's width and label, one step, and the transmission window on
    // the sign's port.
    void usingASignChangesTheEditorAndThePort() {
        Harness h;
        std::string wide(18, 'W');
        h.putPage(1, kTwoFixedRows, wide, wide);
        SignsView* signs = h.open();
        QVERIFY(QTest::qWaitForWindowExposed(signs));
        signs->table()->setCurrentCell(1, 0);
        auto* name = qobject_cast<QLineEdit*>(signs->binder().widgetFor(&signs->model().Nome));
        QCOMPARE(name->text(), QStringLiteral("Banco"));

        h.fake.dialogs.messageAnswers.push_back(MessageAnswer::Yes);
        auto* use = qobject_cast<QPushButton*>(signs->binder().widgetFor(&signs->model().Usa));
        QCOMPARE(use->text(), QStringLiteral("&Usa nell'editor"));
        QTest::mouseClick(use, Qt::LeftButton);
        QCOMPARE(h.fake.dialogs.messages().size(), std::size_t{1});
        QCOMPARE(int(h.state.RowChars), 12);
        QCOMPARE(h.boardsLabel()->text(), QStringLiteral("4"));
        QCOMPARE(h.signLabel()->text(), QStringLiteral("Insegna: Banco"));
        QCOMPARE(signs->table()->item(1, 3)->text(), QStringLiteral("in uso"));
        QVERIFY(signs->table()->item(1, 0)->font().bold());
        QVERIFY(h.fake.files.contents[kSignsPath].find("Banco\tInsegna virtuale\t4\tin uso") !=
                std::string::npos);
        QCOMPARE(h.view.action("mnuAnnulla")->text(), QStringLiteral("&Annulla Schede LED 4"));

        QTest::mouseClick(h.find<QPushButton>("Command1"), Qt::LeftButton);
        QTRY_VERIFY(h.app.transmissionView());
        auto* port = h.app.transmissionView()->findChild<QComboBox*>(QStringLiteral("Porta"));
        QCOMPARE(port->currentText(), QStringLiteral("Insegna virtuale"));
        QCOMPARE(h.app.transmission().portName(), std::string("Insegna virtuale"));
    }

    // Typed into the fields and added; a refused name says why and changes nothing.
    void addingFromTheFields() {
        Harness h;
        SignsView* signs = h.open();
        QVERIFY(QTest::qWaitForWindowExposed(signs));
        SignsWindow& m = signs->model();
        auto field = [&](const Control& c) {
            return qobject_cast<QLineEdit*>(signs->binder().widgetFor(&c));
        };
        field(m.Nome)->selectAll();
        QTest::keyClicks(field(m.Nome), QStringLiteral("Retro"));
        field(m.Porta)->selectAll();
        QTest::keyClicks(field(m.Porta), QStringLiteral("socket://127.0.0.1:4001"));
        auto* boards = qobject_cast<QComboBox*>(signs->binder().widgetFor(&m.Schede));
        boards->setCurrentText(QStringLiteral("3"));
        auto* add = qobject_cast<QPushButton*>(signs->binder().widgetFor(&m.Aggiungi));
        QTest::mouseClick(add, Qt::LeftButton);
        QCOMPARE(signs->table()->rowCount(), 3);
        QCOMPARE(signs->table()->item(2, 0)->text(), QStringLiteral("Retro"));
        QCOMPARE(signs->table()->currentRow(), 2);

        QTest::mouseClick(add, Qt::LeftButton);  // the same name again
        QCOMPARE(signs->table()->rowCount(), 3);
        QCOMPARE(h.fake.dialogs.messages().size(), std::size_t{1});
        QVERIFY(h.fake.dialogs.messages()[0].find("Retro") != std::string::npos);
        QCOMPARE(int(h.state.RowChars), 18);  // the editor's sign did not change
    }

    // A damaged file: its reason at the top, no row to change, nothing written.
    void aDamagedFileShowsItsReasonAndNoRows() {
        Harness h("Vetrina\tCOM1\t6\nVetrina\tCOM2\t4\n");
        SignsView* signs = h.open();
        QVERIFY(QTest::qWaitForWindowExposed(signs));
        auto* problem = qobject_cast<QLabel*>(signs->binder().widgetFor(&signs->model().Problema));
        QVERIFY(problem->isVisible());
        QVERIFY(problem->text().contains(QStringLiteral("riga 2")));
        QCOMPARE(signs->table()->rowCount(), 0);
        auto* add = qobject_cast<QPushButton*>(signs->binder().widgetFor(&signs->model().Aggiungi));
        QVERIFY(!add->isEnabled());
        QCOMPARE(h.signLabel()->text(), QStringLiteral("Insegne: file da correggere"));
        QCOMPARE(h.fake.files.contents[kSignsPath],
                 std::string("Vetrina\tCOM1\t6\nVetrina\tCOM2\t4\n"));
    }

    // The program keeps the signs in its configuration folder, whichever BASE.dat it uses.
    void theProgramKeepsTheSignsInItsConfigurationFolder() {
#ifdef Q_OS_WIN
        QSKIP("The configuration folder is chosen by XDG_CONFIG_HOME on Linux only.");
#endif
        QTemporaryDir home;
        const QByteArray previous = qgetenv("XDG_CONFIG_HOME");
        qputenv("XDG_CONFIG_HOME", home.path().toLocal8Bit());
        {
            testing::StartedApplication started;  // BASE.dat in the starting folder
            started.start();
            const QString folder =
                QStandardPaths::writableLocation(QStandardPaths::AppConfigLocation);
            QVERIFY(folder.startsWith(home.path()));
            const SignStore& store = started.app->windows().models().signStore;
            QCOMPARE(QString::fromStdString(store.signsFile()),
                     QDir(folder).filePath(QStringLiteral("insegne.txt")));
            QCOMPARE(store.baseDatFile(), std::string("BASE.dat"));
            QVERIFY(!QFile::exists(QString::fromStdString(store.signsFile())));
        }
        if (previous.isNull()) {
            qunsetenv("XDG_CONFIG_HOME");
        } else {
            qputenv("XDG_CONFIG_HOME", previous);
        }
    }
};

}  // namespace velora

QTEST_MAIN(velora::SignsViewTest)
#include "signs_view_test.moc"
