// Takes the pictures of the four windows and the save dialog shown in the README: runs the real
// program in a folder of its own, composes a short sequence, opens each window as a user does and
// saves what it draws. Usage: velora-screenshots <output folder>   (run it under Xvfb:
// scripts/screenshots.sh)

#include <iostream>

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileDialog>
#include <QPushButton>
#include <QSettings>
#include <QTemporaryDir>
#include <QTimer>

#include "application.h"
#include "core/windows1252.h"
#include "link/serial_port.h"
#include "platform/calibration.h"
#include "platform/system_clock.h"

namespace {

void settle(int milliseconds) {
    QElapsedTimer timer;
    timer.start();
    while (timer.elapsed() < milliseconds) QApplication::processEvents(QEventLoop::AllEvents, 10);
}

bool save(QWidget* window, const QDir& folder, const char* name) {
    window->activateWindow();
    settle(300);
    const QString path = folder.filePath(QString::fromLatin1(name));
    if (!window->grab().save(path)) {
        std::cerr << "cannot write " << path.toStdString() << '\n';
        return false;
    }
    std::cout << path.toStdString() << '\n';
    return true;
}

// Saves the picture of the next modal dialog of type D once it is up, then closes it.
template <typename D>
void saveNextDialog(const QDir& folder, const char* name, bool* saved) {
    auto* poll = new QTimer;
    QObject::connect(poll, &QTimer::timeout, poll, [poll, folder, name, saved] {
        auto* dialog = qobject_cast<D*>(QApplication::activeModalWidget());
        if (!dialog || !dialog->isVisible()) return;
        poll->stop();
        poll->deleteLater();
        *saved = save(dialog, folder, name);
        dialog->reject();
    });
    poll->start(50);
}

}  // namespace

int main(int argc, char* argv[]) {
    QApplication qtApp(argc, argv);
    if (argc != 2) {
        std::cerr << "usage: velora-screenshots <output folder>\n";
        return 2;
    }
    const QDir output(QDir(QString::fromLocal8Bit(argv[1])).absolutePath());
    QDir().mkpath(output.path());

    // The program reads BASE.dat from its folder and remembers the port in its settings: give it
    // a folder and settings of its own, so that the user's are neither read nor changed.
    QTemporaryDir folder;
    QDir::setCurrent(folder.path());
    QSettings::setDefaultFormat(QSettings::IniFormat);
    QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, folder.path());
    QApplication::setApplicationName(QStringLiteral("Velora"));
    QApplication::setOrganizationName(QStringLiteral("Velora"));
    QSettings().setValue(QStringLiteral("link/port"),
                         QString::fromLatin1(velora::kVirtualSignPort));
    {
        QFile base(QStringLiteral("BASE.dat"));
        if (!base.open(QIODevice::WriteOnly)) return 1;
        base.write(" 18 \r\n");
    }

    velora::Application app([] { return velora::timeCountingLoop(velora::SystemClock()); });
    velora::EditorView& editorView = app.start();
    editorView.resize(editorView.sizeHint());
    velora::EditorWindow& editor = editorView.model();
    const auto latin = [](const char* utf8) { return velora::windows1252::fromUtf8(utf8); };

    // Two stored pages, and a third being composed with a scrolling second row, two of whose
    // characters the sign shows otherwise.
    editorView.binder().run([&] {
        editor.Text1.setText(latin("  BUONGIORNO  "));
        editor.Text2.setText(latin("  BENVENUTI   "));
        editor.cmdinserisci.click();
        editor.Text1.setText(latin("SALDI"));
        editor.Text2.setText(latin("-30% SU TUTTO"));
        editor.Command2.click();
        editor.cmdinserisci.click();
        editor.Text1.setText(latin("ORARIO"));
        editor.Command2.click();
        editor.Scor2.setValue(1);
    });
    settle(200);
    editorView.binder().run(
        [&] { editor.Text2.setText(latin("Aperti dal lunedì al sabato, 9-13 e 15-19 • 2 €")); });
    settle(200);
    bool saved = save(&editorView, output, "editor.png");

    // The transmission window, connected to the sign inside the program.
    editorView.findChild<QPushButton*>(QStringLiteral("Command1"))->click();
    settle(300);
    velora::TransmissionView* transmission = app.transmissionView();
    transmission->findChild<QPushButton*>(QStringLiteral("Command7"))->click();
    settle(800);
    // The upload, so that the virtual sign shows the first page it received.
    transmission->findChild<QPushButton*>(QStringLiteral("CMDINVIO"))->click();
    settle(1200);
    saved = save(transmission, output, "transmission.png") && saved;

    editorView.action("Salv_Impost")->trigger();
    settle(300);
    saved = save(app.settings(), output, "settings.png") && saved;

    editorView.action("mnueHelp")->trigger();
    settle(300);
    saved = app.info() && save(app.info(), output, "information.png") && saved;

    // Qt's own dialogs speak Italian with the program: "salva con Nome" over a folder that
    // holds a saved sequence.
    editorView.binder().run([&] { app.state().CurrentFilePath = "negozio.inf"; });
    editorView.action("mnunextSalva")->trigger();
    bool dialogSaved = false;
    saveNextDialog<QFileDialog>(output, "save-as.png", &dialogSaved);
    editorView.activateWindow();
    settle(300);
    editorView.action("mnuNom")->trigger();
    return saved && dialogSaved ? 0 : 1;
}
