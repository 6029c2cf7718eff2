#pragma once

#include <string>
#include <vector>

#include "core/program.h"

namespace velora::testing {

// Records the calls instead of ending anything.
class FakeProgram : public Program {
public:
    int endCalls = 0;
    bool browserAvailable = true;  // test control
    std::vector<std::string> openedPages;

    void end() override { ++endCalls; }
    bool openWebPage(const std::string& url) override {
        if (!browserAvailable) return false;
        openedPages.push_back(url);
        return true;
    }
};

}  // namespace velora::testing
