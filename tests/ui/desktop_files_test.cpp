#include <cstdio>
#include <fstream>

#include <QAction>
#include <QFile>
#include <QFileDialog>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QMimeData>
#include <QSettings>
#include <QStandardPaths>
#include <QUrl>
#include <QtTest>

#include "recent_files_menu.h"
#include "ui/started_application.h"

namespace velora {

// Sequence files the desktop way, through the whole program offscreen with its real dialogs:
// named on the command line, dropped on the window, chosen from the recent files, and the file
// dialogs' starting folder. Settings live in the test's own home folder and start empty.
class DesktopFilesTest : public QObject {
    Q_OBJECT

private:
    static constexpr const char* kTwoPages =
        "2,18\r\n1,\"primo\",4\r\n1,\"secondo\",4\r\n3,\"GRANDE\",6\r\n3,\"GRANDE\",6\r\n";

    static void write(const QString& path, const QByteArray& bytes) {
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(bytes);
    }

    static QStringList menuTexts(QMenu* menu) {
        QStringList texts;
        for (QAction* action : menu->actions()) texts << action->text();
        return texts;
    }

    static QString rowText(testing::StartedApplication& h, const char* name) {
        return h.app->editor()->findChild<QLineEdit*>(QString::fromLatin1(name))->text();
    }

    // The folder a file dialog opens in, read as the user sees it, then cancelled.
    static QString dialogFolder(testing::StartedApplication& h, const char* item) {
        QString folder;
        bool shown = false;
        testing::answerNextDialog<QFileDialog>(
            [&folder](QFileDialog* dialog) {
                folder = dialog->directory().absolutePath();
                dialog->reject();
            },
            &shown);
        h.app->editor()->action(item)->trigger();
        return shown ? folder : QStringLiteral("<no dialog>");
    }

private Q_SLOTS:
    void init() { QSettings().clear(); }

    void fileNamedAtStartOpensAsOpenDoes() {
        testing::StartedApplication h;
        write(h.path("vetrina.inf"), kTwoPages);
        // A name relative to the folder the program starts in, as a shell passes it.
        h.start("vetrina.inf");
        QCOMPARE(h.app->state().CurrentFilePath, h.path("vetrina.inf").toStdString());
        QCOMPARE(int(h.app->state().PageCount), 2);
        // Page 1 comes into the rows through Timer2, as after "Apri".
        QTRY_COMPARE(rowText(h, "Text1"), QStringLiteral("primo"));
        QCOMPARE(h.app->desktopFiles().recentMenu()->actions().size(), 1);
    }

    void missingFileNamedAtStartIsReported() {
        testing::StartedApplication h;
        QString text;
        bool told = false;
        testing::answerNextDialog<QMessageBox>(
            [&text](QMessageBox* box) {
                text = box->text();
                box->accept();
            },
            &told);
        h.start("non-ce.inf");
        QVERIFY(told);
        QCOMPARE(text, QStringLiteral("Il file \"%1\" non esiste.").arg(h.path("non-ce.inf")));
        QVERIFY(h.app->state().CurrentFilePath.empty());
        QVERIFY(h.app->desktopFiles().recentMenu()->actions().isEmpty());
        QVERIFY(!h.app->desktopFiles().recentMenu()->menuAction()->isEnabled());
    }

    // A name in Latin-1, as an older system writes it, opens from the command line and keeps its
    // bytes on its way through Qt's strings.
    void fileNamedInLatin1Opens() {
        testing::StartedApplication h;
        const std::string name = h.folder.path().toStdString() + "/caf\xe9.inf";
        {
            std::ofstream file(name, std::ios::binary);
            file << kTwoPages;
        }
        h.start("caf\xe9.inf");
        QCOMPARE(h.app->state().CurrentFilePath, name);
        QCOMPARE(int(h.app->state().PageCount), 2);
        QTRY_COMPARE(rowText(h, "Text1"), QStringLiteral("primo"));
        std::remove(name.c_str());
    }

