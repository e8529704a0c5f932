#pragma once

#include "app/OptionsCatalog.h"

namespace quillet {

// A document window that shows binary documents takes the hex editor
// settings through this after the options dialog stored them. The options
// dialog finds such windows among the main window's document windows.
class IHexSettingsTarget {
public:
    virtual ~IHexSettingsTarget() = default;
    virtual void ApplyHexOptions(const THexOptions& options) = 0;
};

} // namespace quillet
