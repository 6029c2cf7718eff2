#include "plan_view.h"

#include <QAction>
#include <QLabel>
#include <QMenu>
#include <QPushButton>
#include <QSettings>
#include <QStandardPaths>
#include <QTableWidget>
#include <QtTest>

#include "ui/started_editor.h"

namespace velora {

// The window "Programma" as the program composes it, over fake files and the fake clock, sending
// to the virtual sign inside the program through the transmission window.
class PlanViewTest : public QObject {
    Q_OBJECT

private:
    struct Harness : testing::StartedEditor {
        Harness() {
            QSettings().setValue(QStringLiteral("link/port"),
                                 QString::fromLatin1(kVirtualSignPort));
            QSettings().remove(QStringLiteral("plan/path"));
            fake.files.contents["/negozio/normale.inf"] =
                "1,18\r\n1,\"NORMALE           \",3\r\n1,\"                  \",3\r\n";
            fake.files.contents["/negozio/mattina.inf"] =
                "2,18\r\n1,\"MATTINA           \",3\r\n1,\"                  \",3\r\n"
                "1,\"OFFERTE           \",3\r\n1,\"                  \",3\r\n";
            fake.files.contents["/negozio/piano.txt"] =
                "predefinito normale.inf\nlun-ven 08:30-13:00 mattina.inf\n";
            fake.clock.date = {2026, 12, 7, 9, 0, 0};
            start();
        }
        PlanView* open() {
            auto* item = view.findChild<QAction*>(QStringLiteral("mnuProgramma"));
            if (!item) return nullptr;
            item->trigger();
            PlanView* plan = app.planView();
            if (plan) plan->binder().run([&] { app.plan().openPlan("/negozio/piano.txt"); });
            return plan;
        }
        int signPages() { return app.ports().virtualSign.sign().pagesReceived(); }
        QString label(PlanView* plan, const char* name) {
            for (auto* l : plan->findChildren<QLabel*>())
                if (l->text().startsWith(QString::fromUtf8(name))) return l->text();
            return {};
        }
    };

private Q_SLOTS:
    // Settings need a named organization: on Windows without one they are not kept at all.
    void initTestCase() {
        QCoreApplication::setOrganizationName(QStringLiteral("VeloraTest"));
        QCoreApplication::setApplicationName(QStringLiteral("plan_view_test"));
    }

    void theFileMenuOpensThePlanAsATable() {
        Harness h;
        auto* file = h.view.findChild<QMenu*>(QStringLiteral("mnuFile"));
        QVERIFY(file);
        QStringList items;
        for (QAction* a : file->actions()) items << a->text();
        QVERIFY2(items.contains(QStringLiteral("&Programma\u2026")), qPrintable(items.join(u'|')));
        PlanView* plan = h.open();
        QVERIFY(plan);
        QTRY_VERIFY(plan->isVisible());
        QTableWidget* table = plan->table();
        QCOMPARE(table->rowCount(), 2);
        const QStringList first = {QStringLiteral("predefinito"), QString(), QString(),
                                   QStringLiteral("normale.inf"),
                                   QString::fromLatin1(kVirtualSignPort)};
        const QStringList second = {QStringLiteral("lun-ven"), QStringLiteral("08:30"),
                                    QStringLiteral("13:00"), QStringLiteral("mattina.inf"),
                                    QString::fromLatin1(kVirtualSignPort)};
        for (int c = 0; c < 5; ++c) {
            QCOMPARE(table->item(0, c)->text(), first[c]);
            QCOMPARE(table->item(1, c)->text(), second[c]);
        }
        QCOMPARE(h.label(plan, "In programma"),
                 QStringLiteral("In programma adesso: mattina.inf (riga 2)"));

        // A cell edited in place is written into the plan at once.
        table->item(1, 0)->setText(QStringLiteral("lun-sab"));
        QCOMPARE(h.fake.files.contents["/negozio/piano.txt"],
                 "predefinito normale.inf\nlun-sab 08:30-13:00   mattina.inf\n");
        // One the plan refuses is said and put back.
        table->item(1, 1)->setText(QStringLiteral("8.30"));
        QVERIFY(!h.fake.dialogs.shown.empty());
        QVERIFY(h.fake.dialogs.shown.back().text.find("Riga 2") != std::string::npos);
        QTRY_COMPARE(table->item(1, 1)->text(), QStringLiteral("08:30"));
        QCOMPARE(h.fake.files.contents["/negozio/piano.txt"],
                 "predefinito normale.inf\nlun-sab 08:30-13:00   mattina.inf\n");
    }

    // "Invia ora" goes through the transmission window to the sign; followed, the plan's change
    // at 13:00 goes out by itself, and what the sign confirmed is written down.
    void sendsThroughTheTransmissionWindowAndFollows() {
        Harness h;
        PlanView* plan = h.open();
        QVERIFY(plan);
        auto* sendNow = plan->findChild<QPushButton*>(QStringLiteral("InviaOra"));
        QVERIFY(sendNow);
        sendNow->click();
        QTRY_VERIFY(h.app.transmissionView() && h.app.transmissionView()->isVisible());
        QTRY_COMPARE(h.signPages(), 2);
        QTRY_COMPARE(h.label(plan, "Sull"), QStringLiteral("Sull'insegna: mattina.inf"));
        // The editor's own sequence is the transmission window's again.
        QCOMPARE(&h.app.transmission().sequence(), &h.state);

        plan->binder().run([&] { h.app.plan().Segui.setValue(1); });
        h.fake.clock.date = {2026, 12, 7, 13, 0, 0};
        QTRY_COMPARE_WITH_TIMEOUT(h.signPages(), 1, 5000);
        QTRY_COMPARE(h.label(plan, "Sull"), QStringLiteral("Sull'insegna: normale.inf"));
        const QString record =
            QDir(QStandardPaths::writableLocation(QStandardPaths::AppDataLocation))
                .filePath(QStringLiteral("ultimi-invii.txt"));
        const auto written = h.fake.files.contents.find(record.toStdString());
        QVERIFY(written != h.fake.files.contents.end());
        QVERIFY2(written->second.find("porta Insegna virtuale\t") == 0, written->second.c_str());
    }
};

}  // namespace velora

QTEST_MAIN(velora::PlanViewTest)
#include "plan_view_test.moc"
