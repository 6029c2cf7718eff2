#pragma once

#include <functional>
#include <memory>
#include <string>

#include <QApplication>
#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QString>
#include <QTemporaryDir>
#include <QTimer>

#include "application.h"

namespace velora::testing {

// The start-up's counting loop as if it took 40 ms, without timing this machine.
inline LoopTiming fortyMillisecondLoop() {
    return LoopTiming{0, 0.04};
}

// The desktop program as main() builds it, with the real Qt services, run in a temporary folder
// of its own that holds BASE.dat. Tests set up what they need, then start() shows the editor.
struct StartedApplication {
    QTemporaryDir folder;
    QString previousFolder = QDir::currentPath();
    std::unique_ptr<Application> app;

    explicit StartedApplication(const QByteArray& settings = "18\r\n") {
        QDir::setCurrent(folder.path());
        QFile base(QStringLiteral("BASE.dat"));
        if (base.open(QIODevice::WriteOnly)) base.write(settings);
    }
    ~StartedApplication() {
        app.reset();
        QDir::setCurrent(previousFolder);
    }
    StartedApplication(const StartedApplication&) = delete;
    StartedApplication& operator=(const StartedApplication&) = delete;

    void start(const std::string& file = {}) {
        app = std::make_unique<Application>(fortyMillisecondLoop);
        app->start(file);
    }
    QString path(const char* name) const { return folder.filePath(QString::fromLatin1(name)); }
};

// Answers the next modal dialog of type D once it is up; `done` tells whether it was.
template <typename D>
void answerNextDialog(std::function<void(D*)> answer, bool* done) {
    auto* poll = new QTimer;
    QObject::connect(poll, &QTimer::timeout, poll, [poll, answer, done] {
        auto* dialog = qobject_cast<D*>(QApplication::activeModalWidget());
        if (!dialog || !dialog->isVisible()) return;
        poll->stop();
        poll->deleteLater();
        *done = true;
        answer(dialog);
    });
    poll->start(10);
}

}  // namespace velora::testing
