#pragma once

#include <string>

namespace quillet {

class TSettingsStore;

// What the main window reads from [Global] at start. Numbers are clamped to
// their valid range here, so a hand-edited value cannot reach the code.
struct TGlobalOptions {
    std::string language; // language file name, empty: built-in English
    bool multipleInstance = false; // let a later start run beside this one
    bool documentTabs = true; // a document tab bar is chosen
    bool documentTabsPos = true; // true: the top bar, false: the bottom bar
    int onStartup = 1; // 0 nothing, 1 new, 2 new binary, 3 open last
    bool minimizeToSysTray = false;
    bool hide1Tabs = false;
    bool dontOpenMultiple = true;
    bool useEscToExit = false;
};

enum class TStartupAction { DoNothing = 0, CreateNew = 1, CreateNewBinary = 2, OpenLast = 3 };

TGlobalOptions ReadGlobalOptions(TSettingsStore& store);

} // namespace quillet
