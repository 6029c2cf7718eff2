#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QtTest>

#include "ui/started_editor.h"
#include "settings_view.h"
#include "transmission_view.h"

namespace velora {

// The access keys of the editor window, pressed as keys on the window; each command records
// that it ran instead of doing its work, which the model tests cover.
class AccessKeysTest : public QObject {
    Q_OBJECT

private:
    struct Harness : testing::StartedEditor {
        QStringList ran;

        Harness() {
            for (Button* command :
                 {&model.cmdinserisci, &model.Command2, &model.InfoR1, &model.InfoR2,
                  &model.Anteprima, &model.Command1, &model.mnunextApri, &model.mnunextSalva,
                  &model.mnuNom, &model.Salv_Impost, &model.mnunextNuovo, &model.mnunextfinE,
                  &model.mnueHelp}) {
                command->onClick = [this, command] {
                    ran << QString::fromStdString(command->name());
                };
            }
            start();
        }
    };

    // Presses `key` with Alt, or without it inside an open menu, as a user does.
    static void press(QWidget* window, const QString& key) {
        const bool alt = key.startsWith(QLatin1String("Alt+"));
        const QChar letter = key.back();
        const auto code = static_cast<Qt::Key>(letter.toUpper().unicode());
        QWidget* target = QApplication::activePopupWidget();
        if (!target) target = QApplication::focusWidget() ? QApplication::focusWidget() : window;
        QTest::keyClick(target, code, alt ? Qt::AltModifier : Qt::NoModifier);
    }

    static QMenu* openMenu() { return qobject_cast<QMenu*>(QApplication::activePopupWidget()); }

private Q_SLOTS:
    void keysRunTheirCommands_data() {
        QTest::addColumn<QStringList>("keys");
        QTest::addColumn<QString>("command");
        const auto row = [](const char* name, std::initializer_list<const char*> keys,
                            const char* command) {
            QStringList pressed;
            for (const char* key : keys) pressed << QString::fromLatin1(key);
            QTest::newRow(name) << pressed << QString::fromLatin1(command);
        };
        row("Inserisci", {"Alt+I"}, "cmdinserisci");
        row("Centra", {"Alt+N"}, "Command2");
        row("Info R2", {"Alt+O"}, "InfoR2");
        row("Info R1 by its row", {"Alt+1"}, "InfoR1");
        row("Anteprima", {"Alt+A"}, "Anteprima");
        row("Invio DATI", {"Alt+D"}, "Command1");
        row("Apri", {"Alt+F", "A"}, "mnunextApri");
        row("Salva", {"Alt+F", "S"}, "mnunextSalva");
        row("Salva Impostazioni", {"Alt+F", "I"}, "Salv_Impost");
        row("finE", {"Alt+F", "E"}, "mnunextfinE");
        row("Help", {"Alt+?", "H"}, "mnueHelp");
    }

    void keysRunTheirCommands() {
        QFETCH(QStringList, keys);
        QFETCH(QString, command);
        Harness h;
        QVERIFY(QTest::qWaitForWindowActive(&h.view));
        for (const QString& key : keys) press(&h.view, key);
        QTRY_COMPARE(h.ran, QStringList{command});
        QVERIFY(!openMenu());
    }

    // "&File" and "In&fo R1" share F: Alt+F opens the File menu every time and never reaches
    // the button, which keeps its caption.
    void altFAlwaysOpensTheFileMenu() {
        Harness h;
        QVERIFY(QTest::qWaitForWindowActive(&h.view));
        auto* infoR1 = h.view.findChild<QPushButton*>(QStringLiteral("InfoR1"));
        QCOMPARE(infoR1->text(), QStringLiteral("In&fo R1"));
        for (int round = 0; round < 3; ++round) {
            press(&h.view, QStringLiteral("Alt+F"));
            QTRY_VERIFY(openMenu());
            QCOMPARE(openMenu()->objectName(), QStringLiteral("mnuFile"));
            QTest::keyClick(openMenu(), Qt::Key_Escape);
            QTRY_VERIFY(!openMenu());
            QVERIFY(!infoR1->hasFocus());
        }
        QVERIFY(h.ran.isEmpty());
    }

    // "salva con &Nome" and "&Nuovo" share N inside the File menu: N moves between them and
    // Return runs the one chosen.
    void sharedLetterInsideTheFileMenuMovesBetweenItsItems() {
        Harness h;
        QVERIFY(QTest::qWaitForWindowActive(&h.view));
        press(&h.view, QStringLiteral("Alt+F"));
        QTRY_VERIFY(openMenu());
        QTest::keyClick(openMenu(), Qt::Key_N);
        QCOMPARE(openMenu()->activeAction(), h.view.action("mnuNom"));
        QTest::keyClick(openMenu(), Qt::Key_N);
        QCOMPARE(openMenu()->activeAction(), h.view.action("mnunextNuovo"));
        QVERIFY(h.ran.isEmpty());
        QTest::keyClick(openMenu(), Qt::Key_Return);
        QTRY_COMPARE(h.ran, QStringList{QStringLiteral("mnunextNuovo")});
    }

    // The settings window: Return saves, as its default button; Escape closes as "Chiudi".
    void settingsWindowKeys() {
        Harness h;
        Salva_Impost settings{h.model};
        SettingsView view{settings, h.fake.services, h.gate};
        QStringList ran;
        for (Button* command : {&settings.Command1, &settings.Command2})
            command->onClick = [&ran, command] { ran << QString::fromStdString(command->name()); };
        view.binder().run([&] { settings.window.show(); });
        QVERIFY(QTest::qWaitForWindowActive(&view));
        // Typed into the list of boards, where the focus is.
        QWidget* field = QApplication::focusWidget();
        QVERIFY(field);
        QTest::keyClick(field, Qt::Key_Return);
        QTest::keyClick(field, Qt::Key_Escape);
        QCOMPARE(ran, (QStringList{QStringLiteral("Command1"), QStringLiteral("Command2")}));
    }

    // The transmission window: Alt+P goes to the port field.
    void transmissionWindowAltPGoesToThePort() {
        testing::FakeServices fake;
        Modulo1 state;
        EventGate gate;
        PumpingClock clock{fake.clock};
        LinkPorts ports{fake.clock};
        InvDat model{state, fake.services, ports.chosen};
        TransmissionView view{model, ports, clock, fake.services, gate};
        model.choosePort(kVirtualSignPort);
        view.binder().run([&] { model.window.show(); });
        QVERIFY(QTest::qWaitForWindowActive(&view));
        auto* portField = view.findChild<QComboBox*>(QStringLiteral("Porta"))->lineEdit();
        view.findChild<QPushButton*>(QStringLiteral("Command7"))->setFocus();
        QVERIFY(!portField->hasFocus());
        QTest::keyClick(&view, Qt::Key_P, Qt::AltModifier);
        QTRY_VERIFY(portField->hasFocus());
    }
};

}  // namespace velora

QTEST_MAIN(velora::AccessKeysTest)
#include "access_keys_test.moc"
