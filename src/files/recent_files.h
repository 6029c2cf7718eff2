#pragma once

#include <cstddef>
#include <functional>
#include <string>
#include <vector>

#include "core/services.h"
#include "file_menu.h"

namespace velora {

// The sequence files opened or saved last, newest first, as File -> "File recenti" lists them.
// Where the list is kept between runs is the caller's: it hands the list in with setPaths() and
// hears of every change through onChanged.
class RecentFiles {
public:
    static constexpr std::size_t kLength = 8;

    RecentFiles(FileMenu& fileMenu, Services& services);
    RecentFiles(const RecentFiles&) = delete;
    RecentFiles& operator=(const RecentFiles&) = delete;

    const std::vector<std::string>& paths() const { return m_paths; }

    // The list as it was kept; empty names and repeats are dropped, and only the first kLength
    // are taken. Does not call onChanged.
    void setPaths(const std::vector<std::string>& paths);

    // Puts `path` at the head of the list, dropping the oldest beyond kLength.
    void remember(const std::string& path);

    // Opens the file chosen from the list. One that is gone is taken off the list, with a
    // message; one that is there but cannot be read stays, and "Apri"'s message says why.
    void choose(const std::string& path);

    std::function<void()> onChanged;

private:
    void changed();

    FileMenu& m_fileMenu;
    Services& m_services;
    std::vector<std::string> m_paths;
};

}  // namespace velora
