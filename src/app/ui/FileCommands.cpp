#include "app/ui/FileCommands.h"

#include "app/ui/DocumentManager.h"
#include "text/ui/ChildForm.h"

namespace quillet {

std::vector<TFileCommand> FileCommands(TDocumentManager& manager)
{
    TDocumentManager* m = &manager;
    auto active = [m] {
        return m->ActiveForm();
    };
    auto always = [] {
        return true;
    };
    auto withActive = [active](auto body) {
        return [active, body] {
            if (TChildForm* form = active()) {
                body(*form);
            }
        };
    };
    std::vector<TFileCommand> commands;
    commands.push_back({"FileNew",
        [m] {
            m->New();
        },
        always,
        {}});
    commands.push_back({"FileOpen",
        [m] {
            m->Open();
        },
        always,
        {}});
    commands.push_back({"FileClose",
        [m] {
            m->Close();
        },
        [active] {
            return active() != nullptr;
        },
        {}});
    // A project counts here once projects exist; until then only documents do.
    commands.push_back({"FileCloseAll",
        [m] {
            m->CloseAll();
        },
        [m] {
            return m->Forms().size() > 1;
        },
        {}});
    commands.push_back({"FileSave",
        withActive([m](TChildForm& form) {
            m->Save(form);
        }),
        [active] {
            return active() != nullptr && active()->MemoSource().Modified();
        },
        {}});
    commands.push_back({"FileSaveAs",
        withActive([m](TChildForm& form) {
            m->SaveAs(form);
        }),
        [active] {
            return active() != nullptr;
        },
        {}});
    commands.push_back({"FileSaveAll",
        [m] {
            m->SaveAll();
        },
        [m] {
            const std::vector<TChildForm*> forms = m->Forms();
            if (forms.size() < 2) {
                return false;
            }
            for (TChildForm* form : forms) {
                if (form->MemoSource().Modified()) {
                    return true;
                }
            }
            return false;
        },
        {}});
    commands.push_back({"FileRevert",
        withActive([m](TChildForm& form) {
            m->Revert(form);
        }),
        [active] {
            TChildForm* form = active();
            return form != nullptr && !form->FileName().empty() && form->MemoSource().Modified();
        },
        {}});
    commands.push_back({"FileReopenCP",
        withActive([m](TChildForm& form) {
            m->ReopenInOtherCodePage(form);
        }),
        [active] {
            return active() != nullptr && !active()->FileName().empty();
        },
        {}});
    commands.push_back({"ViewReadOnly",
        withActive([m](TChildForm& form) {
            m->ToggleReadOnly(form);
        }),
        [active] {
            return active() != nullptr;
        },
        [active] {
            return active() != nullptr && active()->MemoSource().ReadOnly();
        }});
    return commands;
}

} // namespace quillet
