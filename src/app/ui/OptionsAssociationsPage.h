#pragma once

#include "app/ui/OptionsPage.h"

namespace quillet {

// The page File Associations for the given context.
TOptionsPageWidget* NewAssociationsPage(const TOptionsContext& context, QWidget* parent);

} // namespace quillet
