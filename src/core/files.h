#pragma once

#include <cstddef>
#include <optional>
#include <string>

namespace velora {

// The file system as the model sees it. Paths and contents are bytes.
class Files {
public:
    virtual ~Files() = default;

    // The file's bytes, at most `maxBytes` of them from its start; nothing when it cannot be read.
    virtual std::optional<std::string> read(const std::string& path,
                                            std::size_t maxBytes = kWholeFile) const = 0;

    // Replaces the file's contents as a whole: either the new contents are in place or the file
    // that was there is left untouched. Returns false on failure.
    virtual bool replace(const std::string& path, const std::string& bytes) = 0;

    virtual bool exists(const std::string& path) const = 0;

    static constexpr std::size_t kWholeFile = static_cast<std::size_t>(-1);
};

}  // namespace velora
