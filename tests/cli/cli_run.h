#pragma once

#include <QProcess>
#include <QProcessEnvironment>
#include <QString>
#include <QStringList>

namespace velora::testing {

// What a run of velora-cli printed, and how it ended (-1 when it had to be stopped).
struct CliRun {
    int exitCode;
    QString out;
    QString err;
};

// Runs velora-cli (VELORA_CLI) with `args` in `environment`, from `folder` when one is given,
// its standard output into `outputFile` when one is given. A run over 15 s is stopped.
inline CliRun runCli(
    const QStringList& args,
    const QProcessEnvironment& environment = QProcessEnvironment::systemEnvironment(),
    const QString& folder = {}, const QString& outputFile = {}) {
    QProcess process;
    process.setProcessEnvironment(environment);
    if (!folder.isEmpty()) process.setWorkingDirectory(folder);
    if (!outputFile.isEmpty()) process.setStandardOutputFile(outputFile);
    process.start(QStringLiteral(VELORA_CLI), args);
    if (!process.waitForFinished(15000)) {
        process.kill();
        process.waitForFinished();
        return {-1, {}, QStringLiteral("timed out")};
    }
    return {process.exitCode(), QString::fromUtf8(process.readAllStandardOutput()),
            QString::fromUtf8(process.readAllStandardError())};
}

}  // namespace velora::testing
