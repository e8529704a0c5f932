#pragma once

namespace quillet {

class TProjectManager;
class TQuilletMainForm;

// Binds Add To-Do Item, To-Do List and Project To-Do List of the main window.
void BindToDoCommands(TQuilletMainForm& form, TProjectManager& projects);

} // namespace quillet
