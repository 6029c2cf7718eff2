#include <QLineEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QtTest>

#include "preview/preview.h"
#include "ui/started_editor.h"

namespace velora {

// Plays a preview through the real editor window with a fast fake clock.
class PreviewViewTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void playsEveryStepOnScreenAndComesBackToTheLastPage() {
        testing::StartedEditor h;
        auto& fake = h.fake;
        auto& state = h.state;
        auto& view = h.view;
        h.start();
        QVERIFY(QTest::qWaitForWindowExposed(&view));
        fake.clock.autoAdvance = 0;

        state.PageText[1][1] = state.PageText[1][2] = "GRANDE   ";
        state.PageKind[1] = kBigFixed;
        state.PagePause[1] = 2;
        state.PageText[2][1] = std::string(18, 'A');
        state.PageText[2][2] = "ciao";
        state.PageKind[2] = kRow2Scrolling;
        state.PagePause[2] = 0;
        state.PageCount = 2;

        // What the window shows at every wait, as a desktop clock would repaint it.
        auto* text2 = view.findChild<QLineEdit*>(QStringLiteral("Text2"));
        auto* text3 = view.findChild<QLineEdit*>(QStringLiteral("Text3"));
        QStringList shown;
        fake.clock.onWait = [&](double) {
            view.binder().sync();
            if (text3->isVisible()) shown << text3->text();
            if (text2->isVisible()) shown << text2->text();
        };

        QTest::mouseClick(view.findChild<QPushButton*>(QStringLiteral("Anteprima")), Qt::LeftButton);

        const QStringList expected = {QStringLiteral("GRANDE   "), QStringLiteral("ciao       "),
                                      QStringLiteral("iao       "), QStringLiteral("ao       ")};
        QCOMPARE(shown.mid(0, 4), expected);
        QCOMPARE(shown.size(), 1 + 11);
        // Back on page N, with its whole stored text and the editor running again.
        QCOMPARE(view.findChild<QScrollBar*>(QStringLiteral("VScroll1"))->value(), 2);
        QCOMPARE(text2->text(), QStringLiteral("ciao"));
        QVERIFY(text2->isVisible());
        QVERIFY(view.findChild<QLineEdit*>(QStringLiteral("Text6"))->isHidden());
        QVERIFY(view.findChild<QTimer*>(QStringLiteral("Timer1"))->isActive());
        QCOMPARE(state.PreviewRunning, 0);
    }
};

}  // namespace velora

QTEST_MAIN(velora::PreviewViewTest)
#include "preview_view_test.moc"
