#pragma once

#include <functional>
#include <string>
#include <vector>

namespace velora {

// A serial port as the system lists it. Texts in UTF-8.
struct PortInfo {
    std::string name;          // what the port is opened by: "ttyUSB0", "COM3"
    std::string description;   // the product, as the device says it
    std::string manufacturer;  // its maker
    std::string stableName;    // a name that survives replugging (/dev/serial/by-id/...), if any
};

// The ports offered in the transmission window. Read again while the window is open, so that an
// adapter plugged in appears and one pulled out is marked as gone (it stays in the list, so that
// the user sees what happened to the port in use). The network addresses the user opened follow
// the serial ports, marked as such.
class PortFinder {
public:
    using Lister = std::function<std::vector<PortInfo>()>;

    struct Entry {
        std::string name;
        std::string label;  // UTF-8: the name, then what the system says of it
        bool present = true;
        bool network = false;  // a socket:// or rfc2217:// address

        bool operator==(const Entry&) const = default;
    };

    explicit PortFinder(Lister lister) : m_lister(std::move(lister)) {}

    // Reads the system's list again; true when what is offered changed.
    bool refresh();
    const std::vector<Entry>& entries() const { return m_entries; }

    // The network addresses offered, most recent first; names that are not network addresses,
    // and repeats, are left out, and at most kNetworkPortsKept are kept. Read by refresh().
    void setNetworkPorts(const std::vector<std::string>& names);
    const std::vector<std::string>& networkPorts() const { return m_network; }

    static std::string labelFor(const PortInfo& info);
    static std::string networkLabel(const std::string& name) { return name + " (rete)"; }

    static constexpr std::size_t kNetworkPortsKept = 5;
    // The list after `name` opened: a network address goes first, once; any other name changes
    // nothing.
    static std::vector<std::string> rememberNetworkPort(std::vector<std::string> used,
                                                        const std::string& name);

private:
    Lister m_lister;
    std::vector<Entry> m_entries;
    std::vector<std::string> m_network;
};

}  // namespace velora
