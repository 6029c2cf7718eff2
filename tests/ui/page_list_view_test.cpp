#include "page_list_view.h"

#include <memory>

#include <QAbstractItemModelTester>
#include <QAction>
#include <QClipboard>
#include <QDragEnterEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QMimeData>
#include <QScrollBar>
#include <QSettings>
#include <QSplitter>
#include <QtTest>

#include "files/sequence_file.h"
#include "ui/started_editor.h"

namespace velora {

// The page list beside the editor, driven through its real widgets offscreen over fake services:
// keys, a row dragged, the real clipboard between two windows, the list hidden and shown.
class PageListViewTest : public QObject {
    Q_OBJECT

private:
    struct Harness : testing::StartedEditor {
        Harness() {
            start();
            QVERIFY(QTest::qWaitForWindowActive(&view));
        }

        PageListView& panel() { return *view.pageList(); }
        PageRowsView* list() { return panel().list(); }

        // From here on every change of the rows is checked against the rules Qt's views rely on.
        void checkRows() {
            rowsTester = std::make_unique<QAbstractItemModelTester>(
                panel().rows(), QAbstractItemModelTester::FailureReportingMode::QtTest);
        }

        // A page operation by its menu text, without the access key's mark.
        QAction* operation(const QString& text) {
            for (QAction* action : panel().pageActions()) {
                if (action->text().remove(QLatin1Char('&')) == text) return action;
            }
            return nullptr;
        }

        // Row 1 of every page, trailing blanks dropped: the order of the sequence at a glance.
        QStringList order() const {
            QStringList rows;
            for (int slot = 1; slot <= state.PageCount; ++slot) {
                const std::string& text = state.PageText[slot][1];
                rows << QString::fromStdString(text.substr(0, text.find_last_not_of(' ') + 1));
            }
            return rows;
        }

        void key(int key, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
            QTest::keyClick(list(), static_cast<Qt::Key>(key), modifiers);
        }

        QString shownRow1() { return find<QLineEdit>("Text1")->text(); }
        QString caption(const char* name) { return find<QLabel>(name)->text(); }

        std::unique_ptr<QAbstractItemModelTester> rowsTester;
    };

    static QStringList pages(std::initializer_list<int> numbers) {
        QStringList rows;
        for (int n : numbers) rows << QStringLiteral("PAGINA %1").arg(n);
        return rows;
    }

private Q_SLOTS:
    // Settings need a named organization: on Windows without one they are not kept at all.
    void initTestCase() {
        QCoreApplication::setOrganizationName(QStringLiteral("VeloraTest"));
        QCoreApplication::setApplicationName(QStringLiteral("page_list_view_test"));
    }

    void init() {
        QSettings().clear();
        QApplication::clipboard()->clear();
    }

    void keysChooseThePageTheEditorShows() {
        Harness h;
        h.putSequence(12);
        // A full upper row: loading it sends the editor's focus to the lower row.
        h.putPage(2, kTwoFixedRows, "OFFERTE SPECIALI!!", std::string(18, ' '));
        h.list()->setFocus();
        QCOMPARE(h.list()->model()->rowCount(), 12);
        h.key(Qt::Key_Down);
        QCOMPARE(h.shownRow1(), QStringLiteral("OFFERTE SPECIALI!!"));
        QVERIFY(h.list()->hasFocus());
        QCOMPARE(h.model.VScroll1.value(), 2);
        QCOMPARE(h.caption("NumQua"), QStringLiteral("2"));
        h.key(Qt::Key_End);
        QCOMPARE(h.shownRow1(), QStringLiteral("PAGINA 12"));
        h.key(Qt::Key_Home);
        QCOMPARE(h.model.VScroll1.value(), 1);
        // The selector moved elsewhere: the list follows it.
        h.view.binder().run([&] { h.model.VScroll1.setValue(7); });
        QCOMPARE(h.list()->currentIndex().row(), 6);
        QCOMPARE(h.list()->selectionModel()->selectedRows().size(), 1);
        // On the new-page slot no row is the page shown.
        h.view.binder().run([&] { h.model.VScroll1.setValue(13); });
        QVERIFY(!h.list()->selectionModel()->hasSelection());
        QCOMPARE(h.caption("PageSummary"), QStringLiteral("12 pagine \u00B7 un giro circa 0:36"));
    }

