#pragma once

#include <QObject>

namespace quillet {

// Ends the event loop once a text view has painted its first screen, so that a
// script can time a whole start (command line to a painted document). Installed
// on the application when QUILLET_EXIT_AFTER_PAINT is set.
class TExitAfterPaint : public QObject {
public:
    using QObject::QObject;
    // Installs the watcher when the environment asks for it.
    static void InstallWhenAsked();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    bool m_quitting = false;
};

} // namespace quillet
