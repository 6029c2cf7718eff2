#include <gtest/gtest.h>

#include <memory>

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QTcpServer>
#include <QTcpSocket>

#include "core/run_time_error.h"
#include "fakes/fake_clock.h"
#include "link_ports.h"
#include "network_port_maker.h"

namespace velora::testing {
namespace {

// The network port as the desktop program has it: from its module, made the first time a
// network address is chosen, its bytes announced through the link's signal.
struct ModuleLink {
    FakeClock clock;
    LinkPorts ports;
    int announced = 0;

    explicit ModuleLink(const std::string& module) : ports(clock, networkPortModule({module})) {
        QObject::connect(&ports, &LinkPorts::received, &ports, [this] { ++announced; });
    }
    void choose(const std::string& name) {
        ports.chosen.setCommPort(name);
        ports.chosen.setSettings("9600,N,8,1");
        ports.chosen.setInputLen(0);
    }
};

bool waitFor(const std::function<bool()>& done) {
    QElapsedTimer elapsed;
    elapsed.start();
    while (!done() && elapsed.elapsed() < 2000)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
    return done();
}

TEST(NetworkModuleTest, PortIsMadeWhenANetworkAddressIsChosenAndCarriesBytesBothWays) {
    QTcpServer farEnd;
    ASSERT_TRUE(farEnd.listen(QHostAddress::LocalHost));
    ModuleLink link(VELORA_NETWORK_MODULE_FILE);

    // Closing at the end of the program, and the other ports, leave it unmade.
    link.ports.close();
    link.choose(kVirtualSignPort);
    EXPECT_FALSE(link.ports.network.made());

    link.choose("socket://127.0.0.1:" + std::to_string(farEnd.serverPort()));
    EXPECT_TRUE(link.ports.network.made());
    link.ports.chosen.setPortOpen(true);
    EXPECT_TRUE(link.ports.chosen.portOpen());
    ASSERT_TRUE(farEnd.waitForNewConnection(2000));
    std::unique_ptr<QTcpSocket> line(farEnd.nextPendingConnection());

    link.ports.chosen.output(0x01);
    ASSERT_TRUE(waitFor([&] { return line->bytesAvailable() > 0 || line->waitForReadyRead(20); }));
    EXPECT_EQ(line->readAll(), QByteArray("\x01", 1));

    line->write(QByteArray("\xC8\x02", 2));
    line->flush();
    ASSERT_TRUE(waitFor([&] { return link.ports.chosen.inBufferCount() == 2; }));
    EXPECT_GT(link.announced, 0);
    EXPECT_EQ(link.ports.chosen.input(), "\xC8\x02");
    link.ports.close();
    EXPECT_FALSE(link.ports.chosen.portOpen());
}

TEST(NetworkModuleTest, WithoutTheModuleANetworkAddressFailsToOpenAndSaysWhy) {
    ModuleLink link("/nonexistent/velora-network.so");
    link.choose("socket://127.0.0.1:9");
    try {
        link.ports.chosen.setPortOpen(true);
        ADD_FAILURE() << "opened";
    } catch (const RunTimeError& error) {
        EXPECT_EQ(error.code(), kPortOpenFailed);
    }
    EXPECT_FALSE(link.ports.chosen.portOpen());
    const std::string why = link.ports.chosen.errorText();
    EXPECT_EQ(why.rfind("porte di rete non disponibili: ", 0), 0u) << why;
    // The settings are checked as every port checks them.
    try {
        link.ports.chosen.setSettings("9600,X,8,1");
        ADD_FAILURE() << "accepted";
    } catch (const RunTimeError& error) {
        EXPECT_EQ(error.code(), kInvalidPropertyValue);
    }
}

}  // namespace
}  // namespace velora::testing

int main(int argc, char* argv[]) {
    QCoreApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
