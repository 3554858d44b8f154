#pragma once

// moru's commands that live in files of their own. Each prints what it found and returns the
// program's exit status.

#include <string>
#include <vector>

namespace moru::host {

// The reactions of one databank ("DB.BANK") among `compounds`, written as identifiers of `type`;
// `widen` takes only reactions that can run and widens the compounds by their species.
int ShowReactions(const std::string& reference, const std::vector<std::string>& compounds, const std::string& type,
                  bool widen);

} // namespace moru::host
