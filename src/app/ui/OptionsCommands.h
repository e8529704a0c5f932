#pragma once

#include "app/ui/OptionsPage.h"

namespace quillet {

// Binds ConfigureOptions, ConfigureFileAssociations and ToolsConfigureActions
// of the main window to the options dialog opened on the matching page, and
// ViewCustomize to the Customize Toolbars dialog. The
// context is copied; what it points to must outlive the main window.
void BindOptionsCommands(TQuilletMainForm& form, const TOptionsContext& context);

} // namespace quillet
