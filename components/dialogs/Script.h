#pragma once

// The scripts that play the user of our dialogs. One step a line; "#" starts a comment line.
//
//   search [TEXT]                     search the offered databanks (no TEXT: the initial search string)
//   pick N [N ...]                    put hits of the last search (1 for the first) in the basket
//   add                               add the basket's compounds to the host, and empty the basket
//   help                              ask for help
//   select [DB.BANK ...]              make these offered databanks the selection (none: an empty one)
//   click CODE [| TITLE | TAB | NAMES | VALUES]
//                                     an action in the NIST dialog; NAMES and VALUES separated by
//                                     commas; a value is a whole number, a number, or else a text
//   resize X Y                        the NIST dialog's result form is resized
//
// Find-dialog steps are played by the find dialog, click and resize by the NIST dialog.

#include "service/Dialogs.h"

#include <istream>
#include <string>
#include <vector>

namespace moru::components {

struct ScriptStep {
    std::string verb;
    std::string text;                    // search: the text; click: the window title
    std::vector<std::string> arguments;  // pick: positions; select: DB.BANK; resize: X and Y
    std::int32_t code = 0;               // click
    std::string tabName;                 // click
    std::vector<std::optional<std::string>> propNames; // click
    std::vector<service::DialogValue> values;           // click
    int line = 0;
};
using Script = std::vector<ScriptStep>;

// Throws std::invalid_argument naming the line of the first step it cannot read.
Script ParseScript(std::istream& text);

// "7" is a whole number, "2.5" a number, anything else a text.
service::DialogValue ParseDialogValue(const std::string& token);

} // namespace moru::components
