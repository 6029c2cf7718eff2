#include <QAccessible>
#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <QtTest>

#include "editor_view.h"
#include "fakes/fake_services.h"

namespace velora {

// Drives the real editor window offscreen over fake services.
class EditorViewTest : public QObject {
    Q_OBJECT

private:
    struct Harness {
        testing::FakeServices fake;
        Modulo1 state;
        EventGate gate;
        EditorWindow model{state, fake.services};
        EditorView view{model, gate};

        Harness() {
            fake.clock.autoAdvance = 0.05;
            fake.files.contents["BASE.dat"] = "18\r\n";
            view.binder().run([this] { model.window.show(); });
        }
        template <typename W>
        W* find(const char* name) {
            return view.findChild<W*>(QString::fromLatin1(name));
        }
    };

private Q_SLOTS:
    void showsTheWindowAfterStartUp() {
        Harness h;
        QVERIFY(QTest::qWaitForWindowExposed(&h.view));
        QCOMPARE(h.view.windowTitle(), QStringLiteral("KDM 2 Righe"));
        QCOMPARE(h.find<QLabel>("Label3")->text(), QStringLiteral("6"));
        QVERIFY(h.find<QRadioButton>("Option1")->isChecked());
        QVERIFY(h.find<QLineEdit>("Text6")->isHidden());
    }

    void programSetTextLongerThanTheLimitStaysWhole() {
        Harness h;
        auto* text1 = h.find<QLineEdit>("Text1");
        h.view.binder().run([&] { h.model.Text1.setText(std::string(30, 'x')); });
        QCOMPARE(text1->text().size(), 30);
        QCOMPARE(h.model.Text1.maxLength(), 18);
        // Typing more is refused, deleting is not.
        text1->setFocus();
        text1->end(false);
        QTest::keyClick(text1, Qt::Key_Y);
        QCOMPARE(text1->text().size(), 30);
        QTest::keyClick(text1, Qt::Key_Backspace);
        QCOMPARE(h.model.Text1.text(), std::string(29, 'x'));
    }

    void typedCharactersOutsideTheCodePageBecomeQuestionMarks() {
        Harness h;
        auto* text1 = h.find<QLineEdit>("Text1");
        text1->setFocus();
        for (const char* typed : {"è", "日"}) {
            QKeyEvent key(QEvent::KeyPress, Qt::Key_unknown, Qt::NoModifier, QString::fromUtf8(typed));
            QApplication::sendEvent(text1, &key);
        }
        QCOMPARE(h.model.Text1.text(), std::string("\xE8?"));
        QCOMPARE(text1->text(), QString::fromUtf8("è?"));
        QCOMPARE(h.find<QLabel>("LenRiga1")->text(), QStringLiteral("2"));
    }

    void checkBoxClickReachesTheModel() {
        Harness h;
        auto* scor1 = h.find<QCheckBox>("Scor1");
        QTest::mouseClick(scor1, Qt::LeftButton, {}, QPoint(6, scor1->height() / 2));
        QCOMPARE(h.model.Scor1.value(), 1);
    }

    void textBoxesAreNamedByTheirToolTipsAndValueLabelsByTheirValue() {
        Harness h;
        auto* text2 = h.find<QLineEdit>("Text2");
        QCOMPARE(text2->accessibleName(), QStringLiteral("Riga 2, SOTTO"));
        auto* counter = h.find<QLabel>("LenRiga1");
        QCOMPARE(counter->accessibleName(), QStringLiteral("0"));
        QCOMPARE(counter->accessibleDescription(), QStringLiteral("Numero di caratteri Riga1"));
    }
};

}  // namespace velora

QTEST_MAIN(velora::EditorViewTest)
#include "editor_view_test.moc"
