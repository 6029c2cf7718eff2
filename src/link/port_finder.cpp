#include "port_finder.h"

#include <algorithm>

#include "network_address.h"

namespace velora {

std::string PortFinder::labelFor(const PortInfo& info) {
    std::string said = info.manufacturer;
    // Many adapters repeat their maker in the product name.
    if (!info.description.empty() && info.description.find(info.manufacturer) == std::string::npos)
        said += (said.empty() ? "" : " ") + info.description;
    else if (!info.description.empty())
        said = info.description;
    std::string label = info.name;
    if (!said.empty()) label += " \u2013 " + said;
    if (!info.stableName.empty()) label += " (" + info.stableName + ")";
    return label;
}

void PortFinder::setNetworkPorts(const std::vector<std::string>& names) {
    m_network.clear();
    for (const std::string& name : names) {
        if (m_network.size() == kNetworkPortsKept) break;
        if (isNetworkPortName(name) &&
            std::find(m_network.begin(), m_network.end(), name) == m_network.end())
            m_network.push_back(name);
    }
}

std::vector<std::string> PortFinder::rememberNetworkPort(std::vector<std::string> used,
                                                         const std::string& name) {
    if (!isNetworkPortName(name)) return used;
    used.erase(std::remove(used.begin(), used.end(), name), used.end());
    used.insert(used.begin(), name);
    if (used.size() > kNetworkPortsKept) used.resize(kNetworkPortsKept);
    return used;
}

bool PortFinder::refresh() {
    const std::vector<PortInfo> listed = m_lister ? m_lister() : std::vector<PortInfo>{};
    std::vector<Entry> next;
    for (const PortInfo& info : listed) next.push_back({info.name, labelFor(info), true});
    for (const Entry& old : m_entries) {
        if (old.network) continue;
        const bool stillThere = std::any_of(next.begin(), next.end(),
                                            [&](const Entry& e) { return e.name == old.name; });
        if (!stillThere) next.push_back({old.name, old.name + " (scollegata)", false});
    }
    for (const std::string& name : m_network)
        next.push_back({name, networkLabel(name), true, true});
    if (next == m_entries) return false;
    m_entries = std::move(next);
    return true;
}

}  // namespace velora
