#include "recent_files.h"

#include <algorithm>

#include "core/windows1252.h"

namespace velora {

RecentFiles::RecentFiles(FileMenu& fileMenu, Services& services)
    : m_fileMenu(fileMenu), m_services(services) {}

void RecentFiles::setPaths(const std::vector<std::string>& paths) {
    m_paths.clear();
    for (const std::string& path : paths) {
        if (m_paths.size() == kLength) break;
        if (path.empty() || std::ranges::find(m_paths, path) != m_paths.end()) continue;
        m_paths.push_back(path);
    }
}

void RecentFiles::remember(const std::string& path) {
    if (path.empty()) return;
    if (!m_paths.empty() && m_paths.front() == path) return;
    std::erase(m_paths, path);
    m_paths.insert(m_paths.begin(), path);
    if (m_paths.size() > kLength) m_paths.resize(kLength);
    changed();
}

void RecentFiles::choose(const std::string& path) {
    if (!m_services.files.exists(path)) {
        std::erase(m_paths, path);
        changed();
        // Paths are UTF-8; messages are the program's single-byte texts.
        m_services.dialogs.message(windows1252::fromUtf8("Il file " + path +
                                                         " non c'è più: lo tolgo dai file "
                                                         "recenti."));
        return;
    }
    // A file that opens comes to the head of the list through the File menu's onFileUsed.
    m_fileMenu.openFile(path);
}

void RecentFiles::changed() {
    if (onChanged) onChanged();
}

}  // namespace velora
