#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <csignal>
#include <filesystem>
#include <string>
#include <vector>

#include <QImage>
#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>

namespace velora {

// velora-cli render: a picture of the sign per page, drawn from what the sign is sent.
class RenderTest : public QObject {
    Q_OBJECT

private:
    static int cli(const QStringList& args, QString* out = nullptr, QString* err = nullptr) {
        QProcess process;
        process.start(QStringLiteral(VELORA_CLI), args);
        if (!process.waitForFinished(15000)) {
            process.kill();
            process.waitForFinished();
            return -1;
        }
        if (out) *out = QString::fromUtf8(process.readAllStandardOutput());
        if (err) *err = QString::fromUtf8(process.readAllStandardError());
        return process.exitCode();
    }

    struct Run {
        int exitCode;
        std::string out;
        std::string err;
    };

    // velora-cli started with `args` as the system's own bytes, which QProcess would pass as
    // UTF-8, and with every file it writes limited to `fileSizeLimit` bytes: writing past the
    // limit fails as it does on a full disk. An end by a signal is 128 + its number.
    static Run cliBytes(const std::vector<std::string>& args,
                        rlim_t fileSizeLimit = RLIM_INFINITY) {
        std::vector<std::string> words{VELORA_CLI};
        words.insert(words.end(), args.begin(), args.end());
        std::vector<char*> argv;
        for (std::string& word : words) argv.push_back(word.data());
        argv.push_back(nullptr);
        int out[2];
        int err[2];
        if (pipe(out) != 0 || pipe(err) != 0) return {-1, {}, "pipe"};
        const pid_t child = fork();
        if (child == 0) {
            dup2(out[1], STDOUT_FILENO);
            dup2(err[1], STDERR_FILENO);
            for (int fd : {out[0], out[1], err[0], err[1]}) close(fd);
            const rlimit limit{fileSizeLimit, fileSizeLimit};
            setrlimit(RLIMIT_FSIZE, &limit);
            // Ignored, the signal of a write past the limit becomes the write's error.
            std::signal(SIGXFSZ, SIG_IGN);
            execv(argv[0], argv.data());
            _exit(127);
        }
        close(out[1]);
        close(err[1]);
        const auto drain = [](int fd) {
            std::string text;
            char buffer[4096];
            for (ssize_t n; (n = read(fd, buffer, sizeof buffer)) > 0;)
                text.append(buffer, static_cast<std::size_t>(n));
            close(fd);
            return text;
        };
        Run run{-1, drain(out[0]), drain(err[0])};
        int status = 0;
        if (child > 0 && waitpid(child, &status, 0) == child)
            run.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
        return run;
    }

    // A path in the test's folder, joined as bytes: `name` is passed to the system unchanged.
    std::string tempPath(const std::string& name) const {
        return m_dir.path().toStdString() + "/" + name;
    }

    QString writeSequence(const QByteArray& bytes) {
        const QString path = m_dir.filePath(QStringLiteral("seq.inf"));
        QFile file(path);
        if (file.open(QIODevice::WriteOnly)) file.write(bytes);
        return path;
    }

    // Whether the dot at (x, y) of the face is lit in a picture of 8 pixels a dot with a margin
    // of one dot: its centre pixel is bright amber.
    static bool lit(const QImage& picture, int x, int y) {
        return qRed(picture.pixel((x + 1) * 8 + 4, (y + 1) * 8 + 4)) > 200;
    }

    QTemporaryDir m_dir;

private Q_SLOTS:
    void writesEveryPageAsAPictureOfTheSign() {
        // Nine characters: two fixed rows "I" and blanks; a big row "@I" whose "@" has no glyph.
        const QString file = writeSequence(
            "2,9\r\n1,\"I        \",5\r\n1,\"         \",5\r\n3,\"@I  \",3\r\n3,\"@I  \",3\r\n");
        const QString out = m_dir.filePath(QStringLiteral("pictures"));
        QString printed;
        QString errors;
        QCOMPARE(
            cli({QStringLiteral("render"), file, QStringLiteral("--out"), out}, &printed, &errors),
            0);
        QCOMPARE(printed.split(QLatin1Char('\n'), Qt::SkipEmptyParts).size(), 2);
        QVERIFY(errors.contains(QStringLiteral("0x40")));

        const QImage first(out + QStringLiteral("/pagina-001.png"));
        QCOMPARE(first.size(), QSize((54 + 2) * 8, (16 + 2) * 8));
        // "I" is a bar in the middle column of the first cell of row 1; row 2 is dark.
        QVERIFY(lit(first, 2, 0));
        QVERIFY(lit(first, 2, 6));
        QVERIFY(!lit(first, 0, 0));
        for (int x = 0; x < 54; ++x) QVERIFY(!lit(first, x, 10));

        const QImage big(out + QStringLiteral("/pagina-002.png"));
        // The "@" cell stays dark; the big "I" stands in the second cell across both rows.
        for (int y = 0; y < 16; ++y)
            for (int x = 0; x < 12; ++x) QVERIFY(!lit(big, x, y));
        QVERIFY(lit(big, 12 + 4, 2));
        QVERIFY(lit(big, 12 + 4, 13));
    }

