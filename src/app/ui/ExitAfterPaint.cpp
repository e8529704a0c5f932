#include "app/ui/ExitAfterPaint.h"

#include "text/ui/TarnMemo.h"

#include <QApplication>
#include <QEvent>
#include <QTimer>

#include <cstdlib>

namespace quillet {

void TExitAfterPaint::InstallWhenAsked()
{
    const char* value = std::getenv("QUILLET_EXIT_AFTER_PAINT");
    if (value == nullptr || *value == '\0') {
        return;
    }
    QApplication* app = qApp;
    app->installEventFilter(new TExitAfterPaint(app));
}

bool TExitAfterPaint::eventFilter(QObject* watched, QEvent* event)
{
    if (!m_quitting && event->type() == QEvent::Paint && qobject_cast<TTarnMemo*>(watched->parent()) != nullptr) {
        // Queued: the paint itself runs first.
        m_quitting = true;
        QTimer::singleShot(0, qApp, &QCoreApplication::quit);
    }
    return QObject::eventFilter(watched, event);
}

} // namespace quillet
