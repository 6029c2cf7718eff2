#include "info_view.h"

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QIcon>
#include <QImage>
#include <QLabel>
#include <QPushButton>
#include <QTemporaryDir>
#include <QtTest>

#include "artwork.h"
#include "guide_view.h"
#include "ui/started_application.h"
#include "ui/started_editor.h"

namespace velora {

// Drives the real information window offscreen, opened from the editor's menu, over fake services.
class InfoViewTest : public QObject {
    Q_OBJECT

private:
    struct Harness : testing::StartedEditor {
        EditorView& editorView = view;
        InfoWindow& info = app.models().info;

        Harness() { start(); }
        // The information window's view, made when the window was first shown.
        InfoView& infoView() { return *app.info(); }
        void openFromMenu() {
            editorView.action("mnueHelp")->trigger();
            QVERIFY(QTest::qWaitForWindowExposed(&infoView()));
        }
        template <typename W>
        W* find(const char* name) {
            return infoView().findChild<W*>(QString::fromLatin1(name));
        }
    };

private Q_SLOTS:
    void menuOpensTheWindowAndChiudiClosesIt() {
        Harness h;
        QVERIFY(!h.app.info());  // not even made before the window is first opened
        for (int round = 0; round < 2; ++round) {
            h.openFromMenu();
            QCOMPARE(h.infoView().windowTitle(), QStringLiteral("Help"));
            QCOMPARE(h.find<QLabel>("Label3")->text(), QStringLiteral("Guida di Velora"));
            QVERIFY(h.find<QLabel>("Label2")->text().endsWith(
                QStringLiteral("Esempi e consigli sul sito:")));
            const QPixmap logo = h.find<QLabel>("Picture1")->pixmap();
            QCOMPARE(logo.deviceIndependentSize().toSize(), QSize(242, 122));
            QVERIFY(!logo.toImage().isNull());
            auto* close = h.find<QPushButton>("Command1");
            QCOMPARE(close->text(), QStringLiteral("&Chiudi"));
            QTest::mouseClick(close, Qt::LeftButton);
            QVERIFY(h.infoView().isHidden());
            QVERIFY(!h.info.window.loaded());
        }
        // Closing from the title bar unloads it too; Escape closes it like "Chiudi".
        h.openFromMenu();
        h.infoView().close();
        QVERIFY(!h.info.window.loaded());
        h.openFromMenu();
        QTest::keyClick(&h.infoView(), Qt::Key_Escape);
        QVERIFY(h.infoView().isHidden());
        QVERIFY(!h.info.window.loaded());
    }

    void eachClickOrKeyPressOnTheLinkOpensTheGuideOnce() {
        Harness h;
        h.openFromMenu();
        auto* link = h.find<QLabel>("Label3");
        QTest::mouseClick(link, Qt::LeftButton);
        auto* guide = h.editorView.findChild<GuideView*>();
        QVERIFY(guide);
        QVERIFY(QTest::qWaitForWindowExposed(guide));
        guide->close();
        // A press that is released elsewhere is no click.
        QTest::mousePress(link, Qt::LeftButton);
        QTest::mouseRelease(link, Qt::LeftButton, {}, QPoint(-5, -5));
        QVERIFY(guide->isHidden());
        // Keyboard users reach the link with Tab and open it with Enter.
        link->setFocus();
        QTest::keyClick(link, Qt::Key_Return);
        QVERIFY(guide->isVisible());
        QCOMPARE(h.editorView.findChildren<GuideView*>().size(), 1);
        QVERIFY(h.fake.program.openedPages.empty());
        QVERIFY(h.fake.dialogs.shown.empty());
    }

    // The desktop program as started: every window carries the program's icon, and the help menu
    // is wired to the information window.
    void applicationWiresTheHelpMenuAndTheIcon() {
        QTemporaryDir dir;
        QVERIFY(dir.isValid());
        QFile settings(dir.filePath(QStringLiteral("BASE.dat")));
        QVERIFY(settings.open(QIODevice::WriteOnly));
        settings.write("18\r\n");
        settings.close();
        const QString previous = QDir::currentPath();
        QVERIFY(QDir::setCurrent(dir.path()));

        {
            Application app(testing::fortyMillisecondLoop);
            EditorView& editor = app.start();
            QVERIFY(QTest::qWaitForWindowExposed(&editor));
            QVERIFY(!QApplication::windowIcon().isNull());
            QVERIFY(!editor.windowIcon().pixmap(32, 32).isNull());
            editor.action("mnueHelp")->trigger();
            QVERIFY(app.info()->isVisible());
            QCOMPARE(app.info()->windowTitle(), QStringLiteral("Help"));
            QVERIFY(!app.info()->windowIcon().isNull());
        }
        QDir::setCurrent(previous);
    }

    // The window's icon holds the pictures drawn from velora.svg, pixel for pixel, at each size
    // a window's icon is drawn at.
    void iconHoldsTheDrawnPictures() {
        const QIcon icon = appIcon();
        const QList<QSize> sizes = {QSize(16, 16), QSize(24, 24), QSize(32, 32), QSize(48, 48),
                                    QSize(64, 64)};
        QCOMPARE(icon.availableSizes(), sizes);
        for (const QSize& size : sizes) {
            const QImage expected =
                QImage(QStringLiteral(":/expected/velora-%1.png").arg(size.width()))
                    .convertToFormat(QImage::Format_ARGB32_Premultiplied);
            QVERIFY(!expected.isNull());
            const QImage shown =
                icon.pixmap(size).toImage().convertToFormat(QImage::Format_ARGB32_Premultiplied);
            QCOMPARE(shown, expected);
        }
    }
};

}  // namespace velora

QTEST_MAIN(velora::InfoViewTest)
#include "info_view_test.moc"
