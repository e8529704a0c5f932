// The project commands of the main window and their enabling rules.
#include "app/CommandTable.h"
#include "app/DocumentOpener.h"
#include "app/ui/DocumentManager.h"
#include "app/ui/ProjectManager.h"
#include "app/ui/ProjectTreePanel.h"
#include "app/ui/QuilletMainForm.h"
#include "app/ui/RecentMenu.h"
#include "app/ui/ShellUi.h"
#include "app/ui/StateCommandBindings.h"
#include "core/CodePages.h"
#include "text/ui/ChildForm.h"
#include "tools/ui/FindInFiles.h"

#include <QCoreApplication>
#include <QMdiArea>
#include <QMdiSubWindow>

namespace quillet {

void BindProjectCommands(TQuilletMainForm& form, TDocumentManager& documents, TProjectManager& projects)
{
    TCommandRegistry& commands = form.Commands();
    TProjectManager* p = &projects;
    TDocumentManager* d = &documents;
    QMdiArea* area = form.MdiArea();
    const auto isOpen = [p](TCommandState& state) {
        state.enabled = p->IsOpen();
    };
    commands.Bind("ProjectNew", [p] {
        p->NewProject();
    });
    commands.Bind("ProjectOpen", [p] {
        p->OpenProjectDialog();
    });
    commands.Bind(
        "ProjectClose",
        [p] {
            p->CloseProject();
        },
        isOpen);
    commands.Bind(
        "ProjectSave",
        [p] {
            p->Save();
        },
        [p](TCommandState& state) {
            state.enabled = p->IsModified();
        });
    commands.Bind(
        "ProjectSaveAs",
        [p] {
            p->SaveAs();
        },
        isOpen);
    commands.Bind(
        "ProjectAdd",
        [p] {
            p->AddActive();
        },
        [p, area](TCommandState& state) {
            QMdiSubWindow* active = area->currentSubWindow();
            state.enabled = p->IsOpen() && active != nullptr && !TProjectManager::DocumentName(active).empty()
                && p->IndexOf(active) < 0;
        });
    commands.Bind(
        "ProjectRemove",
        [p] {
            p->RemoveActive();
        },
        [p, area](TCommandState& state) {
            state.enabled = p->IsOpen() && p->IndexOf(area->currentSubWindow()) > 0;
        });
    commands.Bind(
        "ProjectAddExt",
        [p] {
            p->AddFilesDialog();
        },
        isOpen);
    const auto fileNodeSelected = [p](TCommandState& state) {
        state.enabled = p->IsOpen() && !p->Panel().SelectedFile().isEmpty();
    };
    commands.Bind(
        "ProjectRemoveExt",
        [p] {
            if (p->Project() != nullptr) {
                p->RemoveEntry(p->Project()->GetProjectIndex(ToFileName(p->Panel().SelectedFile())));
            }
        },
        fileNodeSelected);
    commands.Bind(
        "ProjectOpenFile",
        [p] {
            p->OpenEntry(ToFileName(p->Panel().SelectedFile()));
        },
        fileNodeSelected);
    commands.Bind(
        "ViewProjectTree",
        [p] {
            p->Panel().setVisible(p->Panel().isHidden());
        },
        [p](TCommandState& state) {
            state.enabled = true;
            state.checked = !p->Panel().isHidden();
        });
    commands.Bind(
        "FileOpen2",
        [p, &form] {
            const QString file = p->Panel().SelectedBrowserFile();
            if (!file.isEmpty()) {
                TOpenRequest request;
                request.fileName = ToFileName(file);
                request.codePageIndex = GetDefaultCP();
                request.closeEmptyActive = true;
                form.DocumentOpener().CreateMDIChild(request);
            }
        },
        [p](TCommandState& state) {
            state.enabled = !p->Panel().SelectedBrowserFile().isEmpty();
        });

    // Close All and Save All take the project in: it closes first, and it is
    // saved after its documents.
    commands.Bind(
        "FileCloseAll",
        [p, d] {
            if (p->CloseProject()) {
                QCoreApplication::processEvents();
                d->CloseAll();
            }
        },
        [p, d](TCommandState& state) {
            const std::size_t count = d->Forms().size();
            state.enabled = count > 1 || (count == 1 && p->IsOpen());
        });
    commands.Bind(
        "FileSaveAll",
        [p, d] {
            if (d->SaveAll() && p->IsModified()) {
                p->Save();
            }
        },
        [p, d](TCommandState& state) {
            const std::vector<TChildForm*> forms = d->Forms();
            bool modified = false;
            for (TChildForm* f : forms) {
                modified = modified || f->MemoSource().Modified();
            }
            state.enabled = (forms.size() > 1 && modified) || (!forms.empty() && p->IsModified());
        });
}

void ConnectProjects(TDocumentManager& documents, TStateCommands& state, TProjectManager& projects)
{
    TProjectManager* p = &projects;
    documents.OnOpenProject = [p](const std::string& file) {
        return p->OpenProject(file);
    };
    state.ProjectTakesFile = [p](const std::string& file, int codePageIndex, int type) {
        return p->TakeFileUse(file, codePageIndex, type);
    };
    TDocumentManager* d = &documents;
    state.Recent().OnOpenProject = [d](const std::string& file) {
        TOpenRequest request;
        request.fileName = file;
        request.closeEmptyActive = true;
        return d->CreateMDIChild(request);
    };
}

void ConnectFindInFiles(TFindInFiles& findInFiles, TProjectManager& projects)
{
    TProjectManager* p = &projects;
    findInFiles.SetProjectMembers([p]() -> std::optional<std::vector<std::string>> {
        if (!p->IsOpen()) {
            return std::nullopt;
        }
        return p->MemberNames();
    });
}

} // namespace quillet