    // A drag from a file manager carries the file as a URL and often its name as text too; the
    // row it lands on must not take the name as typed text.
    void droppedFileOpensAndIsNotTyped() {
        testing::StartedApplication h;
        h.start();
        const QString path = h.path("trascinata.inf");
        write(path, kTwoPages);
        QMimeData data;
        data.setUrls({QUrl::fromLocalFile(path)});
        data.setText(path);
        auto* row = h.app->editor()->findChild<QLineEdit*>(QStringLiteral("Text1"));
        const QPoint at = row->rect().center();

        QDragEnterEvent enter(at, Qt::CopyAction | Qt::MoveAction, &data, Qt::LeftButton,
                              Qt::NoModifier);
        QApplication::sendEvent(row, &enter);
        QVERIFY(enter.isAccepted());
        QDropEvent drop(QPointF(at), Qt::CopyAction | Qt::MoveAction, &data, Qt::LeftButton,
                        Qt::NoModifier);
        QApplication::sendEvent(row, &drop);
        QVERIFY(drop.isAccepted());

        QTRY_COMPARE(h.app->state().CurrentFilePath, path.toStdString());
        QTRY_COMPARE(rowText(h, "Text1"), QStringLiteral("primo"));

        // Anything else dropped is left to the widgets: a text file is no sequence.
        QMimeData other;
        other.setUrls({QUrl::fromLocalFile(h.path("note.txt"))});
        QDragEnterEvent refused(at, Qt::CopyAction, &other, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(h.app->editor(), &refused);
        QVERIFY(!refused.isAccepted());
    }

    void recentFilesListTheNewestFirstAndDropAMissingOne() {
        testing::StartedApplication h;
        h.start();
        write(h.path("uno.inf"), kTwoPages);
        write(h.path("due & tre.inf"), kTwoPages);
        h.app->desktopFiles().open(h.path("uno.inf").toStdString());
        h.app->desktopFiles().open(h.path("due & tre.inf").toStdString());

        QMenu* recent = h.app->desktopFiles().recentMenu();
        auto* file = h.app->editor()->menuBar()->findChild<QMenu*>(QStringLiteral("mnuFile"));
        QVERIFY(file->actions().contains(recent->menuAction()));
        QCOMPARE(recent->title(), QStringLiteral("File &recenti"));
        QCOMPARE(menuTexts(recent), QStringList({QStringLiteral("&1 ") + h.path("due && tre.inf"),
                                                 QStringLiteral("&2 ") + h.path("uno.inf")}));

        // The list outlives the program.
        QCOMPARE(QSettings().value(QStringLiteral("recentFiles")).toStringList(),
                 QStringList({h.path("due & tre.inf"), h.path("uno.inf")}));

        // Chosen, the older one opens and comes first.
        recent->actions().at(1)->trigger();
        QCOMPARE(h.app->state().CurrentFilePath, h.path("uno.inf").toStdString());
        QCOMPARE(menuTexts(recent).first(), QStringLiteral("&1 ") + h.path("uno.inf"));

        // One that is gone is taken off the list with a message when chosen.
        QVERIFY(QFile::remove(h.path("due & tre.inf")));
        QString text;
        bool told = false;
        testing::answerNextDialog<QMessageBox>(
            [&text](QMessageBox* box) {
                text = box->text();
                box->accept();
            },
            &told);
        recent->actions().at(1)->trigger();
        QVERIFY(told);
        QVERIFY(text.contains(h.path("due & tre.inf")));
        QVERIFY(text.contains(QStringLiteral("file recenti")));
        QCOMPARE(menuTexts(recent), QStringList({QStringLiteral("&1 ") + h.path("uno.inf")}));
        QCOMPARE(QSettings().value(QStringLiteral("recentFiles")).toStringList(),
                 QStringList({h.path("uno.inf")}));
        QCOMPARE(h.app->state().CurrentFilePath, h.path("uno.inf").toStdString());

        // The next start lists what this one left.
        testing::StartedApplication next;
        next.start();
        QCOMPARE(menuTexts(next.app->desktopFiles().recentMenu()),
                 QStringList({QStringLiteral("&1 ") + h.path("uno.inf")}));
    }

    void dialogsStartInTheDocumentsThenInTheLastFilesFolder() {
        testing::StartedApplication h;
        const QString documents =
            QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
        QVERIFY(QDir().mkpath(documents));
        h.start();
        // Not the folder the program was started from.
        QCOMPARE(dialogFolder(h, "mnunextApri"), QDir(documents).absolutePath());

        QTemporaryDir elsewhere;
        const QString path = QDir(elsewhere.path()).filePath(QStringLiteral("altrove.inf"));
        write(path, kTwoPages);
        h.app->desktopFiles().open(path.toStdString());
        QCOMPARE(dialogFolder(h, "mnuNom"), QDir(elsewhere.path()).absolutePath());
        QCOMPARE(dialogFolder(h, "mnunextApri"), QDir(elsewhere.path()).absolutePath());

        // And so at the next start.
        testing::StartedApplication next;
        next.start();
        QCOMPARE(dialogFolder(next, "mnunextApri"), QDir(elsewhere.path()).absolutePath());
    }
};

}  // namespace velora

QTEST_MAIN(velora::DesktopFilesTest)
#include "desktop_files_test.moc"
