#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>

#include "cli/pty_sign.h"
#include "cli_run.h"

namespace velora {

// velora-cli signs and --sign, in a configuration folder of their own: the program's folder under
// XDG_CONFIG_HOME, the same one the desktop program uses, started from a folder without BASE.dat.
class SignsCliTest : public QObject {
    Q_OBJECT

private:
    using Run = testing::CliRun;

    Run cli(const QStringList& args) {
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(QStringLiteral("XDG_CONFIG_HOME"), m_config.path());
        return testing::runCli(args, environment, m_start.path());
    }

    QString folder() const { return m_config.filePath(QStringLiteral("Velora/Velora")); }
    QString signsFile() const { return QDir(folder()).filePath(QStringLiteral("insegne.txt")); }
    QString baseDat() const { return QDir(folder()).filePath(QStringLiteral("BASE.dat")); }

    static void write(const QString& path, const QByteArray& bytes) {
        QDir().mkpath(QFileInfo(path).absolutePath());
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(bytes);
    }
    static QByteArray read(const QString& path) {
        QFile file(path);
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }

    // A fresh configuration: BASE.dat for 8 boards and the port the program last opened.
    void freshConfiguration() {
        QDir(folder()).removeRecursively();
        write(baseDat(), " 24 \r\n");
        write(QDir(folder()).filePath(QStringLiteral("../Velora.conf")), "[link]\nport=COM5\n");
    }

    QString sequence(const QByteArray& bytes) {
        const QString path = m_start.filePath(QStringLiteral("seq%1.inf").arg(++m_files));
        write(path, bytes);
        return path;
    }

    QTemporaryDir m_config;
    QTemporaryDir m_start;
    int m_files = 0;

private Q_SLOTS:
    void listAddAndRemove() {
        freshConfiguration();
        // No signs file yet: BASE.dat's sign, with the remembered port; nothing is written.
        Run run = cli({QStringLiteral("signs"), QStringLiteral("list")});
        QCOMPARE(run.exitCode, 0);
        QCOMPARE(run.out, QStringLiteral("NOME     PORTA  SCHEDE\n"
                                         "Insegna  COM5   8       in uso  BASE.dat\n"));
        QVERIFY(!QFile::exists(signsFile()));

        run = cli({QStringLiteral("signs"), QStringLiteral("add"), QStringLiteral("Città"),
                   QStringLiteral("--port"), QStringLiteral("socket://127.0.0.1:4001"),
                   QStringLiteral("--boards"), QStringLiteral("4")});
        QCOMPARE(run.exitCode, 0);
        QCOMPARE(run.out, QStringLiteral("Insegna «Città» aggiunta.\n"));
        QVERIFY(read(signsFile())
                    .endsWith("Insegna\tCOM5\t8\tin uso\n"
                              "Città\tsocket://127.0.0.1:4001\t4\n"));
        run = cli({QStringLiteral("signs"), QStringLiteral("list")});
        QCOMPARE(run.out, QStringLiteral("NOME     PORTA                    SCHEDE\n"
                                         "Insegna  COM5                     8       in uso  "
                                         "BASE.dat\n"
                                         "Città    socket://127.0.0.1:4001  4\n"));

        // Refusals by the rules exit 1 with the reason; the file stays.
        const QByteArray before = read(signsFile());
        const struct {
            QStringList args;
            int exitCode;
            const char* says;
        } refused[] = {
            {{QStringLiteral("CITTÀ"), QStringLiteral("--port"), QStringLiteral("COM2"),
              QStringLiteral("--boards"), QStringLiteral("3")},
             1,
             "C'è già un'insegna di nome «Città»."},
            {{QStringLiteral("Retro"), QStringLiteral("--port"), QStringLiteral("socket://x"),
              QStringLiteral("--boards"), QStringLiteral("3")},
             1,
             "Porta in rete non valida"},
            {{QStringLiteral("Retro"), QStringLiteral("--port"), QStringLiteral("COM2"),
              QStringLiteral("--boards"), QStringLiteral("9")},
             1,
             "da 3 a 8"},
            {{QStringLiteral("Retro"), QStringLiteral("--port"), QStringLiteral("COM2")},
             64,
             "vuole --port PORTA e --boards N"},
            {{QStringLiteral("Retro"), QStringLiteral("--port"), QStringLiteral("COM2"),
              QStringLiteral("--boards"), QStringLiteral("sei")},
             64,
             "--boards vuole"},
        };
        for (const auto& c : refused) {
            run = cli(QStringList{QStringLiteral("signs"), QStringLiteral("add")} + c.args);
            QCOMPARE(run.exitCode, c.exitCode);
            QVERIFY2(run.err.contains(QString::fromUtf8(c.says)), qPrintable(run.err));
        }
        QCOMPARE(read(signsFile()), before);

        // The first sign goes: BASE.dat follows the next one.
        run = cli({QStringLiteral("signs"), QStringLiteral("remove"), QStringLiteral("insegna")});
        QCOMPARE(run.exitCode, 0);
        QCOMPARE(read(baseDat()), QByteArray(" 12 \r\n"));
        run = cli({QStringLiteral("signs"), QStringLiteral("remove"), QStringLiteral("Città")});
        QCOMPARE(run.exitCode, 1);
        QVERIFY(run.err.contains(QStringLiteral("è l'unica")));
        QCOMPARE(cli({QStringLiteral("signs"), QStringLiteral("remove"), QStringLiteral("Nessuna")})
                     .exitCode,
                 1);
        QCOMPARE(cli({QStringLiteral("signs"), QStringLiteral("rename")}).exitCode, 64);
    }

