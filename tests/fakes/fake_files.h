#pragma once

#include <map>
#include <set>
#include <string>

#include "core/files.h"

namespace velora::testing {

// Files in memory. A folder is any path that a stored file's path runs through. Paths in
// `failing` cannot be read or written; paths in `others` are devices or pipes.
class FakeFiles : public Files {
public:
    std::map<std::string, std::string> contents;  // test control and result
    std::set<std::string> failing;                // test control
    std::set<std::string> others;                 // test control

    std::optional<std::string> read(const std::string& path, std::size_t maxBytes) const override {
        if (failing.count(path)) return std::nullopt;
        const auto found = contents.find(path);
        if (found == contents.end()) return std::nullopt;
        return found->second.substr(0, maxBytes);
    }
    bool replace(const std::string& path, const std::string& bytes) override {
        if (failing.count(path) || kind(path) == Kind::Folder || others.count(path)) return false;
        contents[path] = bytes;
        return true;
    }
    bool exists(const std::string& path) const override { return contents.count(path) > 0; }
    Kind kind(const std::string& path) const override {
        if (contents.count(path)) return Kind::File;
        if (others.count(path)) return Kind::Other;
        const std::string inside = path + "/";
        const auto next = contents.lower_bound(inside);
        if (next != contents.end() && next->first.compare(0, inside.size(), inside) == 0)
            return Kind::Folder;
        return Kind::Missing;
    }
};

}  // namespace velora::testing
