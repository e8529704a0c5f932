#pragma once

#include <QObject>
#include <QString>

#include <filesystem>
#include <functional>
#include <string_view>
#include <vector>

class QMdiArea;

namespace quillet {

class IClipboard;
class TBinaryForm;
class TChildForm;
class TClipboardSlots;
class TCommandRegistry;
class TDocumentManager;
class TQuilletMainForm;
class TTextStyles;

// The binary documents of the main window: opening a file as bytes, New
// Binary, View as Binary File, saving and closing them, and the commands of
// the main window while a binary window is active (they fall back to their
// text-document operations otherwise).
class TBinaryDocuments : public QObject {
    Q_OBJECT

public:
    TBinaryDocuments(TQuilletMainForm& mainForm, TDocumentManager& documents);

    void SetClipboard(IClipboard* clipboard) { m_clipboard = clipboard; }
    void SetTextStyles(const TTextStyles* styles) { m_styles = styles; }
    void SetClipboardSlots(TClipboardSlots* clipboardSlots) { m_slots = clipboardSlots; }

    // Opens an existing file in a binary window; false (with the message shown) when it cannot be read.
    bool Open(const std::filesystem::path& file, bool readOnly);
    TBinaryForm* New();
    // A binary window for a text document's file, holding its current content.
    TBinaryForm* ViewAsBinary(TChildForm& text);
    bool Save(TBinaryForm& form);
    bool SaveAs(TBinaryForm& form);
    // Re-reads the "HexEditor" and editor settings and applies them to every binary window.
    void ApplySettings();

    TBinaryForm* Active() const;
    std::vector<TBinaryForm*> Forms() const;

    // Binds the binary side of the commands over the bindings made so far.
    void BindCommands(TCommandRegistry& registry);

private:
    using TFormAction = std::function<void(TBinaryForm&)>;
    using TFormTest = std::function<bool(TBinaryForm&)>;
    // Binds a command over its earlier binding while a binary window is
    // active: it runs on that window and is enabled (and checked) as the
    // tests say.
    void BindActive(TCommandRegistry& registry,
        std::string_view name,
        TFormAction execute,
        TFormTest enabled = {},
        TFormTest checked = {});
    // Binds a command that a binary window has no use for: disabled while
    // one is active.
    void BindDisabled(TCommandRegistry& registry, std::string_view name);
    // Binds a command over its earlier binding while any binary window is
    // open: eachForm runs on the binary windows, the newest first, until it
    // answers false; when none did, the earlier operation follows. The
    // command shows the earlier state, enabled also when alsoEnabled says so.
    void BindOverAllWindows(
        TCommandRegistry& registry, std::string_view name, TFormTest eachForm, std::function<bool()> alsoEnabled);
    void BindFileCommands(TCommandRegistry& registry);
    void BindAllWindowsCommands(TCommandRegistry& registry);
    void BindEditCommands(TCommandRegistry& registry);
    void BindSearchCommands(TCommandRegistry& registry);
    TBinaryForm* NewForm();
    void Add(TBinaryForm* form);
    void ShowStatus(TBinaryForm* form);
    void Apply(TBinaryForm& form);
    // Saves with the read-only and failure messages of the shell.
    bool WriteTo(TBinaryForm& form, const std::filesystem::path& file);

    TQuilletMainForm& m_mainForm;
    TDocumentManager& m_documents;
    IClipboard* m_clipboard = nullptr;
    const TTextStyles* m_styles = nullptr;
    TClipboardSlots* m_slots = nullptr;
};

} // namespace quillet
