#pragma once

#include <functional>
#include <vector>

#include "core/program.h"

namespace velora {

// Ends the program and opens web pages with the desktop's default browser.
class QtProgram : public Program {
public:
    // Runs before the program ends, for what must be released (the serial port).
    void atEnd(std::function<void()> release) { m_releases.push_back(std::move(release)); }

    [[noreturn]] void end() override;
    bool openWebPage(const std::string& url) override;

private:
    std::vector<std::function<void()>> m_releases;
};

}  // namespace velora
