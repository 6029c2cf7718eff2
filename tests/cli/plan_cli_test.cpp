#include <atomic>

#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QtTest>

#include "cli/pty_sign.h"
#include "cli_run.h"

namespace velora {

// velora-cli plan and send --plan, as a timer runs them, against the virtual sign on a
// pseudo-terminal; the data folder is a temporary one.
class PlanCliTest : public QObject {
    Q_OBJECT

private:
    using Run = testing::CliRun;

    Run cli(const QStringList& args) {
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(QStringLiteral("XDG_DATA_HOME"), m_dir.filePath(QStringLiteral("dati")));
        environment.insert(QStringLiteral("XDG_CONFIG_HOME"),
                           m_dir.filePath(QStringLiteral("config")));
        return testing::runCli(args, environment);
    }

    QString write(const QString& name, const QByteArray& bytes) {
        const QString path = m_dir.filePath(name);
        QFile file(path);
        if (file.open(QIODevice::WriteOnly)) file.write(bytes);
        return path;
    }

    QByteArray record() {
        QFile file(m_dir.filePath(QStringLiteral("dati/Velora/Velora/ultimi-invii.txt")));
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }

    // The shop's plan, in a folder with a blank in its name.
    QString shopPlan() {
        write(QStringLiteral("normale.inf"), "1,9\r\n1,\"NORMALE  \",5\r\n1,\"NORMALE  \",5\r\n");
        write(QStringLiteral("mattina.inf"),
              "2,9\r\n1,\"MATTINA  \",5\r\n1,\"MATTINA  \",5\r\n1,\"OFFERTE  \",5\r\n"
              "1,\"OFFERTE  \",5\r\n");
        return write(QStringLiteral("piano del negozio.txt"),
                     "# vetrina\npredefinito normale.inf\nlun-ven 08:30-13:00 mattina.inf\n");
    }

    QTemporaryDir m_dir;

private Q_SLOTS:
    void planTellsWhatIsDueAndTheNextChange() {
        const QString plan = shopPlan();
        const QString folder = m_dir.path();
        const struct {
            const char* now;
            QString out;
        } cases[] = {
            {"2026-12-07 09:00", QStringLiteral("Alle 2026-12-07 09:00: %1/mattina.inf (riga 3)\n"
                                                "Prossimo cambio alle 2026-12-07 13:00: "
                                                "%1/normale.inf (riga 2)\n")
                                     .arg(folder)},
            {"2026-12-12 10:00", QStringLiteral("Alle 2026-12-12 10:00: %1/normale.inf (riga 2)\n"
                                                "Prossimo cambio alle 2026-12-14 08:30: "
                                                "%1/mattina.inf (riga 3)\n")
                                     .arg(folder)},
        };
        for (const auto& c : cases) {
            const Run run = cli({QStringLiteral("plan"), plan, QStringLiteral("--now"),
                                 QString::fromLatin1(c.now)});
            QCOMPARE(run.exitCode, 0);
            QCOMPARE(run.out, c.out);
        }
        const Run none =
            cli({QStringLiteral("plan"), write(QStringLiteral("vuoto.txt"), "# niente\n")});
        QCOMPARE(none.out.section(QLatin1Char('\n'), 1),
                 QStringLiteral("Nessun altro cambio in programma.\n"));
        QVERIFY(none.out.contains(QStringLiteral(": niente\n")));
    }

    void aPlanWithAnErrorIsRefusedNamingTheLine() {
        const QString bad =
            write(QStringLiteral("errato.txt"), "predefinito a.inf\n\nmer-dom 9:00-12 b.inf\n");
        for (const QStringList& args :
             {QStringList{QStringLiteral("plan"), bad},
              QStringList{QStringLiteral("send"), QStringLiteral("--plan"), bad,
                          QStringLiteral("--port"), QStringLiteral("/dev/null")}}) {
            const Run run = cli(args);
            QCOMPARE(run.exitCode, 1);
            QVERIFY2(run.err.contains(QStringLiteral("Riga 3: fascia oraria non valida")),
                     qPrintable(run.err));
            QVERIFY(run.out.isEmpty());
        }
        const Run wrongNow =
            cli({QStringLiteral("plan"), bad, QStringLiteral("--now"), QStringLiteral("domani")});
        QCOMPARE(wrongNow.exitCode, 64);
        const Run noPort = cli({QStringLiteral("plan"), shopPlan(), QStringLiteral("--systemd")});
        QCOMPARE(noPort.exitCode, 64);
    }

    // The units as the command prints them, each into its file, checked by systemd itself.
    void systemdUnitsPassTheirCheck() {
        const QString analyze = QStandardPaths::findExecutable(QStringLiteral("systemd-analyze"));
        if (analyze.isEmpty()) QSKIP("systemd-analyze is not installed here");
        const QString plan = shopPlan();
        QTemporaryDir units;
        for (const char* kind : {"service", "timer"}) {
            const Run run = cli({QStringLiteral("plan"), plan,
                                 QStringLiteral("--systemd=") + QLatin1String(kind),
                                 QStringLiteral("--port"), QStringLiteral("/dev/ttyUSB0")});
            QCOMPARE(run.exitCode, 0);
            QFile unit(units.filePath(QStringLiteral("velora-programma.") + QLatin1String(kind)));
            QVERIFY(unit.open(QIODevice::WriteOnly));
            unit.write(run.out.toUtf8());
            if (QLatin1String(kind) == QLatin1String("service")) {
                QVERIFY2(run.out.contains(
                             QStringLiteral(" send --plan \"%1\" --port /dev/ttyUSB0\n").arg(plan)),
                         qPrintable(run.out));
            } else {
                QVERIFY(run.out.contains(QStringLiteral("OnCalendar=*:0/5\n")));
                QVERIFY(run.out.contains(QStringLiteral("Persistent=true\n")));
            }
        }
        QProcess verify;
        verify.start(analyze, {QStringLiteral("verify"), QStringLiteral("--man=no"),
                               units.filePath(QStringLiteral("velora-programma.service")),
                               units.filePath(QStringLiteral("velora-programma.timer"))});
        if (!verify.waitForStarted() || !verify.waitForFinished(30000))
            QSKIP("systemd-analyze cannot run here");
        const QString said = QString::fromUtf8(verify.readAllStandardError());
        if (verify.exitCode() != 0 && said.contains(QStringLiteral("System has not been booted")))
            QSKIP("systemd-analyze cannot run here: no systemd");
        QVERIFY2(verify.exitCode() == 0, qPrintable(said));
        QVERIFY2(said.trimmed().isEmpty(), qPrintable(said));
    }

