#pragma once

#include <map>
#include <set>
#include <string>

#include "core/files.h"

namespace velora::testing {

// Files in memory. Paths in `failing` cannot be read or written.
class FakeFiles : public Files {
public:
    std::map<std::string, std::string> contents;  // test control and result
    std::set<std::string> failing;                // test control

    std::optional<std::string> read(const std::string& path, std::size_t maxBytes) const override {
        if (failing.count(path)) return std::nullopt;
        const auto found = contents.find(path);
        if (found == contents.end()) return std::nullopt;
        return found->second.substr(0, maxBytes);
    }
    bool replace(const std::string& path, const std::string& bytes) override {
        if (failing.count(path)) return false;
        contents[path] = bytes;
        return true;
    }
    bool exists(const std::string& path) const override { return contents.count(path) > 0; }
};

}  // namespace velora::testing
