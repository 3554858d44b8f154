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
//   type TEXT                         type the text into the control that has the focus
//   key KEY [KEY ...]                 press keys: tab, shift+tab, enter, esc, space, up, down,
//                                     left, right, home, end, pageup, pagedown, delete, f1,
//                                     each optionally ctrl+ or shift+ (ctrl+space)
//   shot NAME                         take a picture of the window as NAME.png
//
// Find-dialog steps are played by the find dialog, click and resize by the NIST dialog. type, key
// and shot act on a real window only; a dialog without windows passes over them.

#include "service/Dialogs.h"

#include <istream>
#include <optional>
#include <string>
#include <vector>

namespace moru::components {

struct ScriptStep {
    std::string verb;
    std::string text;                   // search, type: the text; click: the window title; shot: the name
    std::vector<std::string> arguments; // pick: positions; select: DB.BANK; resize: X and Y; key: keys
    std::int32_t code = 0;              // click
    std::string tabName;                // click
    std::vector<std::optional<std::string>> propNames; // click
    std::vector<service::DialogValue> values;          // click
    int line = 0;
};
using Script = std::vector<ScriptStep>;

// Throws std::invalid_argument naming the line of the first step it cannot read.
Script ParseScript(std::istream& text);

// The script of the file that the environment variable MORU_DIALOG_SCRIPT names, read anew at each
// call; nullopt when it names none. Throws ServiceError for a file it cannot read and
// std::invalid_argument for a step it cannot read.
std::optional<Script> ScriptOfEnvironment();

// The keys a script may press, without modifiers; a key may carry "ctrl+" then "shift+" before it.
const std::vector<std::string>& KeyNames();
bool IsKeyName(const std::string& key);

// "7" is a whole number, "2.5" a number, anything else a text.
service::DialogValue ParseDialogValue(const std::string& token);

} // namespace moru::components
