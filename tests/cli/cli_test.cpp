#include <sys/resource.h>
#include <sys/stat.h>

#include <csignal>

#include <QElapsedTimer>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QtTest>

#include "cli/pty_sign.h"
#include "cli_run.h"

namespace velora {

// velora-cli as scripts run it, against the virtual sign on a pseudo-terminal.
class CliTest : public QObject {
    Q_OBJECT

private:
    using Run = testing::CliRun;

    static Run cli(const QStringList& args, const QString& outputFile = {}) {
        return testing::runCli(args, QProcessEnvironment::systemEnvironment(), {}, outputFile);
    }

    QString writeSequence(const QByteArray& bytes) {
        const QString path = m_dir.filePath(QStringLiteral("seq%1.inf").arg(++m_files));
        QFile file(path);
        if (file.open(QIODevice::WriteOnly)) file.write(bytes);
        return path;
    }

    // Two pages: the example of two fixed rows of nine characters, and a big scrolling row.
    QString twoPages() {
        return writeSequence(
            "2,9\r\n1,\"CIAO     \",5\r\n1,\"A B      \",5\r\n4,\"yes\",3\r\n4,\"yes\",3\r\n");
    }

    QTemporaryDir m_dir;
    int m_files = 0;

private Q_SLOTS:
    void dumpPrintsOneRecordPerLine() {
        const Run run = cli({QStringLiteral("dump"), twoPages()});
        QCOMPARE(run.exitCode, 0);
        const QStringList lines = run.out.split(QLatin1Char('\n'), Qt::SkipEmptyParts);
        QCOMPARE(lines.size(), 3);
        const QString zeros15 = QStringLiteral(" 00").repeated(15);
        QCOMPARE(lines[0], QStringLiteral("01 02 05 09 23 29 21 2F") +
                               QStringLiteral(" 00").repeated(5) + zeros15 +
                               QStringLiteral(" 21 00 22") + QStringLiteral(" 00").repeated(6) +
                               zeros15 + QStringLiteral(" E9"));
        QCOMPARE(lines[1], QStringLiteral("04 02 03 09") + QStringLiteral(" 00").repeated(24) +
                               QStringLiteral(" 35 24 32 80 E9"));
        QCOMPARE(lines[2], QStringLiteral("FD"));

        const Run empty = cli({QStringLiteral("dump"), writeSequence("0,18\r\n")});
        QCOMPARE(empty.out, QStringLiteral("FD\n"));
    }

    // Every file the program would not open fails with the reason and the file's name, and a
    // named pipe without a writer does not hold the command.
    void unreadableFilesFailWithTheReason() {
        QByteArray large = "0,18\r\n";
        large.append(QByteArray(1024 * 1024, ' '));
        const QString pipe = m_dir.filePath(QStringLiteral("pipe.inf"));
        QVERIFY(::mkfifo(pipe.toLocal8Bit().constData(), 0600) == 0);
        const struct {
            QString path;
            const char* reason;
        } cases[] = {
            {m_dir.filePath(QStringLiteral("missing.inf")), "non esiste."},
            {m_dir.path(), "è una cartella, non un file."},
            {pipe, "non è un file: è un dispositivo o una pipe."},
            {QStringLiteral("/dev/zero"), "non è un file: è un dispositivo o una pipe."},
            {QStringLiteral("/proc/self/mem"), "non si può leggere."},
            {writeSequence("1,9\r\n1,\"ABC\",5\r\n"), "non è una sequenza."},
            {writeSequence("201,9\r\n"), "non è una sequenza."},
            {writeSequence(large), "è troppo grande (oltre 1 MiB)."},
        };
        for (const auto& c : cases) {
            const Run run = cli({QStringLiteral("dump"), c.path});
            QCOMPARE(run.exitCode, 1);
            QVERIFY2(run.err.contains(QStringLiteral("\"%1\" ").arg(c.path) +
                                      QString::fromUtf8(c.reason)),
                     qPrintable(run.err));
            QVERIFY(run.out.isEmpty());
        }
        // Just within the limit is read.
        QByteArray fits = "0,18\r\n";
        fits.append(QByteArray(1024 * 1024 - fits.size(), ' '));
        QCOMPARE(cli({QStringLiteral("dump"), writeSequence(fits)}).exitCode, 0);
    }

