#include "accessibility.h"

#include <functional>
#include <map>

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QToolButton>
#include <QVBoxLayout>
#include <QtTest>

#include "info_view.h"
#include "settings_view.h"
#include "transmission_view.h"
#include "ui/started_editor.h"

namespace velora {

// Walks the accessible tree of every window of the program, as assistive technology sees it.
class AccessibilityTest : public QObject {
    Q_OBJECT

private:
    struct Program : testing::StartedEditor {
        EditorView& editorView = view;

        Program() {
            // The sign inside the program answers, whatever ports this machine has.
            app.transmission().choosePort(kVirtualSignPort);
            start();
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
                 return p.app.info();
             }},
            {QStringLiteral("InvDat"),
             [](Program& p) -> QWidget* {
                 p.editorView.findChild<QPushButton*>(QStringLiteral("Command1"))->click();
                 return p.app.transmissionView();
             }},
            {QStringLiteral("Salva_Impost"),
             [](Program& p) -> QWidget* {
                 p.editorView.action("Salv_Impost")->trigger();
                 return p.app.settings();
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
        const QStringList faults = testing::accessibilityFaults(shown);
        QVERIFY2(faults.isEmpty(), qPrintable(faults.join(u'\n')));
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
        // A combo box without a label beside it, and one with its label and a named edit field.
        const QString pauseTip = QStringLiteral("Tempo di FERMO della Pagina");
        auto* unlabelled = new QComboBox(&window);
        unlabelled->setObjectName(QStringLiteral("unlabelled"));
        unlabelled->setEditable(true);
        unlabelled->setToolTip(pauseTip);
        auto* caption = new QLabel(QStringLiteral("Tempo fermo (Secondi)"), &window);
        auto* labelled = new QComboBox(&window);
        labelled->setEditable(true);
        labelled->setToolTip(pauseTip);
        labelled->lineEdit()->setAccessibleName(pauseTip);
        caption->setBuddy(labelled);
        for (QWidget* w :
             std::initializer_list<QWidget*>{renamed, captioned, nameless, picture, value, hidden,
                                             unlabelled, caption, labelled})
            layout->addWidget(w);
        window.show();

        const QStringList faults = testing::accessibilityFaults(&window);
        QCOMPARE(faults.size(), 6);
        QVERIFY(faults[0].contains(QStringLiteral("instead of its caption \"Inserisci\"")));
        QVERIFY(faults[1].contains(QStringLiteral("QLineEdit")));
        QVERIFY(faults[2].contains(QStringLiteral("QToolButton")));
        QVERIFY(faults[3].contains(QStringLiteral("described as \"wrong\"")));
        QVERIFY(faults[4].contains(QStringLiteral("QComboBox unlabelled: named")));
        QVERIFY(faults[5].contains(QStringLiteral("QLineEdit inside unlabelled")));
    }
};

}  // namespace velora

QTEST_MAIN(velora::AccessibilityTest)
#include "accessibility_test.moc"
