#include "app/GlobalOptions.h"

#include "core/SettingsStore.h"

namespace quillet {

TGlobalOptions ReadGlobalOptions(TSettingsStore& store)
{
    constexpr const char* kGlobal = "Global";
    TGlobalOptions options;
    options.language = store.ReadString(kGlobal, "Language", "");
    options.multipleInstance = store.ReadBool(kGlobal, "MultipleInstance", false);
    options.documentTabs = store.ReadBool(kGlobal, "DocumentTabs", true);
    options.documentTabsPos = store.ReadBool(kGlobal, "DocumentTabsPos", true);
    options.onStartup = store.ReadIntegerInRange(kGlobal, "OnStartup", 1, 0, 3);
    options.minimizeToSysTray = store.ReadBool(kGlobal, "MinimizeToSysTray", false);
    options.hide1Tabs = store.ReadBool(kGlobal, "Hide1Tabs", false);
    options.dontOpenMultiple = store.ReadBool(kGlobal, "DontOpenMultiple", true);
    options.useEscToExit = store.ReadBool(kGlobal, "UseESCtoExit", false);
    return options;
}

} // namespace quillet
