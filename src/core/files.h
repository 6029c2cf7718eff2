#pragma once

#include <cstddef>
#include <optional>
#include <string>

namespace velora {

// The file system as the model sees it. Paths and contents are bytes: a path is the system's own
// name of the file, whatever its encoding.
class Files {
public:
    // What a name stands for, so that a failed open can say why.
    enum class Kind {
        Missing,  // nothing of that name
        File,     // a regular file, or a link to one
        Folder,
        Other,  // a device, a named pipe, a socket: nothing to read a sequence from
    };

    virtual ~Files() = default;

    // The file's bytes, at most `maxBytes` of them from its start; nothing when it cannot be read.
    // Only a regular file is read: a named pipe would wait for a writer, a device has no end.
    virtual std::optional<std::string> read(const std::string& path,
                                            std::size_t maxBytes = kWholeFile) const = 0;

    // Replaces the file's contents as a whole: either the new contents are in place or the file
    // that was there is left untouched. Returns false on failure.
    virtual bool replace(const std::string& path, const std::string& bytes) = 0;

    // Whether a regular file of that name exists.
    virtual bool exists(const std::string& path) const = 0;

    virtual Kind kind(const std::string& path) const = 0;

    static constexpr std::size_t kWholeFile = static_cast<std::size_t>(-1);
};

}  // namespace velora
