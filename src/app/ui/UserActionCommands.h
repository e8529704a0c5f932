#pragma once

#include "app/UserActionSettings.h"

#include <functional>

namespace quillet {

class TCommandActions;
class TQuilletMainForm;
class TSettingsStore;

// Puts the user actions' captions on the commands ToolsUserAction1 to 14: an
// action's Caption when it has one, else "User Action n" from the translated
// template of ToolsUserAction; the hint is the same text. Running the actions
// is not built yet, so the commands stay as hidden as their table entry
// makes them until something binds them.
void ApplyUserActionCaptions(TCommandActions& actions, const TUserActionList& list);

// Reads the actions from the store and applies their captions now and after
// every language change of the window. Returns the function that reads and
// applies them again (after the options dialog has stored the actions).
std::function<void()> BindUserActionCaptions(TQuilletMainForm& form, TSettingsStore& store);

} // namespace quillet
