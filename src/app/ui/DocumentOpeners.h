#pragma once

#include "app/DocumentOpener.h"

#include <QObject>
#include <QStringList>

#include <string>

class QWidget;

namespace quillet {

// The opener used until document windows exist: it opens nothing and says so
// once for a whole batch of names (one message box listing them), returning
// false for every request.
class TUnavailableDocumentOpener : public QObject, public IDocumentOpener {
    Q_OBJECT
public:
    explicit TUnavailableDocumentOpener(QWidget* parent);
    bool CreateMDIChild(const TOpenRequest& request) override;
    const QStringList& Refused() const { return m_refused; }

private:
    void Report();

    QWidget* m_parent;
    QStringList m_pending;
    QStringList m_refused;
};

// Appends every request as one line "name<TAB>code page index<TAB>text|hex" to
// a log file and opens nothing. The program uses it when QUILLET_TEST_OPEN_LOG
// names a file, so tests of the hand-over between two processes can see what
// the running instance was asked to open, and in which order.
class TLoggingDocumentOpener : public IDocumentOpener {
public:
    explicit TLoggingDocumentOpener(std::string logFile);
    bool CreateMDIChild(const TOpenRequest& request) override;

private:
    std::string m_logFile;
};

} // namespace quillet
