#pragma once

namespace velora {

// velora-cli: the upload stream of a sequence file, the link to a sign over a serial port, and
// the virtual sign on a pseudo-terminal, for scripts and for tests of the link.
int runCli(int argc, char* argv[]);

}  // namespace velora
