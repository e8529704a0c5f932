#include "tools/ui/FindInFiles.h"

#include "text/MemoSource.h"
#include "text/TabStops.h"
#include "text/ui/ChildForm.h"
#include "text/ui/FindForm.h"
#include "text/ui/MemoStyles.h"
#include "text/ui/TarnMemo.h"
#include "tools/FileSearcher.h"
#include "tools/ResultList.h"
#include "tools/ui/FindInFilesProgress.h"
#include "tools/ui/ResultPage.h"
#include "tools/ui/ResultWindow.h"

#include <QApplication>
#include <QMessageBox>

#include <algorithm>

namespace quillet {

namespace {

// Results reach the page, and pending events run, at most this often: often
// enough that a busy machine still sees no pause near 100 ms.
constexpr std::chrono::milliseconds kPumpInterval{20};

// The name a document is searched and listed under: its file, or for a new
// document its caption without "*".
std::string DocumentName(TChildForm& form)
{
    if (!form.FileName().empty()) {
        return form.FileName().string();
    }
    return form.windowTitle().remove(QLatin1Char('*')).toStdString();
}

bool SameDocumentName(TChildForm& form, const std::string& name, const std::string& cleaned)
{
    const std::string own = DocumentName(form);
    return own == name || (!form.FileName().empty() && CleanFileName(own) == cleaned);
}

TCharSet DelimitersOf(const TMemoSource& source)
{
    TCharSet set;
    for (int c = 0; c < 256; ++c) {
        set[static_cast<std::size_t>(c)] = source.IsDelimiter(static_cast<unsigned char>(c));
    }
    return set;
}

} // namespace

struct TFindInFiles::TPending {
    TResultList lines;
};

TFindInFiles::TFindInFiles(TResultWindow& results, QWidget* mainWindow, TFindInFilesHost host)
    : QObject(mainWindow)
    , m_results(results)
    , m_mainWindow(mainWindow)
    , m_host(std::move(host))
    , m_pending(std::make_unique<TPending>())
{
    connect(&m_results, &TResultWindow::NavigateRequested, this, &TFindInFiles::Navigate);
}

TFindInFiles::~TFindInFiles() = default;

bool TFindInFiles::CanExecute() const
{
    return !m_running && m_host.activeDocument && m_host.activeDocument() != nullptr;
}

void TFindInFiles::Execute()
{
    if (m_running) {
        return; // one search at a time
    }
    TChildForm* active = m_host.activeDocument ? m_host.activeDocument() : nullptr;
    const bool projectOpen = m_host.projectMembers && m_host.projectMembers().has_value();
    TFindInFilesForm form(active != nullptr ? &active->MemoSource() : nullptr,
        GlobalSearchOptions(),
        projectOpen,
        m_optionsStored,
        m_host.fileTypeFilter ? m_host.fileTypeFilter() : std::string(),
        m_mainWindow);
    const int result = OnExecDialog ? OnExecDialog(form) : form.exec();
    if (result != QDialog::Accepted) {
        return;
    }
    m_optionsStored = true;
    Run(form.Request());
}

std::uint64_t TFindInFiles::RememberDocument(TChildForm* form)
{
    const std::uint64_t key = m_nextKey++;
    m_documents[key] = form;
    return key;
}

TChildForm* TFindInFiles::Document(std::uint64_t key) const
{
    const auto it = m_documents.find(key);
    return it == m_documents.end() ? nullptr : it->second.data();
}

std::vector<TSearchFile> TFindInFiles::ListFiles(const TFindInFilesRequest& request)
{
    if (request.where == swDirectories) {
        return SearchFiles(request.directory, request.masks, request.includeSubdirs, [this] {
            return Pump(false);
        });
    }
    std::vector<TSearchFile> open;
    if (m_host.documents) {
        for (TChildForm* form : m_host.documents()) {
            if (form != nullptr) {
                open.push_back({DocumentName(*form), RememberDocument(form)});
            }
        }
    }
    if (request.where == swProjectFiles && m_host.projectMembers) {
        if (const std::optional<std::vector<std::string>> members = m_host.projectMembers()) {
            return ProjectSearchFiles(open, *members, m_host.isBinary);
        }
    }
    return open;
}

void TFindInFiles::Flush()
{
    if (!m_pending->lines.IsEmpty()) {
        m_results.Page(TResultWindow::kFindInFilesPage).Model().AppendBatch(m_pending->lines);
        if (OnBatch) {
            OnBatch();
        }
    }
    if (m_progress != nullptr) {
        m_progress->SetMatchCount(m_matches);
    }
}

bool TFindInFiles::Pump(bool force)
{
    const auto now = std::chrono::steady_clock::now();
    if (force || now - m_lastPump >= kPumpInterval) {
        Flush();
        QCoreApplication::processEvents();
        m_lastPump = std::chrono::steady_clock::now();
    }
    return m_progress != nullptr && !m_progress->IsCancelled();
}

bool TFindInFiles::Run(const TFindInFilesRequest& request)
{
    if (m_running) {
        return false;
    }
    TChildForm* active = m_host.activeDocument ? m_host.activeDocument() : nullptr;
    const TCharSet delimiters = active != nullptr ? DelimitersOf(active->MemoSource()) : DelimitersOf(TMemoSource());
    TFileSearcher searcher(request.text, {request.caseSensitive, request.wholeWords, request.regularExpr}, delimiters);
    // An invalid pattern is reported once, before anything is listed or searched.
    if (!searcher.IsValid()) {
        const QString message = FromSystemText(searcher.ErrorMessage());
        if (OnPatternError) {
            OnPatternError(message);
        } else {
            QMessageBox::information(m_mainWindow, QApplication::applicationDisplayName(), message);
        }
        return false;
    }
    m_running = true;
    if (request.clearResults) {
        m_results.Page(TResultWindow::kFindInFilesPage).Model().Clear();
    }
    m_matches = 0;
    m_pending->lines.Clear();
    auto* progress = new TFindInFilesProgress(m_mainWindow);
    m_progress = progress;
    progress->show();
    m_lastPump = {};
    QApplication::setOverrideCursor(Qt::BusyCursor);

    const std::vector<TSearchFile> files = ListFiles(request);
    m_results.show();
    m_results.raise();
    m_results.ShowPage(TResultWindow::kFindInFilesPage);
    progress->SetFileCount(static_cast<int>(files.size()));

    const TTabStops defaultStops;
    std::string text;
    for (std::size_t index = 0; index < files.size() && Pump(false); ++index) {
        const TSearchFile& file = files[index];
        progress->SetFileName(QString::fromStdString(file.fileName));
        const auto onMatch = [&](const TFileMatch& match) {
            if (m_progress == nullptr || m_progress->IsCancelled()) {
                return false;
            }
            m_pending->lines.AppendMatch(
                file.fileName, file.documentKey, match.line, match.column, match.length, match.lineText);
            ++m_matches;
            return Pump(false);
        };
        const auto keepGoing = [this] {
            return Pump(false);
        };
        // An open document is searched in its current text, copied so that
        // nothing the pending events do can change it under the search.
        if (TChildForm* form = file.documentKey != 0 ? Document(file.documentKey) : nullptr) {
            text = form->MemoSource().Lines().GetText();
            searcher.SetTabStops(form->MemoSource().TabStops());
            searcher.SearchText(text, onMatch, keepGoing);
        } else if (file.documentKey == 0) {
            searcher.SetTabStops(defaultStops);
            searcher.SearchFile(file.fileName, onMatch, keepGoing);
        }
        progress->SetFileIndex(static_cast<int>(index + 1));
    }
    Flush();
    QApplication::restoreOverrideCursor();
    m_progress = nullptr;
    delete progress;
    m_running = false;
    return true;
}

void TFindInFiles::Navigate(const TNavigationRecord& record)
{
    const std::optional<TNavigationTarget> target = ParseNavigationRecord(record.text);
    if (!target || target->fileName.empty()) {
        return;
    }
    TChildForm* referenced = Document(record.documentKey);
    const std::string cleaned = CleanFileName(target->fileName);
    TChildForm* chosen = nullptr;
    if (m_host.documents) {
        for (TChildForm* form : m_host.documents()) {
            if (form == nullptr || !SameDocumentName(*form, target->fileName, cleaned)) {
                continue;
            }
            chosen = form;
            if (form == referenced) {
                break;
            }
        }
    }
    if (chosen == nullptr && m_host.openFile) {
        chosen = m_host.openFile(target->fileName);
    }
    if (chosen == nullptr) {
        return;
    }
    if (m_host.activate) {
        m_host.activate(*chosen);
    }
    // The file may have changed since the search: stay inside the text.
    TMemoSource& source = chosen->MemoSource();
    const int lines = source.Lines().Count();
    const int line = std::clamp(target->line, 0, std::max(0, lines - 1));
    const int length = lines == 0 ? 0 : tabs::DisplayLength(source.GetRawLine(line), source.TabStops());
    const int column = std::clamp(target->column, 0, length);
    chosen->Memo().CenteredJumpTo(column, line);
    chosen->Memo().setFocus();
}

} // namespace quillet
