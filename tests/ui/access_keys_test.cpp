#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QRadioButton>
#include <QtTest>

#include "info_view.h"
#include "settings_view.h"
#include "transmission_view.h"
#include "ui/started_editor.h"

namespace velora {

// The access keys and the Tab order of the windows, pressed as keys on the real widgets; each
// command records that it ran instead of doing its work, which the model tests cover.
class AccessKeysTest : public QObject {
    Q_OBJECT

private:
    struct Harness : testing::StartedEditor {
        QStringList ran;
        bool ticked = false;

        Harness() {
            for (Button* command :
                 {&model.cmdinserisci, &model.Command2, &model.InfoR1, &model.InfoR2,
                  &model.Anteprima, &model.Command1, &model.Command6, &model.Picture1,
                  &model.Picture2, &model.mnunextApri, &model.mnunextSalva, &model.mnuNom,
                  &model.Salv_Impost, &model.mnunextNuovo, &model.mnunextfinE, &model.mnueHelp,
                  &model.mnuGuida}) {
                command->onClick = [this, command] { note(*command); };
            }
            for (CheckBox* box : {&model.Scor1, &model.Scor2, &model.Gra_Inv})
                box->onClick = [this, box] { note(*box); };
            start();
            // The first tick lays the controls out for the mode.
            ticked = QTest::qWaitFor([this] { return model.txtora.caption() != "DATA ORA"; });
        }
        void note(const Control& control) { ran << QString::fromStdString(control.name()); }
    };

    // The windows other than the editor, over the editor's model and fakes.
    struct OtherWindows {
        Salva_Impost settings;
        SettingsView settingsView;
        InfoWindow info;
        InfoView infoView;
        PumpingClock clock;
        LinkPorts ports;
        InvDat transmission;
        TransmissionView transmissionView;

        explicit OtherWindows(Harness& h)
            : settings{h.model},
              settingsView{settings, h.fake.services, h.gate},
              info{h.fake.services},
              infoView{info, h.gate},
              clock{h.fake.clock},
              ports{h.fake.clock},
              transmission{h.state, h.fake.services, ports.chosen},
              transmissionView{transmission, ports, clock, h.fake.services, h.gate} {}
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

    // The caption without its access key marker, as the user reads it.
    static QString plain(QString caption) {
        return caption.replace(QLatin1String("&&"), QLatin1String("\x01"))
            .remove(u'&')
            .replace(u'\x01', u'&');
    }

    // The access keys of one scope (a window's buttons, labels and menu titles, or one menu's
    // items), each with the caption that carries it. A caption without a key is listed as "".
    static QMultiMap<QString, QString> keysOf(QWidget* window) {
        QMultiMap<QString, QString> keys;
        const auto add = [&keys](const QString& caption) {
            keys.insert(QKeySequence::mnemonic(caption).toString(), caption);
        };
        for (auto* button : window->findChildren<QAbstractButton*>()) {
            if (!button->text().isEmpty()) add(button->text());
        }
        for (auto* label : window->findChildren<QLabel*>()) {
            if (label->buddy()) add(label->text());
        }
        if (auto* main = qobject_cast<QMainWindow*>(window)) {
            for (QAction* menu : main->menuBar()->actions()) add(menu->text());
        }
        return keys;
    }

    static QMultiMap<QString, QString> keysOf(QMenu* menu) {
        QMultiMap<QString, QString> keys;
        for (QAction* item : menu->actions())
            keys.insert(QKeySequence::mnemonic(item->text()).toString(), item->text());
        return keys;
    }

    static void checkDistinct(const QString& scope, const QMultiMap<QString, QString>& keys) {
        QVERIFY2(!keys.contains(QString()), qPrintable(scope + QLatin1String(": no key for ") +
                                                       keys.values(QString()).join(u',')));
        for (const QString& key : keys.uniqueKeys()) {
            QVERIFY2(keys.count(key) == 1,
                     qPrintable(scope + u' ' + key + QLatin1String(" shared by ") +
                                keys.values(key).join(u',')));
        }
    }

