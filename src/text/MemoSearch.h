#pragma once

#include "text/MemoSource.h"
#include "text/SearchOptions.h"
#include "text/TextMatch.h"

#include <functional>
#include <memory>
#include <string>

namespace quillet {

// Texts the search shows, set by the main window before each command in the
// current language. "%s" stands for the search text.
struct TSearchMessages {
    std::string notFound = "Search string \"%s\" not found.";
    std::string outsideSelection = "Tried to search marked block from cursor but cursor is outside block.";
    std::string emptySelection = "Tried to search marked block but it is invalid.";
    std::string askReplace = "Replace this occurence of \"%s\"?";
    std::string yes = "&Yes";
    std::string no = "&No";
    std::string cancel = "Cancel";
    std::string all = "&All";
};

enum class TReplaceAnswer { Yes, No, Cancel, All };

// What the search needs from the window around it: message boxes (titled with
// the application title), the replace confirmation and the busy cursor.
class ISearchPrompt {
public:
    virtual ~ISearchPrompt() = default;
    virtual void ShowError(const std::string& text) = 0; // error icon
    virtual void ShowInfo(const std::string& text) = 0; // information icon, OK
    // Buttons Yes, No, Cancel and All with the captions of `messages`.
    virtual TReplaceAnswer AskReplace(const std::string& text, const TSearchMessages& messages) = 0;
    virtual void SetBusy(bool busy) { (void)busy; }
};

// Search and replace over one buffer with the process-wide search options.
// A series starts with Find or Replace and goes on with FindNext; every
// operation returns whether something was found.
class TMemoSearch {
public:
    explicit TMemoSearch(TMemoSource& source, TSearchOptions& options = GlobalSearchOptions());
    ~TMemoSearch();
    TMemoSearch(const TMemoSearch&) = delete;
    TMemoSearch& operator=(const TMemoSearch&) = delete;

    // Without a prompt nothing is shown and every confirmation answers Yes.
    void SetPrompt(ISearchPrompt* prompt) { m_prompt = prompt; }
    TSearchMessages& Messages() { return m_messages; }
    TSearchOptions& Options() { return m_options; }

    // A pattern error is offered here first; setting `handled` suppresses the message.
    std::function<void(TMemoSearch& sender, const std::string& error, bool& handled)> OnSearchException;

    bool Find();
    bool FindNext();
    bool KeyFindNext() { return FindNext(); }
    bool Replace();
    // With soFindTextAtCursor the word at the caret becomes the search text
    // (kept when the caret is on no word); the scope becomes the selection when
    // the caret is inside it or at one of its ends, else global.
    void SmartSearchOptions();
    // Prepares the options before a find or replace dialog opens.
    void BeforeFindReplace(bool isReplace);
    void ToggleCaseSensitiveSearch() { m_options.CaseSensitive = !m_options.CaseSensitive; }
    void ToggleRegularExprSearch() { m_options.RegularExpr = !m_options.RegularExpr; }
    // Fires OnSearchException and returns whether it handled the error.
    bool HandleSearchException(const std::string& message);

    // Replacements made by the last Replace or FindNext that replaced.
    int ReplaceCount() const { return m_replaceCount; }

    // Off: replace-all always takes the route of one search and one
    // replacement after the other, which the one-pass route must equal.
    void SetOnePassReplaceAll(bool on) { m_onePassReplaceAll = on; }

    // "%s" in `format` replaced by `text` with every "&" doubled.
    static std::string FormatMessage(const std::string& format, const std::string& text);

private:
    struct TFound {
        int line = 0;
        int startCol = 0;
        int endCol = 0;
    };
    enum class TOneResult { NotFound, Skipped, Replaced, Cancelled, All };

    bool InternalFind();
    bool InternalReplace();
    TOneResult ReplaceOne();
    void ReplaceRest(bool firstSearchReports);
    bool ReplaceFound();
    bool ReplaceAllInOnePass();
    TTextMatcher& Matcher();
    const TCharSet& Delimiters();
    bool CaretInSelection() const;

    TMemoSource& m_source;
    TSearchOptions& m_options;
    ISearchPrompt* m_prompt = nullptr;
    TSearchMessages m_messages;
    int m_replaceCount = 0;
    TFound m_found;
    bool m_onePassReplaceAll = true;

    // The matcher is kept while text and switches stay the same, so a long
    // replace-all does not prepare it again for every occurrence.
    std::unique_ptr<TTextMatcher> m_matcher;
    std::string m_matcherText;
    TMatchFlags m_matcherFlags;
    TCharSet m_matcherDelimiters;
    TCharSet m_delimiters;
    std::string m_delimitersText;
    bool m_delimitersValid = false;
};

} // namespace quillet
