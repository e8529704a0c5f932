// The main window's commands while a binary document window is active; with
// another window active each command keeps its earlier operations.
#include "app/CommandTable.h"
#include "app/ui/BinaryDocuments.h"
#include "app/ui/DocumentManager.h"
#include "app/ui/QuilletMainForm.h"
#include "hex/HexDocument.h"
#include "hex/ui/BinaryForm.h"
#include "platform/IClipboard.h"
#include "text/ui/ChildForm.h"
#include "text/ui/ClipboardSlots.h"

#include <QCoreApplication>
#include <QMdiArea>

#include <string>

namespace quillet {

namespace {

bool Writable(TBinaryForm& form)
{
    return !form.ReadOnly();
}

} // namespace

void TBinaryDocuments::BindCommands(TCommandRegistry& registry)
{
    BindFileCommands(registry);
    BindAllWindowsCommands(registry);
    BindEditCommands(registry);
    BindSearchCommands(registry);
    BindActive(registry, "ViewSpecialSymbols", &TBinaryForm::ToggleSpecialSymbols, {}, &TBinaryForm::SpecialSymbols);
    BindActive(registry, "ViewColorSyntax", &TBinaryForm::ToggleColorSyntax, {}, &TBinaryForm::ColorSyntax);
}

void TBinaryDocuments::BindActive(
    TCommandRegistry& registry, std::string_view name, TFormAction execute, TFormTest enabled, TFormTest checked)
{
    registry.BindOver(
        name,
        [this] {
            return Active() != nullptr;
        },
        [this, execute] {
            if (TBinaryForm* form = Active()) {
                execute(*form);
            }
        },
        [this, enabled, checked](TCommandState& state) {
            TBinaryForm* form = Active();
            state.enabled = form != nullptr && (!enabled || enabled(*form));
            state.checked = form != nullptr && checked && checked(*form);
        });
}

void TBinaryDocuments::BindFileCommands(TCommandRegistry& registry)
{
    registry.Bind("FileNewHex", [this] {
        New();
    });
    registry.BindOver(
        "ViewAsHex",
        [] {
            return true;
        },
        [this] {
            if (auto* text = qobject_cast<TChildForm*>(m_mainForm.MdiArea()->currentSubWindow())) {
                ViewAsBinary(*text);
            }
        },
        [this](TCommandState& state) {
            auto* text = qobject_cast<TChildForm*>(m_mainForm.MdiArea()->currentSubWindow());
            state.enabled = text != nullptr && !text->FileName().empty();
        });

    BindActive(
        registry,
        "FileSave",
        [this](TBinaryForm& f) {
            Save(f);
        },
        [](TBinaryForm& f) {
            return f.IsModified();
        });
    BindActive(registry, "FileSaveAs", [this](TBinaryForm& f) {
        SaveAs(f);
    });
    BindActive(registry, "FileClose", [](TBinaryForm& f) {
        f.close();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    });
    BindDisabled(registry, "FileRevert");
    BindDisabled(registry, "FileReopenCP");
    BindActive(registry, "ViewReadOnly", &TBinaryForm::ToggleReadOnly, {}, &TBinaryForm::ReadOnly);
}

// Close All and Save All take the binary windows in beside what they did before.
void TBinaryDocuments::BindAllWindowsCommands(TCommandRegistry& registry)
{
    BindOverAllWindows(
        registry,
        "FileCloseAll",
        [](TBinaryForm& f) {
            if (!f.close()) {
                return false;
            }
            QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
            return true;
        },
        [this] {
            return m_mainForm.DocumentWindows().size() > 1;
        });
    BindOverAllWindows(
        registry,
        "FileSaveAll",
        [this](TBinaryForm& f) {
            if (f.IsModified()) {
                Save(f);
            }
            return true;
        },
        [this] {
            bool modified = false;
            for (TBinaryForm* f : Forms()) {
                modified = modified || f->IsModified();
            }
            return m_mainForm.DocumentWindows().size() > 1 && modified;
        });
}

void TBinaryDocuments::BindOverAllWindows(
    TCommandRegistry& registry, std::string_view name, TFormTest eachForm, std::function<bool()> alsoEnabled)
{
    TCommandRegistry::TExecute earlier = registry.ExecuteOf(name);
    TCommandRegistry::TUpdate earlierUpdate = registry.UpdateOf(name);
    registry.BindOver(
        name,
        [this] {
            return !Forms().empty();
        },
        [this, earlier, eachForm] {
            const std::vector<TBinaryForm*> forms = Forms();
            for (auto it = forms.rbegin(); it != forms.rend(); ++it) {
                if (!eachForm(**it)) {
                    return;
                }
            }
            if (earlier) {
                earlier();
            }
        },
        [earlierUpdate, alsoEnabled](TCommandState& state) {
            if (earlierUpdate) {
                earlierUpdate(state);
            }
            state.enabled = state.enabled || alsoEnabled();
        });
}

void TBinaryDocuments::BindDisabled(TCommandRegistry& registry, std::string_view name)
{
    BindActive(
        registry,
        name,
        [](TBinaryForm&) {},
        [](TBinaryForm&) {
            return false;
        });
}

void TBinaryDocuments::BindEditCommands(TCommandRegistry& registry)
{
    BindActive(registry, "EditUndo", &TBinaryForm::Undo, &TBinaryForm::CanUndo);
    BindDisabled(registry, "EditRedo");
    BindActive(registry, "EditCopy", &TBinaryForm::Copy, &TBinaryForm::HasSelection);
    BindActive(registry, "EditCut", &TBinaryForm::Cut, [](TBinaryForm& f) {
        return f.HasSelection() && !f.ReadOnly();
    });
    BindActive(registry, "EditPaste", &TBinaryForm::Paste, [this](TBinaryForm& f) {
        return Writable(f) && m_clipboard != nullptr && m_clipboard->HasText();
    });
    for (int slot = 2; slot <= 4; ++slot) {
        BindActive(
            registry,
            "EditPaste" + std::to_string(slot),
            [this, slot](TBinaryForm& f) {
                if (m_slots != nullptr) {
                    f.PasteText(m_slots->History().Slot(slot));
                }
            },
            [this, slot](TBinaryForm& f) {
                return Writable(f) && m_slots != nullptr && !m_slots->History().IsSlotEmpty(slot);
            });
    }
    BindActive(
        registry,
        "EditPasteAll",
        [this](TBinaryForm& f) {
            if (m_slots != nullptr) {
                f.PasteText(m_slots->History().PasteAllText());
            }
        },
        [this](TBinaryForm& f) {
            return Writable(f) && m_slots != nullptr && m_slots->History().AnySlotFilled();
        });
    BindActive(registry, "EditSelectAll", &TBinaryForm::SelectAll, [](TBinaryForm& f) {
        return f.Document().GetDataSize() > 0;
    });
}

void TBinaryDocuments::BindSearchCommands(TCommandRegistry& registry)
{
    const TFormTest idle = [](TBinaryForm& f) {
        return !f.IsBusy();
    };
    BindActive(registry, "SearchFind", &TBinaryForm::Find, idle);
    BindActive(registry, "SearchFindNext", &TBinaryForm::FindNext, idle);
    BindActive(registry, "SearchReplace", &TBinaryForm::Replace, [idle](TBinaryForm& f) {
        return idle(f) && Writable(f);
    });
    BindDisabled(registry, "SearchFindPrevious");
    BindActive(registry, "SearchGoToLine", &TBinaryForm::GoToOffset);
    BindActive(registry, "SearchToggleBookmark", &TBinaryForm::ToggleBookmark);
    BindActive(registry, "SearchClearAllBookmark", &TBinaryForm::ClearAllBookmarks, &TBinaryForm::AnyBookmarkSet);
    for (int digit = 0; digit <= 9; ++digit) {
        registry.BindOver(
            "SearchGoToBookmark" + std::to_string(digit),
            [this] {
                return Active() != nullptr;
            },
            [this, digit] {
                if (TBinaryForm* form = Active()) {
                    form->GoToBookmark(digit);
                }
            },
            [this, digit](TCommandState& state) {
                TBinaryForm* form = Active();
                state.enabled = form != nullptr && form->BookmarkSet(digit);
                state.visible = state.enabled;
                if (state.enabled) {
                    state.caption = form->BookmarkCaption(digit).toStdString();
                }
            });
        BindActive(registry, "Action" + std::to_string(digit + 2), [digit](TBinaryForm& f) {
            f.ToggleNumberedBookmark(digit);
        });
    }
}

} // namespace quillet
