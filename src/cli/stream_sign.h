#pragma once

#include <string>

#include "link/virtual_sign.h"

namespace velora {

// The virtual sign on a line that already exists: a serial device (the far end of a socat pair,
// a cable to another computer), or TCP clients, one at a time, raw or speaking telnet with the
// COM-PORT-OPTION. Each returns an exit code of velora-cli, with the reason on standard error.
int serveSignOnDevice(const std::string& device, VirtualSign& sign);
// `where` is "HOST:PORT", with an IPv6 host in brackets. Prints the address it listens on.
int serveSignOnTcp(const std::string& where, bool telnet, VirtualSign& sign);

}  // namespace velora
