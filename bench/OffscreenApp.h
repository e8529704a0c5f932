#pragma once

#include <QApplication>

#include <cstdlib>

namespace quillet {

// The one QApplication of a widget benchmark, on the offscreen platform unless
// QT_QPA_PLATFORM says otherwise. Kept until the process ends: widgets of
// shared fixtures outlive main().
inline QApplication& OffscreenApp()
{
    static int argc = 1;
    static char name[] = "quillet-bench";
    static char* argv[] = {name, nullptr};
    static QApplication* app = [] {
        setenv("QT_QPA_PLATFORM", "offscreen", 0);
        return new QApplication(argc, argv);
    }();
    return *app;
}

} // namespace quillet
