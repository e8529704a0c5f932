#pragma once

#include "text/ui/MemoStyles.h"

#include <QObject>
#include <QString>

#include <filesystem>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

class QAction;
class QIcon;
class QMenu;

namespace quillet {

class TChildForm;
class TSchemeCatalog;
class TSyntaxParser;
class TSyntaxScheme;
class TTextStyles;
struct TEditorFont;

// What attaching a definition needs from the program. catalog and styles must
// outlive every call made with the context.
struct TSyntaxContext {
    const TSchemeCatalog* catalog = nullptr;
    const TTextStyles* styles = nullptr;
    // Translation of a message key; unset: the English default.
    std::function<QString(std::string_view key, std::string_view defaultText)> Translate;
    // Shows a load error; unset: an error box titled with the application name.
    std::function<void(const QString& message)> OnError;
    // The document's code templates file changed: "Code Templates/<definition
    // name>.tpl", or empty when the document went back to plain text. The
    // receiver loads it (errors there are ignored) and refreshes its menu.
    std::function<void(TChildForm& form, const std::filesystem::path& templatesFile)> OnTemplates;
};

// The extension a definition's documents are shown with: the first mask of
// its first Extensions entry without "*" (".cpp" for "C++ files|*.cpp;*.h"),
// empty when there is none.
std::string DefinitionIconExtension(const TSyntaxScheme& scheme);
// The window icon of a document with that definition: the desktop's icon of
// a file with that extension, else the generic text icon.
QIcon DefinitionIcon(const TSyntaxScheme& scheme);
// The window icon of a plain-text document.
QIcon GenericTextIcon();

// The highlighter attached to a document window; nullptr while plain text.
TSyntaxParser* DocumentParser(TChildForm& form);
// File name (relative to "Syntax Definitions") of the attached definition.
std::string DocumentSyntaxFile(TChildForm& form);

// Attaches the definition fileName to the document: loads it into the
// document's own highlighter, gives it the program's style colours and the
// window the definition's icon. On a load failure shows "File "%s" corrupted or invalid file format." and leaves
// the document plain text; returns whether it was attached.
bool ZmenSyntaxParser(TChildForm& form, const std::string& fileName, const TSyntaxContext& context);
// Gives the attached highlighter (if any) the current style colours and the
// editor font again.
void UpdateSyntaxParser(TChildForm& form, const TTextStyles& styles);
// Back to plain text, with the generic text icon.
void SyntaxNone(TChildForm& form, const TSyntaxContext& context);
// For a newly created or opened document: the catalog's default definition
// when the document has no file name, else the definition its file's
// extension selects. Returns whether one was attached.
bool ChooseSyntax(TChildForm& form, const TSyntaxContext& context);

// The program's styles as the view's style list.
std::vector<TMemoTextStyle> ToMemoTextStyles(const TTextStyles& styles);
// Copies the program's styles into both views of the document and refreshes
// its highlighter's colours.
void ApplyTextStyles(TChildForm& form, const TTextStyles& styles);

// Commands of the View menu; a null form (no active text document) disables
// them. Both views of a split document change together; the checked state
// follows the active view.
struct TSyntaxCommandState {
    bool enabled = false;
    bool checked = false;
};
void ViewColorSyntaxExecute(TChildForm* form);
TSyntaxCommandState ViewColorSyntaxUpdate(TChildForm* form);
void ViewHighlightURLsExecute(TChildForm* form);
TSyntaxCommandState ViewHighlightURLsUpdate(TChildForm* form);
void ViewSpecialSymbolsExecute(TChildForm* form);
TSyntaxCommandState ViewSpecialSymbolsUpdate(TChildForm* form);

// The definition items of the "Syntax" menu: one per catalog entry, captioned
// with the definition's Name, inserted above the "None (Plain Text)" item.
class TSyntaxMenu : public QObject {
public:
    // noneAction: the menu's "None (Plain Text)" item (the items go above it).
    TSyntaxMenu(QMenu& menu, QAction& noneAction, TSyntaxContext context, QObject* parent = nullptr);

    // The active text document; unset or null: items are disabled.
    std::function<TChildForm*()> ActiveForm;

    // Replaces the definition items with the catalog's current entries.
    void Rebuild();
    // Enables and checks the items for the active document.
    void UpdateItems();
    const std::vector<QAction*>& Items() const { return m_items; }
    // What choosing an item does: attaches the definition named caption
    // (first match ignoring case) to the active document.
    void Choose(const QString& caption);
    // What "None (Plain Text)" does.
    void ChooseNone();

private:
    QMenu& m_menu;
    QAction& m_none;
    TSyntaxContext m_context;
    std::vector<QAction*> m_items;
};

} // namespace quillet
