#pragma once

#include "core/files.h"

namespace velora {

// Files through QFile; replacing goes through QSaveFile, so a failed write leaves the old file.
class QtFiles : public Files {
public:
    std::optional<std::string> read(const std::string& path, std::size_t maxBytes) const override;
    bool replace(const std::string& path, const std::string& bytes) override;
    bool exists(const std::string& path) const override;
};

}  // namespace velora
