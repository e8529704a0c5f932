#include "app/ui/CommandBindings.h"

#include "app/CommandTable.h"
#include "text/MemoOptions.h"
#include "text/ui/ChildForm.h"
#include "text/ui/TarnMemo.h"

#include <QMdiArea>
#include <QMdiSubWindow>

#include <algorithm>
#include <string>

namespace quillet {

namespace {

using TFormTest = std::function<bool(TChildForm&)>;
using TFormAction = std::function<void(TChildForm&)>;

// Binds a command that needs an active text document; `enabled` adds its own
// condition and `checked` its check state.
void BindForm(TCommandRegistry& registry,
    const TActiveTextDocument& active,
    std::string_view name,
    TFormAction execute,
    TFormTest enabled = {},
    TFormTest checked = {})
{
    registry.Bind(
        name,
        [active, execute = std::move(execute)] {
            if (TChildForm* form = active()) {
                execute(*form);
            }
        },
        [active, enabled = std::move(enabled), checked = std::move(checked)](TCommandState& state) {
            TChildForm* form = active();
            state.enabled = form != nullptr && (!enabled || enabled(*form));
            state.checked = form != nullptr && checked && checked(*form);
        });
}

bool HasDocuments(QMdiArea* area)
{
    return !area->subWindowList().isEmpty();
}

// Places the visible windows side by side (vertical) or one above another.
void Tile(QMdiArea* area, bool sideBySide)
{
    QList<QMdiSubWindow*> windows;
    for (QMdiSubWindow* child : area->subWindowList(QMdiArea::StackingOrder)) {
        if (!child->isMinimized() && child->isVisible()) {
            windows.append(child);
        }
    }
    if (windows.isEmpty()) {
        return;
    }
    const QRect room = area->viewport()->rect();
    const int count = static_cast<int>(windows.size());
    for (int i = 0; i < count; ++i) {
        QMdiSubWindow* child = windows[i];
        if (child->isMaximized()) {
            child->showNormal();
        }
        QRect cell;
        if (sideBySide) {
            const int left = room.width() * i / count;
            cell = QRect(left, 0, room.width() * (i + 1) / count - left, room.height());
        } else {
            const int top = room.height() * i / count;
            cell = QRect(0, top, room.width(), room.height() * (i + 1) / count - top);
        }
        child->setGeometry(cell);
    }
}

// Lines the minimized windows up along the bottom of the document area.
void ArrangeMinimized(QMdiArea* area)
{
    const QRect room = area->viewport()->rect();
    int x = 0;
    int y = room.bottom();
    for (QMdiSubWindow* child : area->subWindowList(QMdiArea::CreationOrder)) {
        if (!child->isMinimized()) {
            continue;
        }
        const QSize size = child->size();
        if (x > 0 && x + size.width() > room.width()) {
            x = 0;
            y -= size.height();
        }
        child->move(x, y - size.height() + 1);
        x += size.width();
    }
}

} // namespace

TChildForm* CurrentTextDocument(QMdiArea* area)
{
    return area == nullptr ? nullptr : qobject_cast<TChildForm*>(area->currentSubWindow());
}

void BindTextDocumentCommands(TCommandRegistry& registry, TActiveTextDocument active)
{
    auto split = [](TChildForm& form) {
        return form.IsSplit();
    };
    BindForm(registry, active, "ViewSplit", &TChildForm::ToggleSplit, {}, split);
    BindForm(registry, active, "CompareRotateView", &TChildForm::RotateView, split);
    BindForm(registry,
        active,
        "ViewSynchronizeScroll",
        &TChildForm::ToggleSynchronizedScrolling,
        split,
        [](TChildForm& form) {
            return form.SynchronizedScrolling();
        });
    BindForm(registry, active, "ViewSwitch", &TChildForm::SelectSecondWindow, split);
    BindForm(registry, active, "ViewLineNumbers", &TChildForm::ToggleLineNumbers, {}, [](TChildForm& form) {
        return HasOption(form.Memo().Options(), moLineNumbers);
    });
    BindForm(registry, active, "ViewWordWrap", &TChildForm::ToggleWordWrap, {}, [](TChildForm& form) {
        return form.Memo().WordWrap();
    });
    BindForm(registry, active, "ViewCollapse", &TChildForm::CollapseLines, [](TChildForm& form) {
        return form.CanCollapse();
    });
    BindForm(registry, active, "ViewExpand", &TChildForm::ExpandLines, [](TChildForm& form) {
        return form.CanCollapse();
    });
    BindForm(registry, active, "ViewExpandAll", &TChildForm::ExpandAll, [](TChildForm& form) {
        return form.CanExpandAll();
    });
    BindForm(
        registry,
        active,
        "ViewReadOnly",
        [](TChildForm& form) {
            form.MemoSource().SetReadOnly(!form.MemoSource().ReadOnly());
        },
        {},
        [](TChildForm& form) {
            return form.MemoSource().ReadOnly();
        });

    BindForm(registry, active, "SearchToggleBookmark", &TChildForm::ToggleBookmark);
    BindForm(registry, active, "SearchToggleBreakpoint", &TChildForm::ToggleBreakpoint);
    BindForm(registry, active, "SearchClearAllBookmark", &TChildForm::ClearAllBookmarks, [](TChildForm& form) {
        return form.AnyBookmarkUsed();
    });
    for (int digit = 0; digit <= 9; ++digit) {
        // Slot 10 holds bookmark 0.
        const int slot = digit == 0 ? 10 : digit;
        // Shown only for used slots, captioned with the bookmarked line.
        const std::string goTo = "SearchGoToBookmark" + std::to_string(digit);
        registry.Bind(
            goTo,
            [active, digit] {
                if (TChildForm* form = active()) {
                    form->GoToBookmark(digit);
                }
            },
            [active, slot](TCommandState& state) {
                TChildForm* form = active();
                state.enabled = form != nullptr && form->BookmarkSlotUsed(slot);
                state.visible = state.enabled;
                if (state.enabled) {
                    state.caption = form->BookmarkCaption(slot).toStdString();
                }
            });
        // Action2 .. Action11 set or clear bookmarks 0 .. 9.
        const std::string toggle = "Action" + std::to_string(digit + 2);
        BindForm(registry, active, toggle, [digit](TChildForm& form) {
            form.ToggleNumberedBookmark(digit);
        });
    }
    // The keys of these two are taken so they reach no editor.
    registry.Bind("Action1", [] {});
    registry.Bind("Action12", [] {});

    auto writable = [](TChildForm& form) {
        return !form.MemoSource().ReadOnly();
    };
    BindForm(
        registry,
        active,
        "EditUndo",
        [](TChildForm& form) {
            form.MemoSource().Undo();
        },
        [](TChildForm& form) {
            return !form.MemoSource().ReadOnly() && form.MemoSource().UndoAvailable();
        });
    BindForm(
        registry,
        active,
        "EditRedo",
        [](TChildForm& form) {
            form.MemoSource().Redo();
        },
        [](TChildForm& form) {
            return !form.MemoSource().ReadOnly() && form.MemoSource().RedoAvailable();
        });
    BindForm(
        registry,
        active,
        "EditCut",
        [](TChildForm& form) {
            form.ActiveMemo().CutToClipboard();
        },
        [](TChildForm& form) {
            return !form.MemoSource().ReadOnly() && form.MemoSource().CanCopy();
        });
    BindForm(
        registry,
        active,
        "EditCopy",
        [](TChildForm& form) {
            form.ActiveMemo().CopyToClipboard();
        },
        [](TChildForm& form) {
            return form.MemoSource().CanCopy();
        });
    BindForm(
        registry,
        active,
        "EditPaste",
        [](TChildForm& form) {
            form.ActiveMemo().PasteFromClipboard();
        },
        [writable](TChildForm& form) {
            return writable(form) && form.MemoSource().CanPaste();
        });
    BindForm(registry, active, "EditSelectAll", [](TChildForm& form) {
        form.MemoSource().SelectAll();
    });
}

void BindWindowCommands(TCommandRegistry& registry, QMdiArea* area)
{
    auto exists = [area](TCommandState& state) {
        state.enabled = HasDocuments(area);
    };
    registry.Bind(
        "WindowCascade",
        [area] {
            area->cascadeSubWindows();
        },
        exists);
    registry.Bind(
        "WindowTileHorizontal",
        [area] {
            Tile(area, false);
        },
        exists);
    registry.Bind(
        "WindowTileVertical",
        [area] {
            Tile(area, true);
        },
        exists);
    registry.Bind(
        "WindowMinimizeAll",
        [area] {
            for (QMdiSubWindow* child : area->subWindowList()) {
                child->showMinimized();
            }
        },
        exists);
    registry.Bind(
        "WindowArrangeAll",
        [area] {
            ArrangeMinimized(area);
        },
        exists);
    registry.Bind(
        "WindowPrior",
        [area] {
            area->activatePreviousSubWindow();
        },
        exists);
    registry.Bind(
        "WindowNext",
        [area] {
            area->activateNextSubWindow();
        },
        exists);
    // Closing the active document window goes through its own close question.
    registry.Bind(
        "WindowClose",
        [area] {
            if (QMdiSubWindow* child = area->currentSubWindow()) {
                child->close();
            }
        },
        exists);
}

} // namespace quillet
