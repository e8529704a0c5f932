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

using TTest = std::function<bool(TBinaryForm&)>;
using TAction = std::function<void(TBinaryForm&)>;

} // namespace

void TBinaryDocuments::BindCommands(TCommandRegistry& registry)
{
    const auto applies = [this] {
        return Active() != nullptr;
    };
    const auto bind = [&](std::string_view name, TAction execute, TTest enabled = {}, TTest checked = {}) {
        registry.BindOver(
            name,
            applies,
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
    };
    const TTest writable = [](TBinaryForm& f) {
        return !f.ReadOnly();
    };

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

    // ---- file --------------------------------------------------------------------------
    bind(
        "FileSave",
        [this](TBinaryForm& f) {
            Save(f);
        },
        [](TBinaryForm& f) {
            return f.IsModified();
        });
    bind("FileSaveAs", [this](TBinaryForm& f) {
        SaveAs(f);
    });
    bind("FileClose", [](TBinaryForm& f) {
        f.close();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    });
    bind(
        "FileRevert",
        [](TBinaryForm&) {},
        [](TBinaryForm&) {
            return false;
        });
    bind(
        "FileReopenCP",
        [](TBinaryForm&) {},
        [](TBinaryForm&) {
            return false;
        });
    bind("ViewReadOnly", &TBinaryForm::ToggleReadOnly, {}, &TBinaryForm::ReadOnly);
    // Close All and Save All take the binary windows in beside what they did before.
    const auto anyBinary = [this] {
        return !Forms().empty();
    };
    {
        TCommandRegistry::TExecute earlier = registry.ExecuteOf("FileCloseAll");
        TCommandRegistry::TUpdate earlierUpdate = registry.UpdateOf("FileCloseAll");
        registry.BindOver(
            "FileCloseAll",
            anyBinary,
            [this, earlier] {
                const std::vector<TBinaryForm*> forms = Forms();
                for (auto it = forms.rbegin(); it != forms.rend(); ++it) {
                    if (!(*it)->close()) {
                        return;
                    }
                    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
                }
                if (earlier) {
                    earlier();
                }
            },
            [this, earlierUpdate](TCommandState& state) {
                if (earlierUpdate) {
                    earlierUpdate(state);
                }
                state.enabled = state.enabled || m_mainForm.DocumentWindows().size() > 1;
            });
        TCommandRegistry::TExecute earlierSave = registry.ExecuteOf("FileSaveAll");
        TCommandRegistry::TUpdate earlierSaveUpdate = registry.UpdateOf("FileSaveAll");
        registry.BindOver(
            "FileSaveAll",
            anyBinary,
            [this, earlierSave] {
                const std::vector<TBinaryForm*> forms = Forms();
                for (auto it = forms.rbegin(); it != forms.rend(); ++it) {
                    if ((*it)->IsModified()) {
                        Save(**it);
                    }
                }
                if (earlierSave) {
                    earlierSave();
                }
            },
            [this, earlierSaveUpdate](TCommandState& state) {
                if (earlierSaveUpdate) {
                    earlierSaveUpdate(state);
                }
                bool modified = false;
                for (TBinaryForm* f : Forms()) {
                    modified = modified || f->IsModified();
                }
                state.enabled = state.enabled || (m_mainForm.DocumentWindows().size() > 1 && modified);
            });
    }

    // ---- edit --------------------------------------------------------------------------
    bind("EditUndo", &TBinaryForm::Undo, &TBinaryForm::CanUndo);
    bind(
        "EditRedo",
        [](TBinaryForm&) {},
        [](TBinaryForm&) {
            return false;
        });
    bind("EditCopy", &TBinaryForm::Copy, &TBinaryForm::HasSelection);
    bind("EditCut", &TBinaryForm::Cut, [](TBinaryForm& f) {
        return f.HasSelection() && !f.ReadOnly();
    });
    bind("EditPaste", &TBinaryForm::Paste, [this, writable](TBinaryForm& f) {
        return writable(f) && m_clipboard != nullptr && m_clipboard->HasText();
    });
    for (int slot = 2; slot <= 4; ++slot) {
        bind(
            "EditPaste" + std::to_string(slot),
            [this, slot](TBinaryForm& f) {
                if (m_slots != nullptr) {
                    f.PasteText(m_slots->History().Slot(slot));
                }
            },
            [this, slot, writable](TBinaryForm& f) {
                return writable(f) && m_slots != nullptr && !m_slots->History().IsSlotEmpty(slot);
            });
    }
    bind(
        "EditPasteAll",
        [this](TBinaryForm& f) {
            if (m_slots != nullptr) {
                f.PasteText(m_slots->History().PasteAllText());
            }
        },
        [this, writable](TBinaryForm& f) {
            return writable(f) && m_slots != nullptr && m_slots->History().AnySlotFilled();
        });
    bind("EditSelectAll", &TBinaryForm::SelectAll, [](TBinaryForm& f) {
        return f.Document().GetDataSize() > 0;
    });

    // ---- search ------------------------------------------------------------------------
    const TTest idle = [](TBinaryForm& f) {
        return !f.IsBusy();
    };
    bind("SearchFind", &TBinaryForm::Find, idle);
    bind("SearchFindNext", &TBinaryForm::FindNext, idle);
    bind("SearchReplace", &TBinaryForm::Replace, [idle, writable](TBinaryForm& f) {
        return idle(f) && writable(f);
    });
    bind(
        "SearchFindPrevious",
        [](TBinaryForm&) {},
        [](TBinaryForm&) {
            return false;
        });
    bind("SearchGoToLine", &TBinaryForm::GoToOffset);
    bind("SearchToggleBookmark", &TBinaryForm::ToggleBookmark);
    bind("SearchClearAllBookmark", &TBinaryForm::ClearAllBookmarks, &TBinaryForm::AnyBookmarkSet);
    for (int digit = 0; digit <= 9; ++digit) {
        registry.BindOver(
            "SearchGoToBookmark" + std::to_string(digit),
            applies,
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
        bind("Action" + std::to_string(digit + 2), [digit](TBinaryForm& f) {
            f.ToggleNumberedBookmark(digit);
        });
    }

    // ---- view --------------------------------------------------------------------------
    bind("ViewSpecialSymbols", &TBinaryForm::ToggleSpecialSymbols, {}, &TBinaryForm::SpecialSymbols);
    bind("ViewColorSyntax", &TBinaryForm::ToggleColorSyntax, {}, &TBinaryForm::ColorSyntax);
}

} // namespace quillet