    void outputThatCannotBeWrittenFails() {
        const Run run = cli({QStringLiteral("dump"), twoPages()}, QStringLiteral("/dev/full"));
        QCOMPARE(run.exitCode, 1);
        QVERIFY(run.err.contains(QStringLiteral("Impossibile scrivere")));
    }

    void extraArgumentsAreNamed() {
        const QString file = twoPages();
        for (const QStringList& args :
             {QStringList{QStringLiteral("dump"), file, QStringLiteral("extra")},
              QStringList{QStringLiteral("sign"), QStringLiteral("extra")},
              QStringList{QStringLiteral("clock"), QStringLiteral("extra"),
                          QStringLiteral("--port"), QStringLiteral("/dev/null")},
              QStringList{QStringLiteral("send"), file, QStringLiteral("extra"),
                          QStringLiteral("--port"), QStringLiteral("/dev/null")}}) {
            const Run run = cli(args);
            QCOMPARE(run.exitCode, 64);
            QVERIFY2(run.err.startsWith(QStringLiteral("Argomento in più: extra")),
                     qPrintable(run.err));
        }
    }

    // A sign that answers with bytes of no meaning: the exchange fails, shows them, and says so
    // in the exit code.
    void oddAnswersFailWithTheBytesSeen() {
        PtySign sign;
        sign.sign().answerWith = std::vector<std::uint8_t>{0x41, 0xE3, 0x00};
        sign.start();
        const QString port = QString::fromStdString(sign.devicePath());
        const Run sent = cli({QStringLiteral("send"), twoPages(), QStringLiteral("--port"), port});
        QCOMPARE(sent.exitCode, 1);
        QCOMPARE(sent.out, QStringLiteral("Errore TX\n"));
        QVERIFY2(sent.err.contains(QStringLiteral("41 E3 00")), qPrintable(sent.err));
        const Run clock = cli({QStringLiteral("clock"), QStringLiteral("--port"), port});
        QCOMPARE(clock.exitCode, 1);
        QVERIFY2(clock.err.contains(QStringLiteral("41 E3 00")), qPrintable(clock.err));
    }

    // The sign takes the upload and hangs up: the wait ends at once and names the line.
    void hangUpEndsTheWaitAtOnce() {
        PtySign sign;
        sign.sign().silent = true;
        sign.start();
        const QString port = QString::fromStdString(sign.devicePath());
        sign.hangUpAfter(1);
        QElapsedTimer elapsed;
        elapsed.start();
        const Run run = cli({QStringLiteral("clock"), QStringLiteral("--port"), port});
        QCOMPARE(run.exitCode, 2);
        QVERIFY2(run.err.contains(QStringLiteral("Collegamento perso sulla porta ") + port),
                 qPrintable(run.err));
        // Far from the five seconds of a sign that never answers.
        QVERIFY(elapsed.elapsed() < 4000);
    }

    void sendAndClockAgainstTheSign() {
        PtySign sign;
        sign.start();
        const QString port = QString::fromStdString(sign.devicePath());
        const Run sent = cli({QStringLiteral("send"), twoPages(), QStringLiteral("--port"), port});
        QCOMPARE(sent.out, QStringLiteral("2  Pagine\n"));
        QCOMPARE(sent.exitCode, 0);
        QCOMPARE(sign.sign().pagesReceived(), 2);
        const Run clock = cli({QStringLiteral("clock"), QStringLiteral("--port"), port});
        QCOMPARE(clock.out, QStringLiteral("Data/Ora OK\n"));
        QCOMPARE(clock.exitCode, 0);
    }

    void wrongCountFails() {
        PtySign sign;
        sign.sign().countAdjust = 1;
        sign.start();
        const Run run = cli({QStringLiteral("send"), twoPages(), QStringLiteral("--port"),
                             QString::fromStdString(sign.devicePath())});
        QCOMPARE(run.out, QStringLiteral("Errore TX\n"));
        QCOMPARE(run.exitCode, 1);
    }

    void silentSignAndMissingPortExitTwo() {
        PtySign sign;
        sign.sign().silent = true;
        sign.start();
        const Run silent = cli({QStringLiteral("send"), twoPages(), QStringLiteral("--port"),
                                QString::fromStdString(sign.devicePath())});
        QCOMPARE(silent.exitCode, 2);
        QVERIFY(silent.err.contains(QStringLiteral("5 secondi")));
        const Run missing = cli({QStringLiteral("clock"), QStringLiteral("--port"),
                                 QStringLiteral("/dev/velora-none")});
        QCOMPARE(missing.exitCode, 2);
        QVERIFY(missing.err.contains(QStringLiteral("/dev/velora-none")));
    }

