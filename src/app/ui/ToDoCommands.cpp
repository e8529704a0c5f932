#include "app/ui/ToDoCommands.h"

#include "app/CommandTable.h"
#include "app/ui/CommandActions.h"
#include "app/ui/CommandBindings.h"
#include "app/ui/ProjectManager.h"
#include "app/ui/QuilletMainForm.h"
#include "core/Translations.h"
#include "text/MemoSource.h"
#include "text/ui/ChildForm.h"
#include "tools/ProjectToDo.h"
#include "tools/ToDoDocument.h"
#include "tools/ui/ProjectToDoForm.h"
#include "tools/ui/ToDoForm.h"
#include "tools/ui/ToDoItemForm.h"
#include "tools/ui/ToDoProgress.h"

#include <QApplication>

namespace quillet {

namespace {

QString T(std::string_view key, std::string_view english)
{
    return QString::fromStdString(LangStr(key, english));
}

void AddToDoItem(QWidget* parent, TChildForm& document)
{
    TMemoSource& source = document.MemoSource();
    std::vector<std::string> owners;
    std::vector<std::string> categories;
    {
        QApplication::setOverrideCursor(Qt::WaitCursor);
        TToDoProgress progress(parent,
            T("BuildingOwnerCategoryList", "Building Owner and Category list. Please wait..."),
            source.GetStrCount() - 1);
        for (const TToDoItem& item : ScanToDoItems(ToDoLinesOf(source), [&progress](int line) {
                 progress.SetPosition(line);
             })) {
            AddDistinct(owners, item.owner);
            AddDistinct(categories, item.category);
        }
        QApplication::restoreOverrideCursor();
    }
    TToDoItemForm dialog(parent);
    dialog.SetLists(owners, categories);
    if (dialog.exec() != QDialog::Accepted || source.ReadOnly()) {
        return;
    }
    const TToDoFields fields = dialog.Fields();
    if (fields.text.empty()) {
        return;
    }
    std::string comment = NewToDoComment(fields);
    std::erase(comment, '\r');
    source.BeginUpdate(kToDoChangeKind);
    source.InsertString(comment);
    source.EndUpdate();
}

void ShowProjectToDoList(QWidget* parent, TProjectManager& projects)
{
    TProject* project = projects.Project();
    if (project == nullptr) {
        return;
    }
    std::vector<TProjectToDoItem> items;
    {
        QApplication::setOverrideCursor(Qt::WaitCursor);
        items = ReadProjectToDo(project->Ini());
        TToDoProgress progress(
            parent, T("BuildingToDoList", "Building To-Do list. Please wait..."), static_cast<int>(items.size()));
        progress.SetPosition(static_cast<int>(items.size()));
        QApplication::restoreOverrideCursor();
    }
    TProjectToDoForm dialog(parent, std::move(items));
    if (dialog.exec() != QDialog::Accepted || projects.Project() != project) {
        return;
    }
    const std::vector<TProjectToDoItem> result = dialog.Items();
    TToDoProgress progress(
        parent, T("BuildingToDoList", "Building To-Do list. Please wait..."), static_cast<int>(result.size()));
    WriteProjectToDo(project->Ini(), result);
    progress.SetPosition(static_cast<int>(result.size()));
    project->SetModified(true);
    projects.Changed();
}

} // namespace

void BindToDoCommands(TQuilletMainForm& form, TProjectManager& projects)
{
    TCommandRegistry& commands = form.Commands();
    QMdiArea* area = form.MdiArea();
    QWidget* parent = &form;
    commands.Bind(
        "EditAddToDoItem",
        [area, parent] {
            if (TChildForm* document = CurrentTextDocument(area)) {
                AddToDoItem(parent, *document);
            }
        },
        [area](TCommandState& state) {
            TChildForm* document = CurrentTextDocument(area);
            state.enabled = document != nullptr && !document->MemoSource().ReadOnly();
        });
    commands.Bind(
        "ViewToDoList",
        [area, parent] {
            if (TChildForm* document = CurrentTextDocument(area)) {
                TToDoForm dialog(parent, *document);
                dialog.exec();
            }
        },
        [area](TCommandState& state) {
            state.enabled = CurrentTextDocument(area) != nullptr;
        });
    TProjectManager* p = &projects;
    commands.Bind(
        "ProjectToDoList",
        [p, parent] {
            ShowProjectToDoList(parent, *p);
        },
        [p](TCommandState& state) {
            state.enabled = p->IsOpen();
        });
}

} // namespace quillet
