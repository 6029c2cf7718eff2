#include <functional>
#include <map>

#include <QLineEdit>
#include <QPushButton>
#include <QToolButton>
#include <QVBoxLayout>
#include <QtTest>

#include "accessibility.h"
#include "editor_view.h"
#include "fakes/fake_services.h"
#include "info_view.h"

namespace velora {

// Walks the accessible tree of every window of the program, as assistive technology sees it.
class AccessibilityTest : public QObject {
    Q_OBJECT

private:
    struct Program {
        testing::FakeServices fake;
        Modulo1 state;
        EventGate gate;
        EditorWindow editor{state, fake.services};
        EditorView editorView{editor, gate};
        InfoWindow info{fake.services};
        InfoView infoView{info, gate};

        Program() {
            fake.clock.autoAdvance = 0.05;
            fake.files.contents["BASE.dat"] = "18\r\n";
            info.openFrom(editor.mnueHelp);
            QObject::connect(&gate, &EventGate::reopened, &infoView,
                             [this] { infoView.binder().sync(); });
            editorView.binder().run([this] { editor.window.show(); });
        }
    };

    // Each window of the program, opened as the user opens it.
    using Opener = std::function<QWidget*(Program&)>;
    static const std::map<QString, Opener>& windows() {
        static const std::map<QString, Opener> all{
            {QStringLiteral("EditorWindow"), [](Program& p) -> QWidget* { return &p.editorView; }},
            {QStringLiteral("Informa"),
             [](Program& p) -> QWidget* {
                 p.editorView.action("mnueHelp")->trigger();
                 return &p.infoView;
             }},
        };
        return all;
    }

private Q_SLOTS:
    void everyControlIsNamedByTheRule_data() {
        QTest::addColumn<QString>("window");
        for (const auto& [name, open] : windows()) QTest::newRow(qPrintable(name)) << name;
    }

    void everyControlIsNamedByTheRule() {
        QFETCH(QString, window);
        Program program;
        QWidget* shown = windows().at(window)(program);
        QVERIFY(QTest::qWaitForWindowExposed(shown));
        QStringList faults = testing::accessibilityFaults(shown);
        const QStringList pauseList = faults.filter(QStringLiteral("Combo1"));
        for (const QString& fault : pauseList) faults.removeAll(fault);
        QVERIFY2(faults.isEmpty(), qPrintable(faults.join(u'\n')));

        // The editor's pause list is an editable combo box. On Linux, Qt names a combo box by its
        // value ("3") and leaves its purpose to a labelled-by relation, which the editor does not
        // set (Label2 is not its buddy), and the edit field inside it carries neither name nor
        // tooltip. The editor view is to give the combo a buddy label and its edit field the
        // tooltip as name; until then this check is known to fail.
        QEXPECT_FAIL("EditorWindow", "pause list Combo1 is not named by its tooltip", Continue);
        QVERIFY2(pauseList.isEmpty(), qPrintable(pauseList.join(u'\n')));
    }

    // The walk itself finds what breaks the rule, wherever it sits in the tree.
    void walkFindsControlsThatBreakTheRule() {
        QWidget window;
        auto* layout = new QVBoxLayout(&window);
        auto* renamed = new QPushButton(QStringLiteral("&Inserisci"), &window);
        renamed->setAccessibleName(QStringLiteral("Insert"));
        auto* captioned = new QPushButton(QStringLiteral("In&fo R1"), &window);
        auto* nameless = new QLineEdit(&window);
        auto* picture = new QToolButton(&window);
        picture->setToolTip(QStringLiteral("Cancella la Pagina rappresentata"));
        auto* value = new QLabel(QStringLiteral("0"), &window);
        value->setToolTip(QStringLiteral("Numero della pagina corrente"));
        value->setAccessibleDescription(QStringLiteral("wrong"));
        auto* hidden = new QLineEdit(&window);
        hidden->hide();
        for (QWidget* w :
             std::initializer_list<QWidget*>{renamed, captioned, nameless, picture, value, hidden})
            layout->addWidget(w);
        window.show();

        const QStringList faults = testing::accessibilityFaults(&window);
        QCOMPARE(faults.size(), 4);
        QVERIFY(faults[0].contains(QStringLiteral("instead of its caption \"Inserisci\"")));
        QVERIFY(faults[1].contains(QStringLiteral("QLineEdit")));
        QVERIFY(faults[2].contains(QStringLiteral("QToolButton")));
        QVERIFY(faults[3].contains(QStringLiteral("described as \"wrong\"")));
    }
};

}  // namespace velora

QTEST_MAIN(velora::AccessibilityTest)
#include "accessibility_test.moc"
