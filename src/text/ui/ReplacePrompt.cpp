#include "text/ui/ReplacePrompt.h"

#include "core/AppTitle.h"
#include "core/Translations.h"
#include "text/ui/MemoStyles.h"

#include <QApplication>
#include <QMessageBox>
#include <QPushButton>

namespace quillet {

namespace {

ISearchPrompt* g_override = nullptr;

QString AppTitle()
{
    return QString::fromUtf8(kAppTitle.data(), static_cast<qsizetype>(kAppTitle.size()));
}

std::string ToCodePage(const std::string& utf8)
{
    return ToSystemText(QString::fromUtf8(utf8.data(), static_cast<qsizetype>(utf8.size())));
}

// "%s" of `format` filled with `text` unchanged.
std::string FillPlain(const std::string& format, const std::string& text)
{
    std::string out = format;
    const std::size_t at = out.find("%s");
    if (at != std::string::npos) {
        out.replace(at, 2, text);
    }
    return out;
}

// The translation of a message with one "%s", or the English text when the
// translation does not have exactly that placeholder.
std::string CheckedPattern(std::string_view key, const std::string& english)
{
    return FormatChecked(LangStr(key, english), english, {TFormatArg("%s")});
}

} // namespace

TSearchPrompt::~TSearchPrompt()
{
    while (m_busyDepth > 0) {
        SetBusy(false);
    }
}

void TSearchPrompt::SetSearchText(const std::string& text, const TSearchMessages& messages)
{
    m_doubledNotFound = TMemoSearch::FormatMessage(messages.notFound, text);
    m_plainNotFound = FillPlain(messages.notFound, text);
    m_doubledAsk = TMemoSearch::FormatMessage(messages.askReplace, text);
    m_plainAsk = FillPlain(messages.askReplace, text);
}

QString TSearchPrompt::Shown(const std::string& text) const
{
    if (!m_doubledNotFound.empty() && text == m_doubledNotFound) {
        return FromSystemText(m_plainNotFound);
    }
    if (!m_doubledAsk.empty() && text == m_doubledAsk) {
        return FromSystemText(m_plainAsk);
    }
    return FromSystemText(text);
}

void TSearchPrompt::ShowError(const std::string& text)
{
    QMessageBox::critical(m_parent, AppTitle(), Shown(text));
}

void TSearchPrompt::ShowInfo(const std::string& text)
{
    QMessageBox::information(m_parent, AppTitle(), Shown(text));
}

TReplaceAnswer TSearchPrompt::AskReplace(const std::string& text, const TSearchMessages& messages)
{
    // The box waits for the user: the busy cursor must not stay over it.
    const int busy = m_busyDepth;
    for (int i = 0; i < busy; ++i) {
        QApplication::restoreOverrideCursor();
    }
    const TReplaceAnswer answer = AskReplaceBox(m_parent, Shown(text), messages);
    for (int i = 0; i < busy; ++i) {
        QApplication::setOverrideCursor(Qt::WaitCursor);
    }
    return answer;
}

void TSearchPrompt::SetBusy(bool busy)
{
    if (busy) {
        QApplication::setOverrideCursor(Qt::WaitCursor);
        ++m_busyDepth;
    } else if (m_busyDepth > 0) {
        QApplication::restoreOverrideCursor();
        --m_busyDepth;
    }
}

TReplaceAnswer TSearchPrompt::AskReplaceBox(QWidget* parent, const QString& text, const TSearchMessages& messages)
{
    QMessageBox box(QMessageBox::Question, AppTitle(), text, QMessageBox::NoButton, parent);
    box.setObjectName(QStringLiteral("ReplacePrompt"));
    // One role for all four keeps them in this order on every desktop style.
    QPushButton* yes = box.addButton(FromSystemText(messages.yes), QMessageBox::ActionRole);
    QPushButton* no = box.addButton(FromSystemText(messages.no), QMessageBox::ActionRole);
    QPushButton* cancel = box.addButton(FromSystemText(messages.cancel), QMessageBox::ActionRole);
    QPushButton* all = box.addButton(FromSystemText(messages.all), QMessageBox::ActionRole);
    yes->setObjectName(QStringLiteral("bYes"));
    no->setObjectName(QStringLiteral("bNo"));
    cancel->setObjectName(QStringLiteral("bCancel"));
    all->setObjectName(QStringLiteral("bAll"));
    box.setDefaultButton(yes);
    box.setEscapeButton(cancel);
    box.exec();
    QAbstractButton* clicked = box.clickedButton();
    if (clicked == yes) {
        return TReplaceAnswer::Yes;
    }
    if (clicked == no) {
        return TReplaceAnswer::No;
    }
    if (clicked == all) {
        return TReplaceAnswer::All;
    }
    return TReplaceAnswer::Cancel; // Cancel, Escape or the box closed
}

void SetSearchPromptOverride(ISearchPrompt* prompt)
{
    g_override = prompt;
}

ISearchPrompt* SearchPromptOverride()
{
    return g_override;
}

void ShowSearchError(QWidget* parent, const QString& text)
{
    if (g_override != nullptr) {
        g_override->ShowError(ToSystemText(text));
        return;
    }
    QMessageBox::critical(parent, AppTitle(), text);
}

void ShowSearchInfo(QWidget* parent, const QString& text)
{
    if (g_override != nullptr) {
        g_override->ShowInfo(ToSystemText(text));
        return;
    }
    QMessageBox::information(parent, AppTitle(), text);
}

QString SearchText(std::string_view key, std::string_view english)
{
    return QString::fromStdString(LangStr(key, english));
}

TSearchMessages TranslatedSearchMessages()
{
    const TSearchMessages english;
    TSearchMessages m;
    m.notFound = ToCodePage(CheckedPattern("SearchNotFound", english.notFound));
    m.outsideSelection = ToCodePage(LangStr("SearchOutSideSelection", english.outsideSelection));
    m.emptySelection = ToCodePage(LangStr("SearchEmptySelection", english.emptySelection));
    m.askReplace = ToCodePage(CheckedPattern("SearchAskReplace", english.askReplace));
    m.yes = ToCodePage(LangStr("bYes", english.yes));
    m.no = ToCodePage(LangStr("bNo", english.no));
    m.cancel = ToCodePage(LangStr("bCancel", english.cancel));
    m.all = ToCodePage(LangStr("bAll", english.all));
    return m;
}

} // namespace quillet
