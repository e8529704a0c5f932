#include "app/ui/DocumentOpeners.h"

#include "app/ui/ShellUi.h"
#include "core/Translations.h"

#include <QTimer>
#include <QWidget>

#include <fstream>

namespace quillet {

TUnavailableDocumentOpener::TUnavailableDocumentOpener(QWidget* parent)
    : QObject(parent)
    , m_parent(parent)
{
}

bool TUnavailableDocumentOpener::CreateMDIChild(const TOpenRequest& request)
{
    const QString name = FromFileName(request.fileName);
    m_refused << name;
    if (m_pending.isEmpty()) {
        QTimer::singleShot(0, this, &TUnavailableDocumentOpener::Report);
    }
    m_pending << name;
    return false;
}

void TUnavailableDocumentOpener::Report()
{
    constexpr int kShown = 10;
    QStringList shown = m_pending.mid(0, kShown);
    if (m_pending.size() > kShown) {
        shown << FromUtf8(LangFormat("AndMore", "... and %d more", {static_cast<int>(m_pending.size() - kShown)}));
    }
    m_pending.clear();
    ShowMessage(m_parent,
        QMessageBox::Information,
        Tr("OpenNotAvailable", "This build of Quillet cannot open documents yet. Not opened:") + QLatin1String("\n\n")
            + shown.join(QLatin1Char('\n')));
}

TLoggingDocumentOpener::TLoggingDocumentOpener(std::string logFile)
    : m_logFile(std::move(logFile))
{
}

bool TLoggingDocumentOpener::CreateMDIChild(const TOpenRequest& request)
{
    std::ofstream out(m_logFile, std::ios::binary | std::ios::app);
    out << request.fileName << '\t' << request.codePageIndex << '\t' << (request.asBinary ? "hex" : "text") << '\n';
    return static_cast<bool>(out);
}

} // namespace quillet