    void pageKeysMoveDuplicateAndDeleteAsOneStepEach() {
        Harness h;
        h.putSequence(5);
        h.checkRows();
        h.list()->setFocus();
        h.key(Qt::Key_Down);  // page 2
        h.key(Qt::Key_Down, Qt::ControlModifier | Qt::ShiftModifier);
        QCOMPARE(h.order(), pages({1, 3, 2, 4, 5}));
        QCOMPARE(h.model.VScroll1.value(), 3);
        QCOMPARE(h.shownRow1(), QStringLiteral("PAGINA 2"));
        h.key(Qt::Key_D, Qt::ControlModifier);
        QCOMPARE(h.order(), pages({1, 3, 2, 2, 4, 5}));
        QCOMPARE(h.caption("txtmax"), QStringLiteral("6"));
        QVERIFY(h.list()->hasFocus());
        // Two rows selected go together.
        h.key(Qt::Key_Down, Qt::ShiftModifier);
        QCOMPARE(h.list()->selectionModel()->selectedRows().size(), 2);
        h.key(Qt::Key_Delete);
        QCOMPARE(h.order(), pages({1, 3, 2, 5}));
        QCOMPARE(h.caption("txtmax"), QStringLiteral("4"));
        // Each was one step of the history.
        for (const QStringList& before :
             {pages({1, 3, 2, 2, 4, 5}), pages({1, 3, 2, 4, 5}), pages({1, 2, 3, 4, 5})}) {
            h.view.action("mnuAnnulla")->trigger();
            QCOMPARE(h.order(), before);
        }
        QVERIFY(!h.view.isWindowModified());
    }

