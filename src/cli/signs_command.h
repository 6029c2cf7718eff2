#pragma once

#include <optional>
#include <string>
#include <vector>

#include "signs/sign_list.h"

namespace velora {

// velora-cli signs list | add NOME --port PORTA --boards N | remove NOME: the named signs of the
// program, in the same file of the configuration folder.
int runSigns(const std::vector<std::string>& args);

// The program's signs, read as the program reads them; nothing, with the reason on standard
// error, when they cannot be used (a damaged signs file, no configuration folder).
std::optional<SignList> programSigns();

// The sign of that name among the program's, for --sign; nothing, with the reason on standard
// error and the exit code in `exitCode`, when the signs cannot be read or there is no such sign.
std::optional<Sign> namedSign(const std::string& name, int& exitCode);

}  // namespace velora
