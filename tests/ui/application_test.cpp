#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QPushButton>
#include <QSettings>
#include <QTemporaryDir>
#include <QTimer>
#include <QtTest>

#include "ui/started_application.h"

namespace velora {

// The whole program: the windows other than the editor are built when they are first opened.
class ApplicationTest : public QObject {
    Q_OBJECT

private:
    struct Harness : testing::StartedApplication {
        QStringList dialogs;  // titles of the message boxes that came up, closed at once
        QTimer closer;

        Harness() {
            // A message box would hold the test; it is noted and closed instead.
            QObject::connect(&closer, &QTimer::timeout, [this] {
                if (QWidget* modal = QApplication::activeModalWidget()) {
                    dialogs << modal->windowTitle();
                    modal->close();
                }
            });
            closer.start(10);
            start();
        }
    };

private Q_SLOTS:
    void initTestCase() {
        QCoreApplication::setOrganizationName(QStringLiteral("VeloraTest"));
        QCoreApplication::setApplicationName(QStringLiteral("application_test"));
        QSettings().clear();
    }
    void cleanupTestCase() { QSettings().clear(); }

    void settingsWindowIsBuiltWhenFirstOpened() {
        Harness h;
        QVERIFY(QTest::qWaitForWindowExposed(h.app->editor()));
        QVERIFY(!h.app->settings());
        h.app->editor()->action("Salv_Impost")->trigger();
        QVERIFY(h.app->settings());
        QVERIFY(QTest::qWaitForWindowExposed(h.app->settings()));
        QCOMPARE(h.app->settings()->windowTitle(), QStringLiteral("Form1"));
    }

    // The calibration's loop does not hold the window back: it runs once the window is painted.
    void calibrationRunsOnceTheWindowIsPainted() {
        Harness h;
        QCOMPARE(h.app->state().DelayLoopCount, 0.0);
        QVERIFY(QTest::qWaitForWindowExposed(h.app->editor()));
        QTRY_COMPARE(h.app->state().DelayLoopCount, 500000.0);  // 20000 / 0.04 s
        QVERIFY(h.dialogs.isEmpty());
    }

    // Closing the editor asks whether the data were saved; cancelling the question keeps it.
    void closingTheEditorAsksFirst() {
        Harness h;
        QVERIFY(QTest::qWaitForWindowExposed(h.app->editor()));
        QVERIFY(!h.app->editor()->close());
        QCOMPARE(h.dialogs, QStringList{QStringLiteral("Fine")});
        QTest::qWait(50);
        QVERIFY(h.app->editor()->isVisible());
        QVERIFY(h.app->editor()->model().window.loaded());
    }

    // On the real clock: closing the window during a long preview stops it at once, then asks;
    // a click on "Invio DATI" given meanwhile never opens the transmission window.
    void closingDuringThePreviewStopsItThenAsks() {
        Harness h;
        EditorView& view = *h.app->editor();
        QVERIFY(QTest::qWaitForWindowExposed(&view));
        Modulo1& state = h.app->state();
        for (int slot = 1; slot <= 2; ++slot) {
            state.PageText[slot][1] = state.PageText[slot][2] = "GRANDE   ";
            state.PageKind[slot] = kBigFixed;
            state.PagePause[slot] = 20;  // ten seconds each
        }
        state.PageCount = 2;
        QTimer::singleShot(100, &view, [&view] {
            QTest::mouseClick(view.findChild<QPushButton*>(QStringLiteral("Command1")),
                              Qt::LeftButton);
            view.close();
        });
        QElapsedTimer played;
        played.start();
        QTest::mouseClick(view.findChild<QPushButton*>(QStringLiteral("Anteprima")),
                          Qt::LeftButton);
        QVERIFY2(played.elapsed() < 10000, "the preview played on after the close");
        QCOMPARE(state.PreviewRunning, 0);
        QCOMPARE(h.dialogs, QStringList{QStringLiteral("Fine")});
        QTest::qWait(50);
        QVERIFY(view.isVisible());
        QVERIFY(!h.app->transmissionView());
    }

    // The window's load handler opens the port at once: it must be the one chosen last time,
    // not the model's default, although the view that remembers it did not exist before.
    void transmissionWindowOpensTheRememberedPort() {
        QSettings().setValue(QStringLiteral("link/port"), QString::fromLatin1(kVirtualSignPort));
        Harness h;
        QVERIFY(QTest::qWaitForWindowExposed(h.app->editor()));
        QVERIFY(!h.app->transmissionView());
        auto* invio = h.app->editor()->findChild<QPushButton*>(QStringLiteral("Command1"));
        QVERIFY(invio);
        QTest::mouseClick(invio, Qt::LeftButton);
        QVERIFY(h.app->transmissionView());
        QVERIFY(QTest::qWaitForWindowExposed(h.app->transmissionView()));
        QCOMPARE(h.app->transmission().portName(), std::string(kVirtualSignPort));
        QVERIFY(h.app->transmission().MSComm1.portOpen());
        QVERIFY2(h.dialogs.isEmpty(), qPrintable(h.dialogs.join(u'\n')));
    }
};

}  // namespace velora

QTEST_MAIN(velora::ApplicationTest)
#include "application_test.moc"
