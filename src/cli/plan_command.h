#pragma once

#include <functional>
#include <string>
#include <vector>

namespace velora {

// `velora-cli plan PIANO [--now "AAAA-MM-GG HH:MM"] [--systemd[=service|=timer]]`: what the plan
// has due now and its next change, or the systemd units that run `send --plan` every 5 minutes.
int runPlan(const std::vector<std::string>& args);

// Sends one sequence file to `port` as `velora-cli send` does, with its exit code.
using SendFile = std::function<int(const std::string& file, const std::string& port)>;

// `velora-cli send --plan PIANO [--now ...] (--sign NAME | --port P) [--force]`: the sequence that
// is due, unless the sign already confirmed that very sequence. `args` follow the command's name.
int runSendPlan(const std::vector<std::string>& args, const SendFile& sendFile);

}  // namespace velora
