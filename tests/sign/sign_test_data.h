#pragma once

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

namespace velora::testing {

inline std::string readTestFile(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream bytes;
    bytes << in.rdbuf();
    return bytes.str();
}

inline std::filesystem::path signTestData(const std::string& name) {
    return std::filesystem::path(VELORA_SIGN_TEST_DATA) / name;
}

}  // namespace velora::testing
