#pragma once

#include <QGuiApplication>

namespace quillet {

// Shows the busy cursor for the lifetime of the object (long operations).
struct TBusyCursor {
    TBusyCursor() { QGuiApplication::setOverrideCursor(Qt::WaitCursor); }
    ~TBusyCursor() { QGuiApplication::restoreOverrideCursor(); }
    TBusyCursor(const TBusyCursor&) = delete;
    TBusyCursor& operator=(const TBusyCursor&) = delete;
};

} // namespace quillet
