#pragma once

#include <string>

namespace velora {

// The running program as a whole.
class Program {
public:
    virtual ~Program() = default;

    // Ends the program at once: no further handler runs and nothing is saved. The serial port is
    // released. Does not return in the desktop program; test doubles record the call and return.
    virtual void end() = 0;

    // Opens a web page in the desktop's browser; false when no browser could be started.
    virtual bool openWebPage(const std::string& url) = 0;
};

}  // namespace velora
