#pragma once

#include <string>

namespace velora {

// Where the program keeps what it remembers, for the desktop program and velora-cli alike, so
// that both read and write the same files.

// Names the running program as the desktop program names itself: Qt's configuration folder and
// settings follow the names. velora-cli calls it before it looks for either.
void useProgramNames();

// The user's configuration folder of the program; empty when the system has none.
std::string configFolder();

// BASE.dat: in the folder the program is started from when it is there, as installations have
// always kept it; otherwise in the configuration folder (a program started from a desktop menu
// has no useful folder of its own).
std::string baseDatLocation();

// The file of the named signs, in the configuration folder; empty when there is none.
std::string signsFileLocation();

// The settings key the transmission window keeps the port it last opened under.
inline constexpr const char* kRememberedPortKey = "link/port";

// The port the transmission window last opened; before it ever opened one, the system's first
// port (looked for only then: finding the system's ports takes a while).
std::string rememberedPort();

}  // namespace velora