    // The objectName of the widget with the focus; an edit field inside a combo box answers
    // for the box.
    static QString focused() {
        QWidget* widget = QApplication::focusWidget();
        if (!widget) return QStringLiteral("<none>");
        if (qobject_cast<QComboBox*>(widget->parentWidget())) widget = widget->parentWidget();
        return widget->objectName();
    }

    static QStringList tabFrom(QWidget* first, int steps) {
        first->setFocus(Qt::TabFocusReason);
        QStringList order{focused()};
        for (int i = 1; i < steps; ++i) {
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
            order << focused();
        }
        return order;
    }

private Q_SLOTS:
    void keysReachTheirCommands_data() {
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
        row("Info R1", {"Alt+1"}, "InfoR1");
        row("Info R2", {"Alt+2"}, "InfoR2");
        row("Anteprima", {"Alt+A"}, "Anteprima");
        row("Invio DATI", {"Alt+D"}, "Command1");
        row("Mostra Tutti i Comandi", {"Alt+M"}, "Command6");
        row("Scor R1", {"Alt+S"}, "Scor1");
        row("Scor R2", {"Alt+C"}, "Scor2");
        row("Inverso per GRANDE, in the big row", {"Alt+G", "Alt+V"}, "Gra_Inv");
        row("Apri", {"Alt+F", "A"}, "mnunextApri");
        row("Salva", {"Alt+F", "S"}, "mnunextSalva");
        row("salva con Nome", {"Alt+F", "C"}, "mnuNom");
        row("Salva Impostazioni", {"Alt+F", "I"}, "Salv_Impost");
        row("Nuovo", {"Alt+F", "N"}, "mnunextNuovo");
        row("finE", {"Alt+F", "E"}, "mnunextfinE");
        row("Help", {"Alt+?", "H"}, "mnueHelp");
        row("Guida", {"Alt+?", "G"}, "mnuGuida");
    }

    void keysReachTheirCommands() {
        QFETCH(QStringList, keys);
        QFETCH(QString, command);
        Harness h;
        QVERIFY(h.ticked);
        QVERIFY(QTest::qWaitForWindowActive(&h.view));
        for (const QString& key : keys.mid(0, keys.size() - 1)) press(&h.view, key);
        // The keys before the last may change the layout, which the window shows at its tick.
        if (auto* target = h.view.findChild<QAbstractButton*>(command))
            QTRY_VERIFY(target->isVisible() && target->isEnabled());
        press(&h.view, keys.back());
        QTRY_COMPARE(h.ran, QStringList{command});
        QVERIFY(!openMenu());
    }

    // The mode options have no command of their own: their keys select them.
    void modeKeysSelectTheirMode() {
        Harness h;
        QVERIFY(h.ticked);
        QVERIFY(QTest::qWaitForWindowActive(&h.view));
        press(&h.view, QStringLiteral("Alt+G"));
        QTRY_VERIFY(h.model.Option2.selected());
        press(&h.view, QStringLiteral("Alt+R"));
        QTRY_VERIFY(h.model.Option1.selected());
    }

    // The rows have access keys through captions beside them, shown with their row.
    void rowKeysReachTheirRows() {
        Harness h;
        QVERIFY(h.ticked);
        QVERIFY(QTest::qWaitForWindowActive(&h.view));
        auto* big = h.find<QLabel>("captionText3");
        QVERIFY(h.find<QLabel>("captionText1")->isVisible());
        QVERIFY(!big->isVisible());
        press(&h.view, QStringLiteral("Alt+B"));
        QTRY_COMPARE(QApplication::focusWidget(), h.find<QLineEdit>("Text2"));
        press(&h.view, QStringLiteral("Alt+L"));
        QTRY_COMPARE(QApplication::focusWidget(), h.find<QLineEdit>("Text1"));
        // The key only moves the focus: nothing is typed into the row.
        QVERIFY(h.find<QLineEdit>("Text1")->text().isEmpty());

        h.view.binder().run([&] { h.model.Option2.setSelected(true); });
        QTRY_VERIFY(big->isVisible());
        QVERIFY(!h.find<QLabel>("captionText1")->isVisible());
        press(&h.view, QStringLiteral("Alt+E"));
        QTRY_COMPARE(QApplication::focusWidget(), h.find<QLineEdit>("Text3"));
    }

