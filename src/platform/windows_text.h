#pragma once

#include <string>

namespace velora {

// Windows speaks UTF-16 where the program keeps UTF-8: names of files and ports on their way to
// the system, and the system's own texts on their way back. Windows only.
std::wstring wide(const std::string& utf8);
std::string narrow(const std::wstring& text);

}  // namespace velora
