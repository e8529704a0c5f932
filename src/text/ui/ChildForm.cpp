#include "text/ui/ChildForm.h"

#include "core/AppTitle.h"
#include "core/Translations.h"
#include "text/ui/TarnMemo.h"

#include <QCloseEvent>
#include <QFileInfo>
#include <QMessageBox>
#include <QSplitter>
#include <QVBoxLayout>

#include <algorithm>

namespace quillet {

namespace {

constexpr int kMinViewSize = 20;

bool IsBracket(char c)
{
    return c == '(' || c == ')' || c == '[' || c == ']' || c == '{' || c == '}' || c == '<' || c == '>';
}

bool IsOpening(char c)
{
    return c == '(' || c == '[' || c == '{' || c == '<';
}

QString Text(const char* key, const char* english)
{
    return QString::fromStdString(LangStr(key, english));
}

QString Trimmed(std::string_view text)
{
    std::size_t a = 0;
    std::size_t b = text.size();
    while (a < b && (text[a] == ' ' || text[a] == '\t')) {
        ++a;
    }
    while (b > a && (text[b - 1] == ' ' || text[b - 1] == '\t')) {
        --b;
    }
    return FromSystemText(text.substr(a, b - a));
}

} // namespace

TChildForm::TChildForm(QWidget* parent)
    : QMdiSubWindow(parent)
{
    setAttribute(Qt::WA_DeleteOnClose);
    m_source = std::make_unique<TMemoSource>();
    m_source->SetOptions(soBackUnindents | soGroupUndo | soForceCutCopy | soAutoIndent | soSmartTab | soFindTextAtCursor
        | soOverwriteBlocks);
    m_source->SetTabStops("9,17");
    m_source->SetDelimeters("/{}+-*():=,;><$.#[]^@&~|%'\"");
    // Backups keep the name and mark the extension: a.pas -> a.~pas; a file
    // without an extension gets "name.~" so the backup never replaces the file.
    m_source->OnGetBackupName = [](TMemoSource&, const std::filesystem::path& file, std::filesystem::path& backup) {
        const std::string ext = file.extension().string();
        backup = file;
        backup.replace_extension(ext.empty() ? std::string(".~") : ".~" + ext.substr(1));
    };

    auto* box = new QWidget(this);
    auto* layout = new QVBoxLayout(box);
    layout->setContentsMargins(0, 0, 0, 0);
    m_splitter = new QSplitter(Qt::Vertical, box);
    m_splitter->setHandleWidth(3);
    m_splitter->setChildrenCollapsible(true);
    m_memo1 = new TTarnMemo(m_splitter);
    m_memo = new TTarnMemo(m_splitter);
    m_splitter->addWidget(m_memo1);
    m_splitter->addWidget(m_memo);
    layout->addWidget(m_splitter);
    setWidget(box);
    SetupView(*m_memo);
    SetupView(*m_memo1);
    m_memo1->hide();
    m_lastFocused = m_memo;
    m_memo->MakeActive();
    setFocusProxy(m_memo);
    connect(m_splitter, &QSplitter::splitterMoved, this, [this] {
        CheckSplitSizes();
    });
    connect(&m_watcher, &QFileSystemWatcher::fileChanged, this, [this] {
        CheckFileChanged();
    });
    connect(&m_watcher, &QFileSystemWatcher::directoryChanged, this, [this] {
        CheckFileChanged();
    });
    UpdateCaption();
    UpdateStatus(chAll);
}

TChildForm::~TChildForm()
{
    emit Destroyed(this);
    // The views unregister from the buffer before it goes.
    delete m_memo;
    delete m_memo1;
    m_memo = nullptr;
    m_memo1 = nullptr;
}

void TChildForm::SetupView(TTarnMemo& view)
{
    view.SetMemoSource(m_source.get());
    view.SetKeyMapping("Default");
    view.SetWantTabs(true);
    view.SetHorzMaxPos(900);
    view.SetGutterWidth(20);
    view.SetLineNumAlign(TLineNumAlign::Right);
    TTarnMemo::TColors colors = view.Colors();
    colors.selText = 0xFFFFFF;
    colors.selBack = 0x800000;
    view.SetColors(colors);
    view.SetGutterImages(TTarnMemo::StandardGutterImages(14));
    view.SetSpecialSymbols(TSpecialSymbols{255, 187, "\xB6", "_"});
    view.OnStateChange = [this](TTarnMemo& v, std::uint32_t flags) {
        MemoStateChange(v, flags);
    };
    view.OnMemoScroll = [this](TTarnMemo& v, int rows, int) {
        MemoScrolled(v, rows);
    };
    view.OnClickGutter = [this](TTarnMemo& v, int line, int image, int shift) {
        MemoClickGutter(v, line, image, shift);
    };
    view.OnGetColorStyle = [this](TTarnMemo& v, int line, int ch, int& style) {
        const int i = ViewIndex(v);
        for (int k = 0; k < 2; ++k) {
            if (m_brackets[i][k].line == line && m_bracketRaw[i][k] == ch) {
                style = -1;
            }
        }
    };
    view.OnGetFontFromStyle = [](TTarnMemo&, int style, TResolvedStyle& look) {
        if (style == -1) {
            look.foreground = QColor(255, 0, 0);
            look.font.setBold(true);
        }
    };
}

TTarnMemo& TChildForm::ActiveMemo()
{
    if (m_memo1->isVisible() && m_memo1->hasFocus()) {
        return *m_memo1;
    }
    if (m_memo->hasFocus()) {
        return *m_memo;
    }
    return m_lastFocused != nullptr && m_lastFocused->isVisible() ? *m_lastFocused : *m_memo;
}

// ---- Document -------------------------------------------------------------------------

void TChildForm::SetFileName(const std::filesystem::path& file)
{
    if (!m_fileName.empty()) {
        m_watcher.removePaths(m_watcher.files() + m_watcher.directories());
    }
    m_fileName = file;
    if (!file.empty()) {
        const QString path = QString::fromStdString(file.string());
        const QFileInfo info(path);
        if (info.exists()) {
            m_watcher.addPath(path);
        }
        if (!info.absolutePath().isEmpty() && QFileInfo(info.absolutePath()).isDir()) {
            m_watcher.addPath(info.absolutePath());
        }
        RememberFileTime();
    }
    UpdateCaption();
}

void TChildForm::SetUntitledCaption(const QString& caption)
{
    m_untitled = caption;
    UpdateCaption();
}

QString TChildForm::CaptionFileNamePart() const
{
    QString caption = windowTitle();
    const int slash = std::max(caption.lastIndexOf(QLatin1Char('/')), caption.lastIndexOf(QLatin1Char('\\')));
    return slash >= 0 ? caption.mid(slash + 1) : caption;
}

void TChildForm::SetCodePage(int index, const QString& name)
{
    m_codePage = index;
    m_codePageName = name;
    UpdateStatus(0);
}

void TChildForm::SetSyntaxName(const QString& name)
{
    m_syntaxName = name;
    UpdateStatus(0);
}

void ApplyEditorSettings(TTarnMemo& view, const TMemoViewSettings& s)
{
    QFont font(QString::fromStdString(s.fontName));
    font.setPointSize(std::max(1, s.fontSize));
    font.setStyleHint(QFont::Monospace);
    view.SetOptions(ApplyViewSettings(view.Options(), s));
    view.SetWordWrap(s.wordWrap);
    view.SetScrollBarsBoth(!s.wordWrap);
    view.SetMarginPos(s.marginPosition);
    TTarnMemo::TColors colors = view.Colors();
    colors.margin = s.marginColor;
    colors.gutterBack = s.gutterColor;
    colors.gutterLine = s.gutterLineColor;
    view.SetColors(colors);
    view.SetGutterWidth(s.gutterWidth);
    view.SetMarginPenStyle(s.marginStyle);
    TLineSeparator separator;
    separator.betweenLines = s.visibleLineSeparator;
    separator.betweenWrappedRows = s.wrappedLineSeparator;
    separator.color = s.lineSeparatorColor;
    separator.penStyle = s.lineSeparatorStyle;
    view.SetLineSeparator(separator);
    TLineHighlight highlight;
    highlight.visible = s.lineHighlightVisible;
    highlight.brush = s.lineHighlightColor;
    highlight.pen = s.lineHighlightLineColor;
    highlight.penStyle = s.lineHighlightStyle;
    view.SetLineHighlight(highlight);
    view.SetEditorFont(font);
}

void ApplyEditorSettings(TMemoSource& source, const TMemoViewSettings& s)
{
    TStringsOptions o = source.Options();
    auto set = [&o](TStringsOption flag, bool on) {
        o = on ? (o | flag) : (o & ~static_cast<TStringsOptions>(flag));
    };
    set(soAutoIndent, s.autoIndent);
    set(soSmartTab, s.smartTab);
    set(soUseTabCharacter, s.useTabChar);
    set(soCursorOnTabs, s.cursorOnTabs);
    set(soBackUnindents, s.backUnindent);
    set(soGroupUndo, s.groupUndo);
    set(soBeyondFileEnd, s.cursorEof);
    set(soLimitEOL, !s.limitEol); // the stored key is inverted
    set(soCreateBackups, s.createBackup);
    set(soPersistentBlocks, s.persistentBlock);
    set(soOverwriteBlocks, s.overwriteBlock);
    set(soFindTextAtCursor, s.findTextAtCursor);
    set(soForceCutCopy, s.cutCopyEnabled);
    source.SetOptions(o);
    if (!s.wordWrap) {
        source.SetBlockOption(TBlockOption::bkBoth);
    }
    source.SetHighlightUrls(s.highlightUrls);
    source.SetBlockIndent(s.blockIndent);
    source.SetKeepTrailingBlanks(s.keepTrailingBlank);
    source.SetOutFormat(static_cast<TOutFormat>(std::clamp(s.outFormat, 0, 2)));
    source.SetTabStops(s.tabStops);
    source.SetSpacesInTab(s.spacesInTab);
}

void TChildForm::ApplySettings(const TMemoViewSettings& s)
{
    for (TTarnMemo* view : {m_memo, m_memo1}) {
        ApplyEditorSettings(*view, s);
    }
    ApplyEditorSettings(*m_source, s);
}

void TChildForm::UpdateCaption()
{
    QString caption = m_fileName.empty() ? m_untitled : QString::fromStdString(m_fileName.string());
    if (m_source->Modified()) {
        caption += QLatin1Char('*');
    }
    if (caption != windowTitle()) {
        setWindowTitle(caption);
        emit CaptionChanged(caption, CaptionFileNamePart());
    }
}

void TChildForm::UpdateStatus(std::uint32_t flags)
{
    (void)flags;
    TChildStatus status;
    const TTextPoint caret = m_source->GetCaretPoint();
    status.position = QStringLiteral("%1: %2").arg(caret.line + 1).arg(caret.col + 1);
    status.state = m_source->ReadOnly() ? Text("ReadOnly", "Read Only")
        : m_source->Modified()          ? Text("Modified", "Modified")
                                        : QString();
    status.mode = TMemoSource::GetOverwrite() ? Text("Overwrite", "Overwrite") : Text("Insert", "Insert");
    status.syntax = m_syntaxName;
    status.codePage = QLatin1Char(' ') + m_codePageName;
    if (!(status == m_status)) {
        m_status = status;
        emit StatusChanged(m_status);
    }
}

// ---- View reports -----------------------------------------------------------------------

void TChildForm::MemoStateChange(TTarnMemo& view, std::uint32_t flags)
{
    if (flags & chModified) {
        UpdateCaption();
    }
    if (view.hasFocus()) {
        m_lastFocused = &view;
    }
    UpdateStatus(flags);
    if ((flags & (chCaretMoved | chTextChanged | chSelection)) && view.isVisible()) {
        HighlightBrackets(view);
    }
    emit CommandStatesChanged();
}

void TChildForm::MemoScrolled(TTarnMemo& view, int deltaRows)
{
    if (!m_synchronized || m_syncing || deltaRows == 0 || !IsSplit()) {
        return;
    }
    TTarnMemo& other = &view == m_memo ? *m_memo1 : *m_memo;
    m_syncing = true;
    other.ScrollRows(deltaRows);
    m_syncing = false;
}

void TChildForm::MemoClickGutter(TTarnMemo& view, int line, int imageIndex, int shift)
{
    (void)imageIndex;
    if ((shift & 8) == 0) {
        return; // left button only
    }
    view.setFocus();
    m_lastFocused = &view;
    m_source->BeginUpdate(1);
    m_source->JumpTo(0, line);
    m_source->EndUpdate();
    ToggleBookmark();
}

void TChildForm::HighlightBrackets(TTarnMemo& view)
{
    const int i = ViewIndex(view);
    const auto old = m_brackets[i];
    m_brackets[i] = {TTextPoint{-1, -1}, TTextPoint{-1, -1}};
    m_bracketRaw[i] = {-1, -1};
    TTextPoint at;
    const char c = m_source->CorrectCharUnderCursor(at);
    if (IsBracket(c) && at.line >= 0 && at.line < m_source->GetStrCount()) {
        TTextPoint partner = at; // the search starts at the bracket
        const bool found =
            IsOpening(c) ? m_source->FindCloseBracket(c, false, partner) : m_source->FindOpenBracket(c, false, partner);
        if (found) {
            m_brackets[i] = {at, partner};
            m_bracketRaw[i] = {m_source->ColToRaw(at.line, at.col), m_source->ColToRaw(partner.line, partner.col)};
        }
    }
    if (old != m_brackets[i]) {
        for (const TTextPoint& p : old) {
            if (p.line >= 0) {
                view.InvalidateLines(p.line, p.line);
            }
        }
        for (const TTextPoint& p : m_brackets[i]) {
            if (p.line >= 0) {
                view.InvalidateLines(p.line, p.line);
            }
        }
    }
}

std::array<TTextPoint, 2> TChildForm::BracketPair(const TTarnMemo& view) const
{
    return m_brackets[ViewIndex(view)];
}

// ---- Split, rotate, synchronise -------------------------------------------------------------

bool TChildForm::IsSplit() const
{
    return m_memo1->isVisibleTo(this);
}

void TChildForm::ToggleSplit()
{
    if (IsSplit()) {
        m_memo1->hide();
        m_memo->setFocus();
        m_lastFocused = m_memo;
        return;
    }
    const int total = m_rotated ? m_memo->width() : m_memo->height();
    const int half = total / 2;
    m_memo1->show();
    m_splitter->setSizes({half, std::max(kMinViewSize, total - half)});
    m_memo1->setFocus();
    m_lastFocused = m_memo1;
    // The new view starts where the main view is.
    m_memo1->SetTopLine(m_memo->TopLine(), m_memo->TopSubRow());
}

void TChildForm::RotateView()
{
    if (!IsSplit()) {
        return;
    }
    m_rotated = !m_rotated;
    const int total = m_rotated ? m_splitter->width() : m_splitter->height();
    m_splitter->setOrientation(m_rotated ? Qt::Horizontal : Qt::Vertical);
    m_splitter->setSizes({total / 2, total - total / 2});
}

void TChildForm::ToggleSynchronizedScrolling()
{
    if (IsSplit()) {
        m_synchronized = !m_synchronized;
    }
}

void TChildForm::SelectSecondWindow()
{
    if (!IsSplit()) {
        return;
    }
    TTarnMemo* target = ActiveMemo().hasFocus() && &ActiveMemo() == m_memo1 ? m_memo : m_memo1;
    if (m_memo->hasFocus()) {
        target = m_memo1;
    } else if (m_memo1->hasFocus()) {
        target = m_memo;
    }
    target->setFocus();
    m_lastFocused = target;
}

void TChildForm::CheckSplitSizes()
{
    if (!IsSplit()) {
        return;
    }
    const QList<int> sizes = m_splitter->sizes();
    const bool tooSmall = std::any_of(sizes.begin(), sizes.end(), [](int s) {
        return s < kMinViewSize;
    });
    const bool memo1Small = m_memo1->height() < kMinViewSize || m_memo1->width() < kMinViewSize;
    const bool memoSmall = m_memo->height() < kMinViewSize || m_memo->width() < kMinViewSize;
    if (tooSmall || memo1Small || memoSmall) {
        m_memo1->hide();
        m_memo->setFocus();
        m_lastFocused = m_memo;
    }
}

void TChildForm::resizeEvent(QResizeEvent* event)
{
    QMdiSubWindow::resizeEvent(event);
    CheckSplitSizes();
}

void TChildForm::changeEvent(QEvent* event)
{
    QMdiSubWindow::changeEvent(event);
}

void TChildForm::ToggleLineNumbers()
{
    for (TTarnMemo* view : {m_memo, m_memo1}) {
        view->SetOption(moLineNumbers, !HasOption(view->Options(), moLineNumbers));
    }
}

void TChildForm::ToggleWordWrap()
{
    for (TTarnMemo* view : {m_memo, m_memo1}) {
        const bool wrap = !view->WordWrap();
        view->SetWordWrap(wrap);
        view->SetScrollBarsBoth(!wrap);
    }
    if (!m_memo->WordWrap()) {
        m_source->SetBlockOption(TBlockOption::bkBoth);
    }
}

// ---- Folding ---------------------------------------------------------------------------------

bool TChildForm::CanCollapse() const
{
    if (m_source->SelectionKind() == TSelKind::selNone) {
        return false;
    }
    return m_source->SelStart().line != m_source->SelEnd().line;
}

bool TChildForm::CanExpandAll() const
{
    return HasOption(m_memo->Options(), moHideInvisibleLines);
}

void TChildForm::CollapseLines()
{
    if (!CanCollapse()) {
        return;
    }
    const int top = std::min(m_source->SelStart().line, m_source->SelEnd().line);
    const int bottom =
        std::min(std::max(m_source->SelStart().line, m_source->SelEnd().line), m_source->GetStrCount() - 1);
    m_source->BeginUpdate(73);
    m_memo->SetOption(moHideInvisibleLines, true);
    m_memo1->SetOption(moHideInvisibleLines, true);
    for (int i = top; i <= bottom; ++i) {
        if (i != 0) {
            m_source->SetLineVisible(i, false);
        }
    }
    m_source->SetCollapseState(top, csCollapsed);
    // The caret must not stay on a hidden line.
    if (m_source->GetCurLine() > top && m_source->GetCurLine() <= bottom) {
        m_source->ClearSelection();
        m_source->JumpTo(0, top);
    }
    m_source->EndUpdate();
}

void TChildForm::ExpandLines()
{
    if (!CanCollapse()) {
        return;
    }
    const int top = std::min(m_source->SelStart().line, m_source->SelEnd().line);
    int bottom = std::max(m_source->SelStart().line, m_source->SelEnd().line);
    const int last = m_source->GetStrCount() - 1;
    bottom = std::min(bottom, last);
    while (bottom < last && (m_source->GetLineState(bottom + 1) & lsFoldBody)) {
        ++bottom;
    }
    m_source->BeginUpdate(73);
    for (int i = bottom; i >= top; --i) {
        m_source->SetLineVisible(i, true);
        m_source->SetCollapseState(i, csNoFold);
    }
    m_source->EndUpdate();
    bool anyBody = false;
    for (int i = 0; i <= last && !anyBody; ++i) {
        anyBody = (m_source->GetLineState(i) & lsFoldBody) != 0;
    }
    if (!anyBody) {
        m_memo->SetOption(moHideInvisibleLines, false);
        m_memo1->SetOption(moHideInvisibleLines, false);
    }
}

void TChildForm::ExpandAll()
{
    m_source->BeginUpdate(73);
    for (int i = m_source->GetStrCount() - 1; i >= 0; --i) {
        const std::uint8_t st = m_source->GetLineState(i);
        if (st & lsFoldBody) {
            m_source->SetLineVisible(i, true);
        }
        if (st & (lsFoldCollapsed | lsFoldExpanded)) {
            m_source->SetCollapseState(i, csNoFold);
        }
    }
    m_source->EndUpdate();
    m_memo->SetOption(moHideInvisibleLines, false);
    m_memo1->SetOption(moHideInvisibleLines, false);
}

// ---- Bookmarks and breakpoint -------------------------------------------------------------

void TChildForm::ToggleBookmark()
{
    const int line = m_source->GetCurLine();
    const int existing = m_source->GetBookmarkFromRange(line, line);
    if (existing >= 1 && existing <= 10) {
        m_source->ClearBookMark(existing);
        m_usedSlots[existing - 1] = false;
        emit CommandStatesChanged();
        return;
    }
    for (int slot = 1; slot <= 10; ++slot) {
        if (!m_usedSlots[slot - 1]) {
            m_source->SetBookMark(slot);
            m_usedSlots[slot - 1] = true;
            emit CommandStatesChanged();
            return;
        }
    }
    // All ten slots used: nothing happens.
}

void TChildForm::ToggleNumberedBookmark(int digit)
{
    if (digit < 0 || digit > 9) {
        return;
    }
    const int slot = digit == 0 ? 10 : digit;
    m_source->ToggleBookMarkKey(digit);
    TTextPoint p;
    m_usedSlots[slot - 1] = m_source->FindBookMark(slot, p);
    emit CommandStatesChanged();
}

void TChildForm::GoToBookmark(int digit)
{
    if (digit < 0 || digit > 9) {
        return;
    }
    TTarnMemo& view = ActiveMemo();
    const int top = view.TopLine();
    view.MakeActive();
    m_source->GoToBookMarkKey(digit);
    if (view.TopLine() != top) {
        view.CenterScreenOnLine();
    }
}

void TChildForm::ClearAllBookmarks()
{
    for (int slot = 1; slot <= 10; ++slot) {
        m_source->ClearBookMark(slot);
    }
    m_usedSlots.fill(false);
    emit CommandStatesChanged();
}

bool TChildForm::AnyBookmarkUsed() const
{
    return std::any_of(m_usedSlots.begin(), m_usedSlots.end(), [](bool b) {
        return b;
    });
}

QString TChildForm::BookmarkCaption(int slot) const
{
    if (slot < 1 || slot > 10) {
        return {};
    }
    TTextPoint p;
    QString text;
    if (m_source->FindBookMark(slot, p) && p.line < m_source->GetStrCount()) {
        text = Trimmed(m_source->GetExpandedLine(p.line));
    }
    const bool longer = text.size() > 50;
    text = text.left(50);
    // "&" in the line's text would become an accelerator: double it.
    text.replace(QLatin1Char('&'), QStringLiteral("&&"));
    if (longer) {
        text += QStringLiteral(" ...");
    }
    return QStringLiteral("&%1  %2").arg(slot % 10).arg(text);
}

void TChildForm::ToggleBreakpoint()
{
    m_memo->ToggleImageAndTextStyle("BreakPoint");
}

// ---- Closing and outside changes --------------------------------------------------------------

int TChildForm::Ask(const QString& text, bool withCancel)
{
    return AskDocumentQuestion(this, OnQuestion, text, withCancel);
}

bool TChildForm::CloseQuery()
{
    if (!m_source->Modified()) {
        return true;
    }
    QString name = m_fileName.empty() ? windowTitle() : QString::fromStdString(m_fileName.filename().string());
    if (m_fileName.empty() && name.endsWith(QLatin1Char('*'))) {
        name.chop(1);
    }
    const TCloseQuestion::TAnswer answer = m_closeQuestion.Ask(this, OnQuestion, name);
    if (answer != TCloseQuestion::TAnswer::Save) {
        return answer == TCloseQuestion::TAnswer::Discard;
    }
    bool saved = false;
    if (OnSave) {
        saved = OnSave(*this);
    } else if (!m_fileName.empty()) {
        const TFileResult result = m_source->SaveToFile(m_fileName);
        saved = result.ok;
        if (!saved) {
            QMessageBox::critical(this,
                QString::fromUtf8(kAppTitle.data(), static_cast<qsizetype>(kAppTitle.size())),
                QString::fromStdString(result.error));
        }
    }
    return saved;
}

void TChildForm::closeEvent(QCloseEvent* event)
{
    if (!CloseQuery()) {
        event->ignore();
        return;
    }
    m_watcher.removePaths(m_watcher.files() + m_watcher.directories());
    QMdiSubWindow::closeEvent(event);
}

void TChildForm::RememberFileTime()
{
    const QFileInfo info(QString::fromStdString(m_fileName.string()));
    m_fileTime = info.exists() ? info.lastModified() : QDateTime();
}

bool TChildForm::CheckFileChanged()
{
    if (m_asking || m_fileName.empty()) {
        return false;
    }
    const QString path = QString::fromStdString(m_fileName.string());
    const QFileInfo info(path);
    if (!info.exists()) {
        return false; // a file that no longer exists is left alone
    }
    // A file replaced by rename drops out of the watcher: watch it again.
    if (!m_watcher.files().contains(path)) {
        m_watcher.addPath(path);
    }
    const QDateTime time = info.lastModified();
    if (time == m_fileTime) {
        return false;
    }
    m_asking = true; // reports during the question are not asked twice
    const int answer =
        Ask(QString::fromStdString(LangFormat(
                "FileTimeChanged", "Another application has updated file \"%s\". Reload it?", {path.toStdString()})),
            false);
    bool reloaded = false;
    if (answer == QMessageBox::Yes && OnReload) {
        reloaded = OnReload(*this);
        if (reloaded) {
            raise();
            if (mdiArea() == nullptr) {
                activateWindow();
            }
        }
    }
    m_fileTime = QFileInfo(path).lastModified();
    m_asking = false;
    return reloaded;
}

} // namespace quillet
