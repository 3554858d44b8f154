// The dialog component the library uses by default off Windows, and in the contract tests: the
// scripted one, its script read at each creation from the file that the environment variable
// MORU_DIALOG_SCRIPT names (none: the user does nothing and the dialog closes at once).

#include "ScriptedDialogs.h"

namespace moru::service {

std::shared_ptr<IDialogComponent> CreateDefaultDialogComponent()
{
    auto component = std::make_shared<components::ScriptedDialogComponent>();
    component->scriptSource = [] { return components::ScriptOfEnvironment().value_or(components::Script()); };
    return component;
}

} // namespace moru::service
