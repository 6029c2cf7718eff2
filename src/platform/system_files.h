#pragma once

#include <string>
#include <string_view>
#include <system_error>
#include <vector>

#include "core/files.h"

namespace velora {

// Writes `bytes` as the whole content of `path`: into a new file beside it, every write and the
// flush to the disk checked, which takes the name only once all of it is there. On any failure
// (a full disk, a size limit, no permission) the file that was there stays as it was and nothing
// else is left behind. A name that is a symbolic link becomes a file of its own: what the link
// named is not written through. Folders on the way are made. Returns what failed, or nothing.
std::error_code writeFileWhole(const std::string& path, std::string_view bytes);

// The names in `folder`, as the system's bytes, without "." and ".."; empty when it cannot be
// listed.
std::vector<std::string> folderNames(const std::string& folder);

// Removes the file `path` (not a folder); false when it could not be removed.
bool removeFile(const std::string& path);

// The files service on the system's own calls. Names are the system's bytes, passed on as they
// are: a name that is not UTF-8 still names its file (on Windows, names are UTF-8 and travel to
// the system as UTF-16).
class SystemFiles : public Files {
public:
    std::optional<std::string> read(const std::string& path,
                                    std::size_t maxBytes = kWholeFile) const override;
    bool replace(const std::string& path, const std::string& bytes) override;
    bool exists(const std::string& path) const override;
    Kind kind(const std::string& path) const override;
};

}  // namespace velora
