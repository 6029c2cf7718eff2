#include "send_many_view.h"

#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QSignalSpy>
#include <QTableWidget>
#include <QtTest>

#include "cli/pty_sign.h"
#include "core/page_store.h"
#include "fakes/fake_services.h"
#include "platform/system_clock.h"
#include "ui/started_editor.h"

namespace velora {

// "Invia a più insegne…" driven through its widgets, with the real ports and pacing, against
// two virtual signs of different widths on pseudo-terminals.
class SendManyViewTest : public QObject {
    Q_OBJECT

private:
    struct Harness {
        testing::FakeServices fake;
        SystemClock clock;
        Services services{fake.dialogs, clock, fake.files, fake.program};
        Modulo1 sequence;
        EventGate gate;
        PtySign door;
        PtySign counter;
        std::vector<SignTarget> signs;
        SendManyView view{sequence, [this] { return signs; }, services, gate};

        Harness() {
            sequence.RowChars = 18;
            sequence.PageCount = 2;
            putPage(sequence, 1, kTwoFixedRows, pad("CIAO", 18), pad("MONDO", 18), 2);
            putPage(sequence, 2, kRow2Scrolling, pad("OFFERTE", 18), "SOLO OGGI", 2);
            door.sign().rowChars = 18;
            counter.sign().rowChars = 12;
            door.start();
            counter.start();
            signs = {{"Ingresso", door.devicePath(), 6},
                     {"Banco", counter.devicePath(), 4},
                     {"Magazzino", "/dev/velora-nessuna-porta", 6}};
            view.refreshSigns();
        }
        static std::string pad(const std::string& text, std::size_t width) {
            std::string out = text;
            out.resize(width, ' ');
            return out;
        }
        template <typename W>
        W* find(const char* name) {
            return view.findChild<W*>(QString::fromLatin1(name));
        }
        void tick(std::initializer_list<int> rows) {
            for (int row : rows)
                find<QListWidget>("Insegne")->item(row)->setCheckState(Qt::Checked);
        }
        QString cell(int row, int column) {
            return find<QTableWidget>("Esiti")->item(row, column)->text();
        }
        void sendAndWait() {
            QSignalSpy ended(&view, &SendManyView::roundEnded);
            QTest::mouseClick(find<QPushButton>("Invia"), Qt::LeftButton);
            QTRY_COMPARE_WITH_TIMEOUT(ended.count(), 1, 20000);
        }
    };

private Q_SLOTS:
    // As the program composes it: "Invia a più insegne…" in the transmission window offers the
    // named signs and sends the editor's sequence; the transmission window gets its port back.
    void openedFromTheTransmissionWindow() {
        PtySign door;
        door.start();
        testing::StartedEditor started;
        started.fake.files.contents["/config/insegne.txt"] =
            "Ingresso\t" + door.devicePath() + "\t6\tin uso\nBanco\tInsegna virtuale\t4\n";
        started.app.models().signStore.setPaths("/config/insegne.txt", "BASE.dat");
        started.start();
        started.putSequence(3);
        started.model.Command1.click();
        started.app.syncWindows();
        TransmissionView* transmission = started.app.transmissionView();
        QVERIFY(transmission);
        auto* button = transmission->findChild<QPushButton*>(QStringLiteral("InviaAPiuInsegne"));
        QVERIFY(button);
        QCOMPARE(button->text(), QStringLiteral("Invia a pi\u00F9 inse&gne\u2026"));
        QTest::mouseClick(button, Qt::LeftButton);
        SendManyView* view = started.app.sendMany();
        QVERIFY(view);
        QVERIFY(QTest::qWaitForWindowExposed(view));
        auto* list = view->findChild<QListWidget*>(QStringLiteral("Insegne"));
        QCOMPARE(list->count(), 2);
        QVERIFY(list->item(1)->text().startsWith(
            QStringLiteral("Banco \u2013 Insegna virtuale, 4 schede")));
        list->item(0)->setCheckState(Qt::Checked);
        list->item(1)->setCheckState(Qt::Checked);
        QSignalSpy ended(view, &SendManyView::roundEnded);
        QTest::mouseClick(view->findChild<QPushButton*>(QStringLiteral("Invia")), Qt::LeftButton);
        QTRY_COMPARE_WITH_TIMEOUT(ended.count(), 1, 20000);
        auto* table = view->findChild<QTableWidget*>(QStringLiteral("Esiti"));
        QCOMPARE(table->item(0, 2)->text(), QStringLiteral("confermato, 3 pagine"));
        QCOMPARE(table->item(1, 2)->text(), QStringLiteral("confermato, 3 pagine"));
        QCOMPARE(door.sign().pagesReceived(), 3);
        // The transmission window's port is open again, its sign to be connected afresh.
        QVERIFY(started.app.transmission().MSComm1.portOpen());
        QVERIFY(!started.app.transmission().CMDINVIO.enabled());
    }

