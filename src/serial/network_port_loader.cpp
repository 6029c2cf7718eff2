#include <utility>

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QLibrary>
#include <QStringList>

#include "core/run_time_error.h"
#include "network_port_maker.h"

namespace velora {
namespace {

// Stands in for the network port when its module cannot be loaded: opening fails, with the
// reason as the port's error text.
class MissingNetworkPort : public SerialPort {
public:
    explicit MissingNetworkPort(std::string why) : m_why(std::move(why)) {}

    void setCommPort(const std::string& name) override { m_name = name; }
    const std::string& commPort() const override { return m_name; }
    void setSettings(const std::string& settings) override {
        if (!parsePortSettings(settings)) throw RunTimeError(kInvalidPropertyValue);
    }
    void setInputLen(int) override {}
    void setPortOpen(bool open) override {
        if (!open) return;
        m_error = m_why;
        throw RunTimeError(kPortOpenFailed);
    }
    bool portOpen() const override { return false; }
    void output(std::uint8_t) override { throw RunTimeError(kPortNotOpen); }
    int inBufferCount() const override { return 0; }
    std::string input() override { return {}; }
    void setRThreshold(int) override {}
    std::string errorText() const override { return m_error; }

private:
    std::string m_why;
    std::string m_name;
    std::string m_error;
};

// The module's one entry: a new network port telling `events`.
using Entry = SerialPort* (*)(NetworkPortEvents*);

struct Module {
    std::vector<std::string> candidates;
    bool tried = false;
    Entry entry = nullptr;
    std::string why;
    // Never unloaded (QLibrary does not unload when it goes): the ports it made live on.
    QLibrary library;

    void load() {
        tried = true;
        QStringList failures;
        for (const std::string& candidate : candidates) {
            library.setFileName(QString::fromStdString(candidate));
            if (library.load()) {
                entry = reinterpret_cast<Entry>(library.resolve("veloraNetworkPort"));
                if (entry) return;
            }
            failures << library.errorString();
        }
        why = "porte di rete non disponibili: " + failures.join(QStringLiteral("; ")).toStdString();
    }
};

}  // namespace

NetworkPortMaker networkPortModule(std::vector<std::string> candidates) {
    auto module = std::make_shared<Module>();
    module->candidates = std::move(candidates);
    return [module](NetworkPortEvents events) -> std::unique_ptr<SerialPort> {
        if (!module->tried) module->load();
        if (!module->entry) return std::make_unique<MissingNetworkPort>(module->why);
        return std::unique_ptr<SerialPort>(module->entry(&events));
    };
}

NetworkPortMaker networkPortFromModule() {
#ifdef VELORA_NETWORK_MODULE
    // Where the installation puts it, relative to the program; then the program's own folder,
    // where the build leaves it.
    const QDir programFolder(QCoreApplication::applicationDirPath());
    const QString installed = QString::fromUtf8(VELORA_NETWORK_MODULE);
    return networkPortModule(
        {programFolder.filePath(installed).toStdString(),
         programFolder.filePath(QFileInfo(installed).fileName()).toStdString()});
#else
    return &linkedNetworkPort;
#endif
}

}  // namespace velora
