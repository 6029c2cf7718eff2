#pragma once

#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "signs/sign_list.h"

namespace velora {

// `velora-cli plan PIANO [--now "AAAA-MM-GG HH:MM"] [--systemd[=service|=timer]]`: what the plan
// has due now and its next change, or the systemd units that run `send --plan` every 5 minutes.
int runPlan(const std::vector<std::string>& args);

// Sends one sequence file to `port` as `velora-cli send` does, with its exit code; `sign` is the
// named sign that port belongs to, whose width the sequence must have.
using SendFile = std::function<int(const std::string& file, const std::string& port,
                                   const std::optional<Sign>& sign)>;

// `velora-cli send --plan PIANO [--now ...] (--sign NAME | --port P) [--force]`: the sequence that
// is due, unless the sign already confirmed that very sequence. `args` follow the command's name.
int runSendPlan(const std::vector<std::string>& args, const SendFile& sendFile);

}  // namespace velora