    void signCommandServesOtherRuns() {
        QProcess sign;
        sign.start(QStringLiteral(VELORA_CLI), {QStringLiteral("sign")});
        QVERIFY(sign.waitForReadyRead(5000));
        const QString port = QString::fromUtf8(sign.readLine()).trimmed();
        QVERIFY(port.startsWith(QStringLiteral("/dev/")));
        const Run run = cli({QStringLiteral("send"), twoPages(), QStringLiteral("--port"), port});
        QCOMPARE(run.exitCode, 0);
        QTRY_VERIFY_WITH_TIMEOUT(sign.bytesAvailable() > 0 && sign.canReadLine(), 3000);
        QTest::qWait(100);
        const QString log = QString::fromUtf8(sign.readAll());
        QCOMPARE(log, QStringLiteral("Connessione\nPagine ricevute: 2\n"));
        sign.kill();
        sign.waitForFinished();
    }

    // A sender killed in the middle of an upload: once the line has been quiet for a moment, the
    // sign answers the next run.
    void signRecoversFromAKilledSender() {
        QProcess sign;
        sign.start(QStringLiteral(VELORA_CLI), {QStringLiteral("sign")});
        QVERIFY(sign.waitForReadyRead(5000));
        const QString port = QString::fromUtf8(sign.readLine()).trimmed();
        QByteArray many = "40,18\r\n";
        for (int i = 0; i < 40; ++i)
            many +=
                "1,\"" + QByteArray(18, 'A') + "\",3\r\n1,\"" + QByteArray(18, 'B') + "\",3\r\n";
        QProcess sender;
        sender.start(QStringLiteral(VELORA_CLI),
                     {QStringLiteral("send"), writeSequence(many), QStringLiteral("--port"), port});
        QVERIFY(sender.waitForStarted());
        QTest::qWait(1500);
        QCOMPARE(sender.state(), QProcess::Running);
        sender.kill();
        sender.waitForFinished();
        QTest::qWait(800);
        const Run run = cli({QStringLiteral("send"), twoPages(), QStringLiteral("--port"), port});
        QCOMPARE(run.out, QStringLiteral("2  Pagine\n"));
        QCOMPARE(run.exitCode, 0);
        QString log;
        QTRY_VERIFY2_WITH_TIMEOUT((log += QString::fromUtf8(sign.readAll()))
                                      .contains(QStringLiteral("Pagine ricevute: 2")),
                                  qPrintable(log), 3000);
        QVERIFY(log.contains(QStringLiteral("Invio interrotto")));
        sign.kill();
        sign.waitForFinished();
    }

    // The journal of a send: its TX bytes joined are what dump prints, each page is read back,
    // and the clock follows with --clock.
    void sendWritesTheJournalAndSetsTheClock() {
        PtySign sign;
        sign.start();
        const QString file = twoPages();
        const QString log = m_dir.filePath(QStringLiteral("registro.txt"));
        const Run sent = cli({QStringLiteral("send"), file, QStringLiteral("--port"),
                              QString::fromStdString(sign.devicePath()), QStringLiteral("--clock"),
                              QStringLiteral("--log"), log});
        QCOMPARE(sent.exitCode, 0);
        QVERIFY2(sent.out.startsWith(QStringLiteral("2  Pagine\nData e ora impostate alle ")),
                 qPrintable(sent.out));
        QFile journal(log);
        QVERIFY(journal.open(QIODevice::ReadOnly));
        const QStringList lines = QString::fromUtf8(journal.readAll()).split(QLatin1Char('\n'));
        const QRegularExpression stamped(QStringLiteral("^\\d\\d:\\d\\d:\\d\\d\\.\\d{3} "));
        QStringList tx;
        QStringList notes;
        for (const QString& line : lines) {
            if (line.isEmpty()) continue;
            QVERIFY2(stamped.match(line).hasMatch(), qPrintable(line));
            const QString rest = line.mid(13);
            if (rest.startsWith(QStringLiteral("TX "))) tx << rest.mid(3);
            if (rest.startsWith(QStringLiteral("# "))) notes << rest.mid(2);
        }
        const Run dumped = cli({QStringLiteral("dump"), file});
        // The connect request first, the upload as dump prints it, then the clock message.
        QVERIFY(tx.size() >= 4);
        QCOMPARE(tx[0], QStringLiteral("D4"));
        QCOMPARE(tx.mid(1, 3).join(QLatin1Char(' ')),
                 dumped.out.trimmed().replace(QLatin1Char('\n'), QLatin1Char(' ')));
        QVERIFY(tx.join(QLatin1Char(' ')).contains(QStringLiteral("E0")));
        QVERIFY(notes.filter(QStringLiteral("pagina 2: tipo 4")).size() == 1);
        QCOMPARE(notes.last(), QStringLiteral("fine data e ora: risposta ricevuta, data e ora OK"));
        QCOMPARE(sign.sign().pagesReceived(), 2);
    }