    void eachChosenSignHasItsRow() {
        Harness h;
        h.view.show();
        QVERIFY(QTest::qWaitForWindowExposed(&h.view));
        QCOMPARE(h.find<QListWidget>("Insegne")->count(), 3);
        h.tick({0, 1, 2});
        int portsTaken = 0;
        int portsReturned = 0;
        h.view.onPortsTaken = [&] { ++portsTaken; };
        h.view.onPortsReturned = [&] { ++portsReturned; };
        h.sendAndWait();

        auto* table = h.find<QTableWidget>("Esiti");
        QCOMPARE(table->rowCount(), 3);
        QCOMPARE(h.cell(0, 0), QStringLiteral("Ingresso"));
        QCOMPARE(h.cell(0, 1), QString::fromStdString(h.door.devicePath()));
        QCOMPARE(h.cell(0, 2), QStringLiteral("confermato, 2 pagine"));
        QCOMPARE(h.cell(1, 2), QStringLiteral("confermato, 2 pagine"));
        QCOMPARE(h.cell(2, 2), QStringLiteral("porta assente o occupata"));
        QVERIFY(h.cell(2, 3).startsWith(QStringLiteral("impossibile aprire la porta")));
        QCOMPARE(h.find<QLabel>("Riepilogo")->text(),
                 QStringLiteral("Confermato da 2 insegne su 3."));
        // Each sign got the pages at its own width.
        QCOMPARE(h.door.sign().pagesReceived(), 2);
        QCOMPARE(h.counter.sign().pagesReceived(), 2);
        QCOMPARE(int(h.counter.sign().records().front()[3]), 12);
        QCOMPARE(portsTaken, 1);
        QCOMPARE(portsReturned, 1);
        QVERIFY(h.find<QPushButton>("Invia")->isEnabled());
        QVERIFY(!h.find<QPushButton>("Annulla")->isEnabled());
        QVERIFY(h.fake.dialogs.shown.empty());
    }

    void aSequenceTooWideIsRefusedForThatSignOnly() {
        Harness h;
        h.sequence.PageText[1][1] = Harness::pad("BUONGIORNO A TUTTI", 18);
        h.view.show();
        h.tick({0, 1});
        h.sendAndWait();
        QCOMPARE(h.cell(0, 2), QStringLiteral("confermato, 2 pagine"));
        QCOMPARE(h.cell(1, 2), QStringLiteral("non inviato"));
        QCOMPARE(h.cell(1, 3),
                 QStringLiteral("la pagina 1 ha testo oltre i 12 caratteri di questa insegna"));
        QCOMPARE(h.counter.receivedCount(), std::size_t{0});
    }

    // "Annulla" gets through while the bytes go out; the sign being served and those after it
    // are not sent to.
    void cancelStopsTheRound() {
        Harness h;
        // Enough pages that the first upload is still going out when the click comes.
        h.sequence.PageCount = 40;
        for (int slot = 3; slot <= 40; ++slot)
            putPage(h.sequence, slot, kTwoFixedRows, Harness::pad("PAGINA", 18),
                    Harness::pad("ALTRA", 18), 2);
        h.view.show();
        QVERIFY(QTest::qWaitForWindowExposed(&h.view));
        h.tick({0, 1});
        QSignalSpy ended(&h.view, &SendManyView::roundEnded);
        QTimer::singleShot(
            300, &h.view, [&] { QTest::mouseClick(h.find<QPushButton>("Invia"), Qt::LeftButton); });
        QTimer::singleShot(800, &h.view, [&] {
            QTest::mouseClick(h.find<QPushButton>("Annulla"), Qt::LeftButton);
        });
        QTRY_COMPARE_WITH_TIMEOUT(ended.count(), 1, 20000);
        QCOMPARE(h.cell(0, 2), QStringLiteral("non inviato"));
        QVERIFY(h.cell(0, 3).startsWith(QStringLiteral("invio interrotto dall'utente")));
        QCOMPARE(h.cell(1, 2), QStringLiteral("non inviato"));
        QCOMPARE(h.counter.receivedCount(), std::size_t{0});
    }
};

}  // namespace velora

QTEST_MAIN(velora::SendManyViewTest)
#include "send_many_view_test.moc"
