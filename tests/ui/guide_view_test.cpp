#include "guide_view.h"

#include <QAction>
#include <QMenu>
#include <QMenuBar>
#include <QTextBlock>
#include <QTextBrowser>
#include <QTextCursor>
#include <QtTest>

#include "ui/started_application.h"

namespace velora {

// The guide, opened as a user does in the program as started.
class GuideViewTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void f1OpensTheGuideInItsOwnWindow() {
        testing::StartedApplication h;
        h.start();
        EditorView* editor = h.app->editor();
        editor->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(editor));
        QVERIFY(!editor->findChild<GuideView*>());

        QTest::keyClick(editor, Qt::Key_F1);
        auto* guide = editor->findChild<GuideView*>();
        QVERIFY(guide);
        QVERIFY(QTest::qWaitForWindowExposed(guide));
        QCOMPARE(guide->windowTitle(), QStringLiteral("Guida di Velora"));
        QVERIFY(guide->isWindow());

        // The Markdown is shown as text, with every part the user may look for.
        const QString text = guide->text()->toPlainText();
        QVERIFY(!text.contains(QStringLiteral("## ")));
        for (const char* part :
             {"Comporre una pagina", "I tipi di riga", "La vista LED e la riga degli avvisi",
              "Anteprima", "I file", "Inviare all'insegna e regolare l'orologio",
              "Il numero di schede", "Tasti", "Problemi di collegamento", "dialout",
              "Caratteri che l'insegna non mostra"}) {
            QVERIFY2(text.contains(QString::fromUtf8(part)), part);
        }

        // Escape closes it; the menu item opens the same window again.
        QTest::keyClick(guide, Qt::Key_Escape);
        QVERIFY(guide->isHidden());
        auto* help = editor->menuBar()->findChild<QMenu*>(QStringLiteral("mnuaiuto"));
        QAction* item = help->findChild<QAction*>(QStringLiteral("mnuGuida"));
        if (!item) item = editor->findChild<QAction*>(QStringLiteral("mnuGuida"));
        QVERIFY(item);
        QVERIFY(help->actions().contains(item));
        QCOMPARE(item->text(), QStringLiteral("&Guida"));
        QCOMPARE(item->shortcut(), QKeySequence(Qt::Key_F1));
        item->trigger();
        QVERIFY(guide->isVisible());
        QCOMPARE(editor->findChildren<GuideView*>().size(), 1);
    }

    // F1 in a window that names its part of the guide opens the guide at that part, its title
    // at the top; from the editor the guide stays where the reader left it.
    void f1OpensTheGuideAtThePartOfTheWindowAsking() {
        testing::StartedApplication h;
        h.start();
        EditorView* editor = h.app->editor();
        QVERIFY(QTest::qWaitForWindowExposed(editor));
        editor->action("Salv_Impost")->trigger();
        QWidget* settings = h.app->settings();
        QVERIFY(settings);
        QVERIFY(QTest::qWaitForWindowExposed(settings));
        settings->activateWindow();
        QTRY_COMPARE(QApplication::activeWindow(), settings);

        QTest::keyClick(settings, Qt::Key_F1);
        auto* guide = editor->findChild<GuideView*>();
        QVERIFY(guide);
        QVERIFY(QTest::qWaitForWindowExposed(guide));
        const auto topLine = [guide] {
            return guide->text()->cursorForPosition(QPoint(4, 4)).block().text();
        };
        QCOMPARE(topLine(), QStringLiteral("Il numero di schede"));
        QCOMPARE(guide->text()->textCursor().block().text(), QStringLiteral("Il numero di schede"));

        // A part that is not there leaves the guide where it is.
        QVERIFY(!guide->showSection(QStringLiteral("Nessuna parte")));
        QCOMPARE(topLine(), QStringLiteral("Il numero di schede"));
        QVERIFY(guide->showSection(QStringLiteral("Insegna in rete")));
        QCOMPARE(topLine(), QStringLiteral("Insegna in rete"));

        settings->close();
        editor->activateWindow();
        QTRY_COMPARE(QApplication::activeWindow(), editor);
        QTest::keyClick(editor, Qt::Key_F1);
        QCOMPARE(topLine(), QStringLiteral("Insegna in rete"));
    }
};

}  // namespace velora

QTEST_MAIN(velora::GuideViewTest)
#include "guide_view_test.moc"