    void aDamagedFileIsReportedAndKept() {
        freshConfiguration();
        const QByteArray damaged = "Insegna\tCOM1\t6\nBanco\tCOM2\tdieci\n";
        write(signsFile(), damaged);
        Run run = cli({QStringLiteral("signs"), QStringLiteral("list")});
        QCOMPARE(run.exitCode, 1);
        QVERIFY2(run.err.contains(QStringLiteral("riga 2: numero di schede non valido «dieci»")),
                 qPrintable(run.err));
        run = cli({QStringLiteral("signs"), QStringLiteral("add"), QStringLiteral("Retro"),
                   QStringLiteral("--port"), QStringLiteral("COM3"), QStringLiteral("--boards"),
                   QStringLiteral("3")});
        QCOMPARE(run.exitCode, 1);
        QCOMPARE(read(signsFile()), damaged);
    }

    // send and clock reach a sign by its name; a sequence for another width is not sent.
    void sendAndClockBySignName() {
        freshConfiguration();
        PtySign sign;
        sign.start();
        const QString port = QString::fromStdString(sign.devicePath());
        write(signsFile(),
              "Insegna\tCOM5\t8\tin uso\nBanco\t" + port.toUtf8() + "\t3\nRetro\t\t3\n");
        const QString nineWide = sequence(
            "2,9\r\n1,\"CIAO     \",5\r\n1,\"A B      \",5\r\n4,\"yes\",3\r\n4,\"yes\",3\r\n");
        Run run = cli(
            {QStringLiteral("send"), nineWide, QStringLiteral("--sign"), QStringLiteral("banco")});
        QCOMPARE(run.out, QStringLiteral("2  Pagine\n"));
        QCOMPARE(run.exitCode, 0);
        QCOMPARE(sign.sign().pagesReceived(), 2);
        run = cli({QStringLiteral("clock"), QStringLiteral("--sign=Banco")});
        QCOMPARE(run.out, QStringLiteral("Data/Ora OK\n"));
        QCOMPARE(run.exitCode, 0);

        // Made for 6 boards: sent brought to the sign's 3 when only blanks go, else refused
        // naming the page, and nothing is sent.
        const QString fits = sequence("1,18\r\n1,\"CIAO\",5\r\n1,\"A B\",5\r\n");
        run =
            cli({QStringLiteral("send"), fits, QStringLiteral("--sign"), QStringLiteral("Banco")});
        QCOMPARE(run.exitCode, 0);
        QCOMPARE(sign.sign().pagesReceived(), 1);
        const QString tooWide = sequence(
            "2,18\r\n1,\"CIAO\",5\r\n1,\"A B\",5\r\n1,\"BUONGIORNO A TUTTI\",5\r\n"
            "1,\"A B\",5\r\n");
        run = cli(
            {QStringLiteral("send"), tooWide, QStringLiteral("--sign"), QStringLiteral("Banco")});
        QCOMPARE(run.exitCode, 1);
        QVERIFY2(run.err.contains(QStringLiteral(
                     "La sequenza è per 6 schede, l'insegna «Banco» ne ha 3: la pagina 2 ha "
                     "testo oltre i 9 caratteri di questa insegna")),
                 qPrintable(run.err));
        QCOMPARE(sign.sign().pagesReceived(), 1);  // nothing more was sent

        const struct {
            QStringList args;
            int exitCode;
            const char* says;
        } refused[] = {
            {{QStringLiteral("clock"), QStringLiteral("--sign"), QStringLiteral("Cassa")},
             64,
             "Non c'è un'insegna di nome «Cassa»"},
            {{QStringLiteral("clock"), QStringLiteral("--sign"), QStringLiteral("Retro")},
             2,
             "non ha una porta"},
            {{QStringLiteral("clock"), QStringLiteral("--sign"), QStringLiteral("Banco"),
              QStringLiteral("--port"), port},
             64,
             "non entrambi"},
            {{QStringLiteral("dump"), nineWide, QStringLiteral("--sign"), QStringLiteral("Banco")},
             64,
             "non usa --sign"},
            {{QStringLiteral("clock")}, 64, "vuole --port PORTA o --sign NOME"},
        };
        for (const auto& c : refused) {
            run = cli(c.args);
            QCOMPARE(run.exitCode, c.exitCode);
            QVERIFY2(run.err.contains(QString::fromUtf8(c.says)), qPrintable(run.err));
        }
    }
};

}  // namespace velora

QTEST_GUILESS_MAIN(velora::SignsCliTest)
#include "signs_cli_test.moc"
