#pragma once

#include <string>
#include <vector>

namespace velora {

// velora-cli render FILE.inf --out DIR [--page N]: each page of a sequence as a picture of the
// sign, as it comes up (a scrolling row at its first step). `args` are the words after "render".
int runRender(const std::vector<std::string>& args);

}  // namespace velora
