#include <QAction>
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QPushButton>
#include <QTemporaryDir>
#include <QtTest>

#include "info_view.h"
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
            QCOMPARE(h.find<QLabel>("Label3")->text(), QString::fromLatin1(InfoWindow::kWebPage));
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

    void eachClickOrKeyPressOnTheAddressOpensThePageOnce() {
        Harness h;
        h.openFromMenu();
        auto* address = h.find<QLabel>("Label3");
        QTest::mouseClick(address, Qt::LeftButton);
        QCOMPARE(h.fake.program.openedPages.size(), size_t{1});
        QCOMPARE(h.fake.program.openedPages[0], std::string(InfoWindow::kWebPage));
        // A press that is released elsewhere is no click.
        QTest::mousePress(address, Qt::LeftButton);
        QTest::mouseRelease(address, Qt::LeftButton, {}, QPoint(-5, -5));
        QCOMPARE(h.fake.program.openedPages.size(), size_t{1});
        // Keyboard users reach the address with Tab and open it with Enter.
        address->setFocus();
        QTest::keyClick(address, Qt::Key_Return);
        QCOMPARE(h.fake.program.openedPages.size(), size_t{2});
        QVERIFY(h.fake.dialogs.shown.empty());
    }

    void withoutABrowserSaysSoAndStaysOpen() {
        Harness h;
        h.fake.program.browserAvailable = false;
        h.openFromMenu();
        QTest::mouseClick(h.find<QLabel>("Label3"), Qt::LeftButton);
        QCOMPARE(h.fake.dialogs.messages(), std::vector<std::string>{"Non trovo Explorer"});
        QVERIFY(h.infoView().isVisible());
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
};

}  // namespace velora

QTEST_MAIN(velora::InfoViewTest)
#include "info_view_test.moc"