    void writesOnlyThePageAskedFor() {
        const QString file = writeSequence(
            "2,9\r\n1,\"A        \",5\r\n1,\"B        \",5\r\n2,\"C        \",1\r\n"
            "2,\"scorre\",1\r\n");
        const QString out = m_dir.filePath(QStringLiteral("one"));
        QCOMPARE(cli({QStringLiteral("render"), file, QStringLiteral("--out"), out,
                      QStringLiteral("--page"), QStringLiteral("2")}),
                 0);
        QCOMPARE(QDir(out).entryList(QDir::Files), QStringList{QStringLiteral("pagina-002.png")});

        QString errors;
        QCOMPARE(cli({QStringLiteral("render"), file, QStringLiteral("--out"), out,
                      QStringLiteral("--page"), QStringLiteral("3")},
                     nullptr, &errors),
                 1);
        QVERIFY(errors.contains(QStringLiteral("pagina 3")));
        QCOMPARE(cli({QStringLiteral("render"), file, QStringLiteral("--page"), QStringLiteral("x"),
                      QStringLiteral("--out"), out}),
                 64);
        QCOMPARE(cli({QStringLiteral("render"), file}), 64);
        QCOMPARE(cli({QStringLiteral("render"), m_dir.filePath(QStringLiteral("none.inf")),
                      QStringLiteral("--out"), out}),
                 1);
    }

    // Dump and send refuse a file over 1 MiB; render reads no more than they do.
    void refusesFilesLargerThanTheProgramOpens() {
        QByteArray large = "1,9\r\n1,\"A        \",5\r\n1,\"B        \",5\r\n";
        large.append(QByteArray(1024 * 1024, ' '));
        const std::string out = tempPath("large");
        const Run run = cliBytes({"render", writeSequence(large).toStdString(), "--out", out});
        QCOMPARE(run.exitCode, 1);
        QVERIFY2(run.err.ends_with("\" è troppo grande (oltre 1 MiB).\n"), run.err.c_str());
        QVERIFY(!std::filesystem::exists(out));
    }

    // A full disk: no picture is announced, and the good picture already there stays whole.
    void fullDiskFailsAndKeepsThePictureThere() {
        const QString file = writeSequence("1,9\r\n1,\"A        \",5\r\n1,\"B        \",5\r\n");
        const std::string out = tempPath("full");
        const std::string good = out + "/pagina-001.png";
        QCOMPARE(cliBytes({"render", file.toStdString(), "--out", out}).exitCode, 0);
        QFile picture(QString::fromStdString(good));
        QVERIFY(picture.open(QIODevice::ReadOnly));
        const QByteArray before = picture.readAll();
        picture.close();
        QVERIFY(before.size() > 1024);

        const Run run = cliBytes({"render", file.toStdString(), "--out", out}, 1024);
        QCOMPARE(run.exitCode, 1);
        QVERIFY(run.out.empty());
        QVERIFY2(run.err.find("Impossibile scrivere " + good) != std::string::npos,
                 run.err.c_str());
        QVERIFY(picture.open(QIODevice::ReadOnly));
        QCOMPARE(picture.readAll(), before);
        QCOMPARE(QDir(QString::fromStdString(out)).entryList(QDir::Files | QDir::Hidden),
                 QStringList{QStringLiteral("pagina-001.png")});
    }

    // Folders that cannot be made or entered end the run with a message, not an abort.
    void badOutputFoldersFailWithAMessage() {
        const QString file = writeSequence("1,9\r\n1,\"A        \",5\r\n1,\"B        \",5\r\n");
        std::filesystem::create_directory_symlink(tempPath("loop-b"), tempPath("loop-a"));
        std::filesystem::create_directory_symlink(tempPath("loop-a"), tempPath("loop-b"));
        const std::string plainFile = tempPath("plain");
        QVERIFY(std::filesystem::copy_file(file.toStdString(), plainFile));
        for (const std::string& out :
             {tempPath("") + std::string(300, 'x'), tempPath("loop-a") + "/pictures", plainFile,
              plainFile + "/pictures"}) {
            const Run run = cliBytes({"render", file.toStdString(), "--out", out});
            QCOMPARE(run.exitCode, 1);
            QVERIFY2(run.err.starts_with("Impossibile creare la cartella " + out + ": "),
                     run.err.c_str());
        }
    }

    // A folder named in Latin-1, as older systems name them: the name is the system's bytes.
    void folderNamesAreTheSystemsBytes() {
        const QString file = writeSequence("1,9\r\n1,\"A        \",5\r\n1,\"B        \",5\r\n");
        const QTemporaryDir parent;
        const std::string out = parent.path().toStdString() + "/caf\xe9";
        const Run run = cliBytes({"render", file.toStdString(), "--out", out});
        QCOMPARE(run.exitCode, 0);
        QCOMPARE(run.out, out + "/pagina-001.png\n");
        QVERIFY(std::filesystem::is_regular_file(out + "/pagina-001.png"));
        // And no second folder, named by a decoding of those bytes.
        QCOMPARE(std::distance(std::filesystem::directory_iterator(parent.path().toStdString()),
                               std::filesystem::directory_iterator()),
                 1);
        // QTemporaryDir would decode the name as UTF-8 and miss the folder.
        std::filesystem::remove_all(out);
    }
};

}  // namespace velora

QTEST_GUILESS_MAIN(velora::RenderTest)
#include "render_test.moc"