    // Two runs in one window send once; the next window sends again; a send that failed
    // leaves nothing written, so the next run tries again.
    void sendPlanSendsEachWindowOnce() {
        const QString plan = shopPlan();
        PtySign sign;
        std::atomic<int> uploads{0};
        sign.sign().onExchange = [&uploads](const std::string& line) {
            if (line.rfind("Pagine ricevute", 0) == 0) ++uploads;
        };
        sign.start();
        const QString port = QString::fromStdString(sign.devicePath());
        const auto sendAt = [&](const char* now, const QStringList& more = {}) {
            return cli(QStringList{QStringLiteral("send"), QStringLiteral("--plan"), plan,
                                   QStringLiteral("--port"), port, QStringLiteral("--now"),
                                   QString::fromLatin1(now)} +
                       more);
        };
        Run run = sendAt("2026-12-07 09:00");
        QCOMPARE(run.exitCode, 0);
        QVERIFY2(run.out.endsWith(QStringLiteral("mattina.inf (riga 3)\n2  Pagine\n")),
                 qPrintable(run.out));
        QCOMPARE(uploads.load(), 1);
        run = sendAt("2026-12-07 09:05");
        QCOMPARE(run.exitCode, 0);
        QVERIFY2(run.out.startsWith(QStringLiteral("Gi\u00E0 sull'insegna: ")),
                 qPrintable(run.out));
        QCOMPARE(uploads.load(), 1);
        run = sendAt("2026-12-07 13:00");
        QCOMPARE(run.exitCode, 0);
        QVERIFY(run.out.endsWith(QStringLiteral("1  Pagine\n")));
        QCOMPARE(uploads.load(), 2);
        run = sendAt("2026-12-07 13:05", {QStringLiteral("--force")});
        QCOMPARE(run.exitCode, 0);
        QCOMPARE(uploads.load(), 3);
        const QByteArray line = QByteArray("porta ") + port.toUtf8() + '\t';
        QVERIFY(record().startsWith(line));

        // A port that is not there: nothing is written down, and every run tries again.
        const QByteArray before = record();
        for (int i = 0; i < 2; ++i) {
            const Run failed = cli({QStringLiteral("send"), QStringLiteral("--plan"), plan,
                                    QStringLiteral("--port"), QStringLiteral("/dev/velora-none"),
                                    QStringLiteral("--now"), QStringLiteral("2026-12-07 13:10")});
            QCOMPARE(failed.exitCode, 2);
            QVERIFY(failed.out.contains(QStringLiteral(" si invia ")));
        }
        QCOMPARE(record(), before);

        // Nothing due: said, and nothing sent.
        const QString night = write(QStringLiteral("notte.txt"), "22:00-06:00 normale.inf\n");
        run =
            cli({QStringLiteral("send"), QStringLiteral("--plan"), night, QStringLiteral("--port"),
                 port, QStringLiteral("--now"), QStringLiteral("2026-12-07 12:00")});
        QCOMPARE(run.exitCode, 0);
        QCOMPARE(run.out,
                 QStringLiteral("Alle 2026-12-07 12:00 il programma non ha niente da inviare.\n"));
        QCOMPARE(uploads.load(), 3);

        // A named sign: its port from the signs file, its own line in the record.
        QVERIFY(QDir(m_dir.path()).mkpath(QStringLiteral("config/Velora/Velora")));
        write(QStringLiteral("config/Velora/Velora/insegne.txt"),
              "Porta del negozio\t" + port.toUtf8() + "\t3\tin uso\n");
        const auto bySign = [&](const char* name) {
            return cli({QStringLiteral("send"), QStringLiteral("--plan"), plan,
                        QStringLiteral("--sign"), QString::fromUtf8(name), QStringLiteral("--now"),
                        QStringLiteral("2026-12-07 13:10")});
        };
        run = bySign("porta del negozio");
        QCOMPARE(run.exitCode, 0);
        QCOMPARE(uploads.load(), 4);
        QVERIFY(record().contains("\ninsegna Porta del negozio\t"));
        QCOMPARE(bySign("Porta del negozio").exitCode, 0);
        QCOMPARE(uploads.load(), 4);
        run = bySign("Banco");
        QCOMPARE(run.exitCode, 64);
        QVERIFY2(run.err.startsWith(QStringLiteral("Non c'\u00E8 un'insegna di nome")),
                 qPrintable(run.err));
    }
};

}  // namespace velora

QTEST_GUILESS_MAIN(velora::PlanCliTest)
#include "plan_cli_test.moc"