    void draggingARowMovesIt() {
        Harness h;
        h.putSequence(20);
        h.checkRows();
        PageRowsView* list = h.list();
        list->scrollTo(list->model()->index(14, 0));
        list->setCurrentIndex(list->model()->index(14, 0));
        QCOMPARE(h.shownRow1(), QStringLiteral("PAGINA 15"));
        QMimeData* data = list->model()->mimeData({list->model()->index(14, 0)});
        list->scrollToTop();
        const QPoint top = list->visualRect(list->model()->index(0, 0)).topLeft() + QPoint(20, 2);
        QDragEnterEvent enter(top, Qt::MoveAction, data, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(list->viewport(), &enter);
        QVERIFY(enter.isAccepted());
        QDragMoveEvent move(top, Qt::MoveAction, data, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(list->viewport(), &move);
        QVERIFY(move.isAccepted());
        QDropEvent drop(top, Qt::MoveAction, data, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(list->viewport(), &drop);
        QVERIFY(drop.isAccepted());
        QCOMPARE(h.order().first(), QStringLiteral("PAGINA 15"));
        QCOMPARE(h.order().at(15), QStringLiteral("PAGINA 16"));
        QCOMPARE(h.model.VScroll1.value(), 1);
        QCOMPARE(h.shownRow1(), QStringLiteral("PAGINA 15"));
        delete data;

        // A file dragged over the list is not taken for rows: it goes on to the window.
        QMimeData file;
        file.setUrls({QUrl::fromLocalFile(QStringLiteral("/seq/altra.inf"))});
        QDragEnterEvent other(top, Qt::CopyAction, &file, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(list->viewport(), &other);
        QVERIFY(!other.isAccepted());
    }

    void copyAndPasteThroughTheClipboardBetweenTwoWindows() {
        Harness from;
        from.putSequence(4);
        from.checkRows();
        from.list()->setFocus();
        from.key(Qt::Key_Down);
        from.key(Qt::Key_Down, Qt::ShiftModifier);  // pages 2 and 3
        from.key(Qt::Key_C, Qt::ControlModifier);
        const QMimeData* held = QApplication::clipboard()->mimeData();
        QVERIFY(held->hasFormat(QString::fromLatin1(PageList::kMimeType)));
        QCOMPARE(held->text(), QStringLiteral("1,\"PAGINA 2          \",3\r\n"
                                              "1,\"                  \",3\r\n"
                                              "1,\"PAGINA 3          \",3\r\n"
                                              "1,\"                  \",3\r\n"));

        Harness to;
        to.putSequence(2);
        to.checkRows();
        to.list()->setFocus();
        to.key(Qt::Key_V, Qt::ControlModifier);  // after page 1, the one selected
        QCOMPARE(to.order(), QStringList({QStringLiteral("PAGINA 1"), QStringLiteral("PAGINA 2"),
                                          QStringLiteral("PAGINA 3"), QStringLiteral("PAGINA 2")}));
        QCOMPARE(to.list()->selectionModel()->selectedRows().size(), 2);

        // Plain text from a text editor, one word changed, with its own line ends.
        QApplication::clipboard()->setText(QStringLiteral("3,\"SALDI\",5\n3,\"SALDI\",5\n"));
        to.key(Qt::Key_End);
        to.key(Qt::Key_V, Qt::ControlModifier);
        QCOMPARE(int(to.state.PageCount), 5);
        QCOMPARE(to.state.PageKind[5], kBigFixed);
        QCOMPARE(to.state.PageText[5][1], std::string("SALDI    "));
        QCOMPARE(to.model.VScroll1.value(), 5);

        // Cut takes them away from the first window.
        from.view.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&from.view));
        from.key(Qt::Key_X, Qt::ControlModifier);
        QCOMPARE(from.order(), pages({1, 4}));
    }

    void pasteOfOtherTextChangesNothingAndSaysWhy() {
        Harness h;
        h.putSequence(3);
        const std::string before = sequenceFileBytes(h.state);
        QApplication::clipboard()->setText(QStringLiteral("Offerta del giorno: pane e coperto"));
        h.list()->setFocus();
        h.key(Qt::Key_V, Qt::ControlModifier);
        QCOMPARE(sequenceFileBytes(h.state), before);
        QCOMPARE(h.fake.dialogs.messages().size(), std::size_t(1));
        QVERIFY(!h.view.action("mnuAnnulla")->isEnabled());
    }

    void clipboardKeysInARowStayWithTheRow() {
        Harness h;
        h.putSequence(3);
        auto* text1 = h.find<QLineEdit>("Text1");
        text1->setFocus();
        text1->selectAll();
        QTest::keyClick(text1, Qt::Key_C, Qt::ControlModifier);
        QCOMPARE(QApplication::clipboard()->text(), QStringLiteral("PAGINA 1"));
        QTest::keyClick(text1, Qt::Key_Delete);
        QCOMPARE(int(h.state.PageCount), 3);
        QCOMPARE(text1->text(), QString());
    }

    void picturesAreDrawnOncePerPage() {
        Harness h;
        h.putSequence(40);
        h.view.resize(900, 600);
        QTest::qWait(50);
        PageRows* rows = h.panel().rows();
        const long first = rows->picturesDrawn();
        QVERIFY(first > 0);
        QVERIFY(first < 40);  // only the rows in sight
        h.list()->scrollToBottom();
        QTest::qWait(50);
        const long all = rows->picturesDrawn();
        h.list()->scrollToTop();
        h.list()->scrollToBottom();
        QTest::qWait(50);
        QCOMPARE(rows->picturesDrawn(), all);
        // A moved page keeps its picture; a changed one is drawn again.
        h.list()->setFocus();
        h.key(Qt::Key_End);
        h.key(Qt::Key_Up, Qt::ControlModifier | Qt::ShiftModifier);
        QCOMPARE(h.model.VScroll1.value(), 39);
        QTest::qWait(50);
        QCOMPARE(rows->picturesDrawn(), all);
        h.view.binder().run([&] { h.model.Command2.click(); });  // centres the page shown
        QTest::qWait(50);
        QCOMPARE(rows->picturesDrawn(), all + 1);
    }

    void rowsReadOutPageKindAndTexts() {
        Harness h;
        h.putSequence(2);
        const QModelIndex row = h.list()->model()->index(1, 0);
        QCOMPARE(row.data(Qt::AccessibleTextRole).toString(),
                 QStringLiteral("Pagina 2, Due righe, pausa 3 secondi: PAGINA 2"));
        QCOMPARE(row.data(Qt::DisplayRole).toString(), QStringLiteral("Due righe"));
    }

    void theListHidesAndStaysHidden() {
        {
            Harness h;
            h.putSequence(2);
            h.checkRows();
            QVERIFY(h.panel().isVisible());
            auto* shown = h.view.findChild<QAction*>(QStringLiteral("mnuElencoPagine"));
            QVERIFY(shown);
            QVERIFY(shown->isChecked());
            h.list()->setFocus();
            shown->trigger();
            QVERIFY(!h.panel().isVisible());
            QVERIFY(!h.list()->hasFocus());
            // The operations still act on the page shown, through the menu.
            h.view.binder().run([&] { h.model.VScroll1.setValue(2); });
            QAction* duplicate = h.operation(QStringLiteral("Duplica"));
            QVERIFY(duplicate);
            duplicate->trigger();
            QCOMPARE(int(h.state.PageCount), 3);
        }
        Harness again;
        QVERIFY(!again.panel().isVisible());
    }

    void draggingTheSplitterRemembersTheWidth() {
        Harness h;
        h.putSequence(2);
        auto* splitter = h.view.findChild<QSplitter*>(QStringLiteral("PageListSplitter"));
        QSplitterHandle* handle = splitter->handle(1);
        QTest::mousePress(handle, Qt::LeftButton, {}, QPoint(1, 10));
        QTest::mouseMove(handle, QPoint(5, 10));
        QTest::mouseRelease(handle, Qt::LeftButton, {}, QPoint(5, 10));
        QCOMPARE(QSettings().value(QStringLiteral("pageList/width")).toInt(), h.panel().width());
    }

    // The window has its size, and the list its width, before the window is on the screen: the
    // list as wide as the user left it, or as near as the screen allows. Nothing moves after the
    // window has appeared.
    void theWindowAppearsAtItsWidth() {
        QSettings().setValue(QStringLiteral("pageList/width"), 300);
        testing::StartedEditor editor;
        editor.start();
        const int windowWidth = editor.view.width();
        const int listWidth = editor.view.pageList()->width();
        QVERIFY(QTest::qWaitForWindowActive(&editor.view));
        QCoreApplication::processEvents();
        QCOMPARE(editor.view.pageList()->width(), listWidth);
        QCOMPARE(editor.view.width(), windowWidth);
    }

    void altPFocusesTheList() {
        Harness h;
        h.putSequence(2);
        h.find<QLineEdit>("Text1")->setFocus();
        QTest::keyClick(&h.view, Qt::Key_P, Qt::AltModifier);
        QVERIFY(h.list()->hasFocus());
    }
};

}  // namespace velora

QTEST_MAIN(velora::PageListViewTest)
#include "page_list_view_test.moc"