    // No two controls of a window share a key, every captioned one has a key, and the captions
    // keep their letters. The File and "?" menus are scopes of their own.
    void everyWindowHasDistinctKeys() {
        Harness h;
        OtherWindows other(h);
        QVERIFY(QTest::qWaitForWindowActive(&h.view));
        checkDistinct(QStringLiteral("EditorWindow"), keysOf(&h.view));
        for (auto* menu : h.view.menuBar()->findChildren<QMenu*>())
            checkDistinct(menu->objectName(), keysOf(menu));
        checkDistinct(QStringLiteral("InvDat"), keysOf(&other.transmissionView));
        checkDistinct(QStringLiteral("Salva_Impost"), keysOf(&other.settingsView));
        checkDistinct(QStringLiteral("Informa"), keysOf(&other.infoView));

        const auto caption = [](QWidget* window, const char* name) {
            auto* button = window->findChild<QAbstractButton*>(QString::fromLatin1(name));
            return button ? button->text()
                          : QStringLiteral("<missing %1>").arg(QLatin1String(name));
        };
        QCOMPARE(h.view.action("mnuNom")->text(), QStringLiteral("salva &con Nome"));
        QCOMPARE(h.view.action("mnunextNuovo")->text(), QStringLiteral("&Nuovo"));
        QCOMPARE(plain(caption(&h.view, "Gra_Inv")), QStringLiteral("Inverso per GRANDE"));
        QCOMPARE(plain(caption(&h.view, "InfoR1")), QStringLiteral("Info R1"));
        QCOMPARE(plain(caption(&other.transmissionView, "Command3")),
                 QStringLiteral("Collega e Invia Data/Ora"));
        // A marker moved onto a letter keeps the model's caption intact.
        QCOMPARE(h.model.mnuNom.caption(), std::string("salva con &Nome"));
    }

    // A disabled button's key does nothing: its letter is not typed into the row either.
    void keyOfADisabledButtonDoesNothing() {
        Harness h;
        QVERIFY(h.ticked);
        QVERIFY(QTest::qWaitForWindowActive(&h.view));
        auto* row1 = h.find<QLineEdit>("Text1");
        auto* pause = h.find<QComboBox>("Combo1");
        pause->setFocus();
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_K, Qt::AltModifier);
        QCOMPARE(pause->currentText(), QStringLiteral("3"));
        row1->setFocus();
        QTest::keyClicks(row1, QStringLiteral("AB"));
        h.view.binder().run([&] { h.model.InfoR1.setEnabled(false); });
        auto* infoR1 = h.find<QPushButton>("InfoR1");
        QTRY_VERIFY(!infoR1->isEnabled());
        QTest::keyClick(row1, Qt::Key_1, Qt::AltModifier);
        QTest::keyClick(row1, Qt::Key_1, Qt::AltModifier | Qt::ShiftModifier);
        QCOMPARE(row1->text(), QStringLiteral("AB"));
        QCOMPARE(h.model.Text1.text(), std::string("AB"));
        QVERIFY(h.ran.isEmpty());
        // Typing goes on as before.
        QTest::keyClicks(row1, QStringLiteral("1"));
        QCOMPARE(h.model.Text1.text(), std::string("AB1"));
    }

