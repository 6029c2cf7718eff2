#include "port_finder.h"

#include <algorithm>

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

bool PortFinder::refresh() {
    const std::vector<PortInfo> listed = m_lister ? m_lister() : std::vector<PortInfo>{};
    std::vector<Entry> next;
    for (const PortInfo& info : listed) next.push_back({info.name, labelFor(info), true});
    for (const Entry& old : m_entries) {
        const bool stillThere = std::any_of(next.begin(), next.end(),
                                            [&](const Entry& e) { return e.name == old.name; });
        if (!stillThere) next.push_back({old.name, old.name + " (scollegata)", false});
    }
    if (next == m_entries) return false;
    m_entries = std::move(next);
    return true;
}

}  // namespace velora
