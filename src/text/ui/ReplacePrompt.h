#pragma once

#include "text/MemoSearch.h"

#include <QString>

#include <string>
#include <string_view>

class QWidget;

namespace quillet {

// The search's message boxes and the Yes/No/Cancel/All replace confirmation,
// titled with the application title. Texts handed in are 8-bit text in the
// system code page, as the search builds them from the buffer's search text.
class TSearchPrompt final : public ISearchPrompt {
public:
    explicit TSearchPrompt(QWidget* parent)
        : m_parent(parent)
    {
    }
    ~TSearchPrompt() override;

    // The search text of the coming operation. The search shows it with every
    // "&" doubled, as a caption with mnemonics would need; message boxes show
    // plain text, so messages built from it are shown with the text as typed.
    void SetSearchText(const std::string& text, const TSearchMessages& messages);

    void ShowError(const std::string& text) override;
    void ShowInfo(const std::string& text) override;
    TReplaceAnswer AskReplace(const std::string& text, const TSearchMessages& messages) override;
    void SetBusy(bool busy) override;

    // The confirmation box on its own: buttons Yes, No, Cancel and All with the
    // captions of `messages` ("&" marks the mnemonic); Escape answers Cancel.
    static TReplaceAnswer AskReplaceBox(QWidget* parent, const QString& text, const TSearchMessages& messages);

private:
    QString Shown(const std::string& text) const;

    QWidget* m_parent = nullptr;
    std::string m_doubledNotFound, m_plainNotFound;
    std::string m_doubledAsk, m_plainAsk;
    int m_busyDepth = 0;
};

// Where the search commands and dialogs send their messages and questions.
// Unset (nullptr): message boxes over the document window. Tests install their
// own and pass nullptr to restore the boxes.
void SetSearchPromptOverride(ISearchPrompt* prompt);
ISearchPrompt* SearchPromptOverride();

// An error or information message of a search or go-to dialog: through the
// override when one is installed, else a message box over parent titled with
// the application title.
void ShowSearchError(QWidget* parent, const QString& text);
void ShowSearchInfo(QWidget* parent, const QString& text);

// A translated text for the search dialogs (UTF-8 translation to QString).
QString SearchText(std::string_view key, std::string_view english);
// The search messages in the current language, converted to the system code
// page so that the search text can be placed in them byte for byte.
TSearchMessages TranslatedSearchMessages();

} // namespace quillet