    // Tab walks a page as it is composed: the rows, the scroll boxes, the pause and the button
    // that stores the page; the buttons that insert and delete whole pages come later.
    void tabFollowsTheComposingOfAPage() {
        Harness h;
        QVERIFY(h.ticked);
        QVERIFY(QTest::qWaitForWindowActive(&h.view));
        const QStringList twoRows = tabFrom(h.find<QLineEdit>("Text1"), 22);
        QCOMPARE(twoRows.mid(0, 6),
                 (QStringList{QStringLiteral("Text1"), QStringLiteral("Text2"),
                              QStringLiteral("Scor1"), QStringLiteral("Scor2"),
                              QStringLiteral("Combo1"), QStringLiteral("cmdinserisci")}));
        for (const char* picture : {"Picture2", "Picture1"})
            QVERIFY2(twoRows.indexOf(QLatin1String(picture)) >
                         twoRows.indexOf(QStringLiteral("Command1")),
                     qPrintable(twoRows.join(u' ')));

        h.view.binder().run([&] { h.model.Option2.setSelected(true); });
        QTRY_VERIFY(h.find<QLineEdit>("Text3")->isVisible() &&
                    h.find<QCheckBox>("Gra_Inv")->isVisible());
        const QStringList bigRow = tabFrom(h.find<QLineEdit>("Text3"), 6);
        QCOMPARE(bigRow, (QStringList{QStringLiteral("Text3"), QStringLiteral("Scor1"),
                                      QStringLiteral("Scor2"), QStringLiteral("Gra_Inv"),
                                      QStringLiteral("Combo1"), QStringLiteral("cmdinserisci")}));
    }

    // Space after the last row never inserts a blank page, whatever the focus passes.
    void spaceAfterTheLastRowInsertsNoPage() {
        Harness h;
        QVERIFY(h.ticked);
        QVERIFY(QTest::qWaitForWindowActive(&h.view));
        h.find<QLineEdit>("Text2")->setFocus(Qt::TabFocusReason);
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Space);
        QVERIFY(!h.ran.contains(QStringLiteral("Picture2")));
        QCOMPARE(h.state.PageCount, 0);
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
        QTest::keyClick(field, Qt::Key_S, Qt::AltModifier);
        QTRY_COMPARE(ran.size(), 3);
        QTest::keyClick(field, Qt::Key_C, Qt::AltModifier);
        QTRY_COMPARE(ran, (QStringList{QStringLiteral("Command1"), QStringLiteral("Command2"),
                                       QStringLiteral("Command1"), QStringLiteral("Command2")}));
    }

    // The transmission window: Alt+P goes to the port field, the buttons have keys of their own.
    void transmissionWindowKeys() {
        testing::FakeServices fake;
        Modulo1 state;
        EventGate gate;
        PumpingClock clock{fake.clock};
        LinkPorts ports{fake.clock};
        InvDat model{state, fake.services, ports.chosen};
        TransmissionView view{model, ports, clock, fake.services, gate};
        model.choosePort(kVirtualSignPort);
        QStringList ran;
        for (Button* command : {&model.Command7, &model.Command3, &model.Command1})
            command->onClick = [&ran, command] { ran << QString::fromStdString(command->name()); };
        view.binder().run([&] { model.window.show(); });
        QVERIFY(QTest::qWaitForWindowActive(&view));
        auto* portField = view.findChild<QComboBox*>(QStringLiteral("Porta"))->lineEdit();
        view.findChild<QPushButton*>(QStringLiteral("Command7"))->setFocus();
        QVERIFY(!portField->hasFocus());
        QTest::keyClick(&view, Qt::Key_P, Qt::AltModifier);
        QTRY_VERIFY(portField->hasFocus());
        // A letter that is no key of the window is not typed into the port either.
        const QString portText = portField->text();
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_F, Qt::AltModifier);
        QCOMPARE(portField->text(), portText);
        // A button's key clicks it the way the mouse would, pressed for a moment.
        for (const Qt::Key key : {Qt::Key_C, Qt::Key_D, Qt::Key_E}) {
            const auto before = ran.size();
            QTest::keyClick(&view, key, Qt::AltModifier);
            QTRY_COMPARE(ran.size(), before + 1);
        }
        QCOMPARE(ran, (QStringList{QStringLiteral("Command7"), QStringLiteral("Command3"),
                                   QStringLiteral("Command1")}));
    }
};

}  // namespace velora

QTEST_MAIN(velora::AccessKeysTest)
#include "access_keys_test.moc"
