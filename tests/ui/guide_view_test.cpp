#include "guide_view.h"

#include <QAction>
#include <QMenu>
#include <QMenuBar>
#include <QTextBrowser>
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
};

}  // namespace velora

QTEST_MAIN(velora::GuideViewTest)
#include "guide_view_test.moc"