    // On a full disk (files limited to 100 bytes) the journal is not written, the run says so
    // and fails, and the journal of an earlier run stays whole beside no temporary file.
    void aJournalThatCannotBeWrittenLeavesTheOldOne() {
        PtySign sign;
        sign.start();
        const QTemporaryDir folder;
        const QString log = QDir(folder.path()).filePath(QStringLiteral("registro.txt"));
        const QByteArray old = "12:00:00.000 # un registro di prima\n";
        {
            QFile earlier(log);
            QVERIFY(earlier.open(QIODevice::WriteOnly));
            earlier.write(old);
        }
        QProcess process;
        process.setChildProcessModifier([] {
            std::signal(SIGXFSZ, SIG_IGN);
            const rlimit small{100, 100};
            ::setrlimit(RLIMIT_FSIZE, &small);
        });
        process.start(QStringLiteral(VELORA_CLI),
                      {QStringLiteral("send"), twoPages(), QStringLiteral("--port"),
                       QString::fromStdString(sign.devicePath()), QStringLiteral("--log"), log});
        QVERIFY(process.waitForFinished(15000));
        QCOMPARE(process.exitCode(), 1);
        QCOMPARE(QString::fromUtf8(process.readAllStandardError()),
                 QStringLiteral("Impossibile scrivere il registro in %1.\n").arg(log));
        QFile journal(log);
        QVERIFY(journal.open(QIODevice::ReadOnly));
        QCOMPARE(journal.readAll(), old);
        QCOMPARE(QDir(folder.path()).entryList(QDir::Files | QDir::Hidden),
                 QStringList{QStringLiteral("registro.txt")});
        QCOMPARE(sign.sign().pagesReceived(), 2);
    }

    // A file that holds fewer pages than it declares says so on standard error; the exit codes
    // stay those of a readable file.
    void incompleteFileIsSaid() {
        const QString file = writeSequence("3,9\r\n1,\"CIAO     \",5\r\n1,\"A B      \",5\r\n");
        const Run run = cli({QStringLiteral("dump"), file});
        QCOMPARE(run.exitCode, 0);
        QCOMPARE(run.err,
                 QStringLiteral("Il file \u00E8 incompleto: pagine trovate 1 su 3 dichiarate.\n"));
        QCOMPARE(run.out.count(QLatin1Char('\n')), 2);
        PtySign sign;
        sign.start();
        const Run sent = cli({QStringLiteral("send"), file, QStringLiteral("--port"),
                              QString::fromStdString(sign.devicePath())});
        QCOMPARE(sent.exitCode, 0);
        QVERIFY(sent.err.startsWith(QStringLiteral("Il file \u00E8 incompleto")));
    }

    void helpAndVersion() {
        const Run help = cli({QStringLiteral("--help")});
        QCOMPARE(help.exitCode, 0);
        QVERIFY(help.out.contains(QStringLiteral("send FILE.inf --port PORTA")));
        QVERIFY(help.out.contains(QStringLiteral("render FILE.inf --out CARTELLA [--page N]")));
        const Run version = cli({QStringLiteral("--version")});
        QCOMPARE(version.exitCode, 0);
        QVERIFY(version.out.startsWith(QStringLiteral("velora-cli ")));
        const Run wrong = cli({QStringLiteral("send"), twoPages()});
        QCOMPARE(wrong.exitCode, 64);
    }
};

}  // namespace velora

QTEST_GUILESS_MAIN(velora::CliTest)
#include "cli_test.moc"
