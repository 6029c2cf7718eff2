#include <fcntl.h>
#include <sched.h>
#include <sys/mount.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <csignal>
#include <cstring>
#include <future>

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QMessageBox>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTimer>
#include <QtTest>

#include "fakes/fake_clock.h"
#include "fakes/fake_dialogs.h"
#include "fakes/fake_program.h"
#include "platform/system_files.h"
#include "ui/started_application.h"

namespace velora {
namespace {

// A small tmpfs of this process's own, mounted by main() before Qt starts any thread; empty
// when the system allows none, with the reason in kNoDiskReason.
QString smallDisk;
QString noDiskReason;

bool writeWhole(const char* path, const std::string& text) {
    const int fd = ::open(path, O_WRONLY);
    if (fd < 0) return false;
    const bool written = ::write(fd, text.data(), text.size()) == static_cast<ssize_t>(text.size());
    ::close(fd);
    return written;
}

// A mount namespace of the process's own, in a user namespace where it is not root, so that a
// tmpfs can be mounted without touching the system's mounts.
void mountSmallDisk() {
    char folder[] = "/tmp/velora-small-disk-XXXXXX";
    if (!::mkdtemp(folder)) {
        noDiskReason = QStringLiteral("no temporary folder");
        return;
    }
    const uid_t uid = ::geteuid();
    const gid_t gid = ::getegid();
    bool unshared = uid == 0 && ::unshare(CLONE_NEWNS) == 0;
    if (!unshared && ::unshare(CLONE_NEWUSER | CLONE_NEWNS) == 0) {
        unshared = writeWhole("/proc/self/setgroups", "deny") &&
                   writeWhole("/proc/self/uid_map", "0 " + std::to_string(uid) + " 1") &&
                   writeWhole("/proc/self/gid_map", "0 " + std::to_string(gid) + " 1");
    }
    if (!unshared) {
        noDiskReason = QStringLiteral("no mount namespace: %1")
                           .arg(QString::fromLocal8Bit(std::strerror(errno)));
        ::rmdir(folder);
        return;
    }
    // Mounts made here stay here.
    ::mount(nullptr, "/", nullptr, MS_REC | MS_PRIVATE, nullptr);
    if (::mount("velora-small-disk", folder, "tmpfs", 0, "size=64k") != 0) {
        noDiskReason = QStringLiteral("cannot mount a tmpfs: %1")
                           .arg(QString::fromLocal8Bit(std::strerror(errno)));
        ::rmdir(folder);
        return;
    }
    smallDisk = QString::fromLocal8Bit(folder);
}

void unmountSmallDisk() {
    if (smallDisk.isEmpty()) return;
    const QByteArray folder = smallDisk.toLocal8Bit();
    ::umount2(folder.constData(), MNT_DETACH);
    ::rmdir(folder.constData());
}

QByteArray fileBytes(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<missing>");
}

// Writes until the file system refuses another byte.
bool fillUp(const QString& path) {
    const int fd = ::open(path.toLocal8Bit().constData(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    if (fd < 0) return false;
    const std::string block(4096, 'x');
    std::size_t size = block.size();
    while (size > 0) {
        if (::write(fd, block.data(), size) < 0) {
            if (errno != ENOSPC) break;
            size /= 2;
        }
    }
    ::close(fd);
    return errno == ENOSPC;
}

// The editor's models over the real files, with the dialogs and the clock faked.
struct RealFiles {
    testing::FakeDialogs dialogs;
    testing::FakeClock clock;
    SystemFiles files;
    testing::FakeProgram program;
    Services services{dialogs, clock, files, program};
    WindowModels windows{services, testing::fortyMillisecondLoop};
    Modulo1& state = windows.state;
    EditorWindow& editor = windows.editor;
    FileMenu& menu = windows.fileMenu;
    Salva_Impost& settings = windows.settings;

    // `pages` pages whose texts together pass Qt's write buffer when there are many of them.
    explicit RealFiles(int pages) {
        state.PageCount = static_cast<std::uint8_t>(pages);
        for (int slot = 1; slot <= pages; ++slot) {
            state.PageKind[slot] = kRow2Scrolling;
            state.PageText[slot] = {"", std::string(18, 'A'), std::string(60, 'B')};
            state.PagePause[slot] = 3;
        }
    }
};

}  // namespace

class SaveFailureTest : public QObject {
    Q_OBJECT

private:
    static constexpr const char* kOldSequence = "1,18\r\n1,\"old\",3\r\n1,\"old\",3\r\n";
    static constexpr const char* kOldSettings = " 12 \r\n";

    // Writes the previous files into `folder`, then lets `breakWrites` make every further write
    // fail, and tries every kind of save: none may report success, touch the previous files or
    // give the sequence the new name.
    static void checkEverySaveFails(const QString& folder, const std::function<void()>& breakWrites,
                                    const std::function<void()>& repair) {
        const QString old = QDir(folder).filePath(QStringLiteral("old.inf"));
        const QString base = QDir(folder).filePath(QStringLiteral("BASE.dat"));
        QFile::remove(old);
        QFile::remove(base);
        {
            QFile f(old);
            QVERIFY(f.open(QIODevice::WriteOnly));
            f.write(kOldSequence);
            QFile b(base);
            QVERIFY(b.open(QIODevice::WriteOnly));
            b.write(kOldSettings);
        }
        const QStringList before = QDir(folder).entryList(QDir::Files);

        for (const int pages : {1, 200}) {
            RealFiles r(pages);
            r.editor.setSettingsFile(base.toStdString());
            r.state.CurrentFilePath = old.toStdString();
            breakWrites();

            r.menu.Salva();
            r.dialogs.messageAnswers.push_back(MessageAnswer::Yes);  // replace old.inf
            r.dialogs.pathAnswers.push_back(old.toStdString());
            r.menu.Salva_c_Nome();
            r.dialogs.pathAnswers.push_back(
                QDir(folder).filePath(QStringLiteral("new")).toStdString());
            r.menu.Salva_c_Nome();
            r.editor.Salv_Impost.click();
            r.settings.Combo2.setText("8");
            r.settings.Command1.click();
            repair();

            const auto messages = r.dialogs.messages();
            QCOMPARE(messages.size(), std::size_t{5});  // the overwrite question among them
            QCOMPARE(messages[0], std::string("Problemi con il File!!"));
            QCOMPARE(messages[2], std::string("Problemi con il File!!"));
            QCOMPARE(messages[3], std::string("Problemi con il File!!"));
            QVERIFY(messages[4].find("BASE.dat") != std::string::npos);
            QCOMPARE(r.state.CurrentFilePath, old.toStdString());
            QVERIFY(r.editor.saveNotice.caption().empty());
            QCOMPARE(fileBytes(old), QByteArray(kOldSequence));
            QCOMPARE(fileBytes(base), QByteArray(kOldSettings));
            // No half-written file and no temporary file stays behind.
            QCOMPARE(QDir(folder).entryList(QDir::Files), before);
        }
    }

private Q_SLOTS:
    void savesOnAFullDiskKeepThePreviousFiles() {
        if (smallDisk.isEmpty()) QSKIP(qPrintable(noDiskReason));
        const QString filler = QDir(smallDisk).filePath(QStringLiteral("filler"));
        checkEverySaveFails(
            smallDisk, [&] { QVERIFY(fillUp(filler)); }, [&] { QFile::remove(filler); });
    }

    // The same faults without a full disk: a file size limit makes every write past its first
    // bytes fail, as a full disk does, also when the whole content waits in Qt's buffer.
    void savesWhoseWritesFailKeepThePreviousFiles() {
        QTemporaryDir folder;
        QVERIFY(folder.isValid());
        std::signal(SIGXFSZ, SIG_IGN);
        rlimit previous{};
        QVERIFY(::getrlimit(RLIMIT_FSIZE, &previous) == 0);
        checkEverySaveFails(
            folder.path(),
            [&] {
                rlimit small = previous;
                small.rlim_cur = 4;
                QVERIFY(::setrlimit(RLIMIT_FSIZE, &small) == 0);
            },
            [&] { ::setrlimit(RLIMIT_FSIZE, &previous); });
    }

    void aSaveThatWorksSaysSoAndTakesTheName() {
        QTemporaryDir folder;
        RealFiles r(1);
        r.clock.date = {2026, 12, 10, 9, 30, 5};
        r.dialogs.pathAnswers.push_back(folder.filePath(QStringLiteral("nuova")).toStdString());
        r.menu.Salva_c_Nome();
        const QString written = folder.filePath(QStringLiteral("nuova.inf"));
        QCOMPARE(r.state.CurrentFilePath, written.toStdString());
        QVERIFY(fileBytes(written).startsWith("1,18\r\n"));
        QCOMPARE(r.editor.saveNotice.caption(), std::string("File salvato alle 09:30:05"));
        QVERIFY(r.dialogs.shown.size() == 1);  // the save dialog alone
    }

    // A named pipe never gets a writer: reading it would wait for ever.
    void aNamedPipeForBaseDatIsTreatedAsMissing() {
        QTemporaryDir folder;
        const QString pipe = folder.filePath(QStringLiteral("BASE.dat"));
        QVERIFY(::mkfifo(pipe.toLocal8Bit().constData(), 0600) == 0);
        testing::FakeDialogs dialogs;
        testing::FakeClock clock;
        clock.autoAdvance = 0.05;
        SystemFiles files;
        testing::FakeProgram program;
        Services services{dialogs, clock, files, program};
        Modulo1 state;
        EditorWindow editor{state, services, testing::fortyMillisecondLoop};
        editor.setSettingsFile(pipe.toStdString());

        auto loading = std::async(std::launch::async, [&] { editor.LoadSettings(); });
        if (loading.wait_for(std::chrono::seconds(10)) != std::future_status::ready) {
            // Lets the stuck reader go before failing.
            const int fd = ::open(pipe.toLocal8Bit().constData(), O_WRONLY | O_NONBLOCK);
            if (fd >= 0) ::close(fd);
            loading.wait();
            QFAIL("reading BASE.dat waited on a named pipe");
        }
        QCOMPARE(int(state.RowChars), 18);
        QCOMPARE(dialogs.messages().size(), std::size_t{1});
        QVERIFY(dialogs.messages()[0].find("BASE.dat") != std::string::npos);
    }

    // Started from a folder without BASE.dat, the program keeps it in the user's configuration
    // folder; one in the starting folder is still the one used.
    void baseDatLivesInTheStartingFolderOrTheConfigurationFolder() {
        QTemporaryDir home;
        QTemporaryDir start;
        const QByteArray previousConfig = qgetenv("XDG_CONFIG_HOME");
        qputenv("XDG_CONFIG_HOME", home.path().toLocal8Bit());
        const QString previousFolder = QDir::currentPath();
        QDir::setCurrent(start.path());
        const QString config =
            QDir(QStandardPaths::writableLocation(QStandardPaths::AppConfigLocation))
                .filePath(QStringLiteral("BASE.dat"));
        QVERIFY(config.startsWith(home.path()));

        // Message boxes are noted and closed.
        QStringList messages;
        QTimer closer;
        QObject::connect(&closer, &QTimer::timeout, [&] {
            if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
                messages << box->text();
                box->close();
            }
        });
        closer.start(10);

        {
            // No BASE.dat anywhere yet: the first-start message, then the settings are saved.
            Application app(testing::fortyMillisecondLoop);
            app.start();
            QCOMPARE(app.editor()->model().settingsFile(), config.toStdString());
            QCOMPARE(messages.size(), 1);
            QVERIFY(messages[0].startsWith(QStringLiteral("NON trovo il file BASE.dat")));
            app.editor()->action("Salv_Impost")->trigger();
            SettingsView* view = app.settings();
            QVERIFY(view);
            view->binder().run([&] {
                view->model().Combo2.setText("5");
                view->model().Command1.click();
            });
            QCOMPARE(fileBytes(config), QByteArray(" 15 \r\n"));
            QVERIFY(!QFile::exists(QStringLiteral("BASE.dat")));
        }
        {
            Application app(testing::fortyMillisecondLoop);
            app.start();
            QCOMPARE(int(app.state().RowChars), 15);
        }
        QFile here(QStringLiteral("BASE.dat"));
        QVERIFY(here.open(QIODevice::WriteOnly));
        here.write("21\r\n");
        here.close();
        {
            Application app(testing::fortyMillisecondLoop);
            app.start();
            QCOMPARE(app.editor()->model().settingsFile(), std::string("BASE.dat"));
            QCOMPARE(int(app.state().RowChars), 21);
        }
        QCOMPARE(messages.size(), 1);

        QDir::setCurrent(previousFolder);
        if (previousConfig.isNull()) {
            qunsetenv("XDG_CONFIG_HOME");
        } else {
            qputenv("XDG_CONFIG_HOME", previousConfig);
        }
    }
};

}  // namespace velora

int main(int argc, char* argv[]) {
    // A new user namespace can only be entered while the process has a single thread.
    velora::mountSmallDisk();
    int result = 0;
    {
        QApplication app(argc, argv);
        velora::SaveFailureTest test;
        result = QTest::qExec(&test, argc, argv);
    }
    velora::unmountSmallDisk();
    return result;
}

#include "save_failure_test.moc"
