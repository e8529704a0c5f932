// Customization of the main window's toolbars: rebuilding a toolbar from its
// items, user toolbars and the stored layouts.
#include "app/CommandTable.h"
#include "app/ui/CommandActions.h"
#include "app/ui/MainMenus.h"
#include "app/ui/MainToolbars.h"
#include "app/ui/ShellUi.h"
#include "core/SettingsStore.h"

#include <QAction>
#include <QMainWindow>
#include <QMenu>
#include <QToolBar>
#include <QToolButton>
#include <QVariant>

#include <algorithm>

namespace quillet {

namespace {

constexpr const char* kCopyProperty = "quilletCopyOf";

void Mirror(QAction* copy, const QAction* original)
{
    copy->setText(original->text());
    copy->setIcon(original->icon());
    copy->setToolTip(original->toolTip());
    copy->setStatusTip(original->statusTip());
    copy->setEnabled(original->isEnabled());
    copy->setVisible(original->isVisible());
    copy->setCheckable(original->isCheckable());
    copy->setChecked(original->isChecked());
}

} // namespace

bool TMainToolbars::IsCommand(std::string_view name) const
{
    return m_actions.Action(name) != nullptr;
}

std::vector<TToolbarItem> TMainToolbars::Items(QToolBar* bar) const
{
    const auto found = m_items.find(bar);
    return found == m_items.end() ? std::vector<TToolbarItem>{} : found->second;
}

std::vector<TToolbarItem> TMainToolbars::DesignItems(QToolBar* bar) const
{
    return IsUserToolbar(bar) ? std::vector<TToolbarItem>{} : DesignItemsOf(bar->objectName().toStdString());
}

bool TMainToolbars::IsUserToolbar(QToolBar* bar) const
{
    return std::find(m_userToolbars.begin(), m_userToolbars.end(), bar) != m_userToolbars.end();
}

QToolBar* TMainToolbars::Find(const QString& name) const
{
    for (QToolBar* bar : CustomizableToolbars()) {
        if (bar->objectName().compare(name, Qt::CaseInsensitive) == 0) {
            return bar;
        }
    }
    return nullptr;
}

std::vector<QToolBar*> TMainToolbars::AllToolbars() const
{
    std::vector<QToolBar*> bars = m_toolbars;
    bars.insert(bars.end(), m_userToolbars.begin(), m_userToolbars.end());
    return bars;
}

std::vector<QToolBar*> TMainToolbars::CustomizableToolbars() const
{
    // The quick templates bar is filled by its own panel, never by hand.
    std::vector<QToolBar*> bars = AllToolbars();
    std::erase_if(bars, [](const QToolBar* bar) {
        return bar->objectName() == QLatin1String("QuickTemplatesForm");
    });
    return bars;
}

// A button of its own for a command: it shows the command's state and runs it.
QAction* TMainToolbars::CopyOf(QAction* original, QToolBar* bar, std::string_view command)
{
    auto* copy = new QAction(bar);
    copy->setObjectName(QStringLiteral("TB2KItem%1_").arg(++m_copyCounter) + FromUtf8(command));
    copy->setProperty(kCopyProperty, QVariant::fromValue(static_cast<QObject*>(original)));
    Mirror(copy, original);
    QObject::connect(original, &QAction::changed, copy, [copy, original] {
        Mirror(copy, original);
    });
    QObject::connect(copy, &QAction::triggered, original, [original] {
        original->trigger();
    });
    return copy;
}

void TMainToolbars::SetItems(QToolBar* bar, const std::vector<TToolbarItem>& items)
{
    for (QAction* action : bar->actions()) {
        if (action->property(kCopyProperty).isValid()) {
            delete action;
        }
    }
    bar->clear();
    std::vector<TToolbarItem> kept;
    for (const TToolbarItem& item : items) {
        if (item.IsSeparator()) {
            bar->addSeparator();
            kept.push_back(item);
            continue;
        }
        QAction* action = m_actions.Action(item.command);
        if (action == nullptr) {
            continue; // no such command: skipped
        }
        const bool own = item.design && !IsUserToolbar(bar) && !bar->actions().contains(action);
        bar->addAction(own ? action : CopyOf(action, bar, item.command));
        kept.push_back(item);
    }
    m_items[bar] = kept;
    RestoreDropDown(bar);
}

QToolBar* TMainToolbars::AddUserToolbar(const QString& name, const QString& caption)
{
    QToolBar* bar = new QToolBar(caption, m_window);
    m_window->addToolBar(Qt::TopToolBarArea, bar);
    bar->setObjectName(name);
    bar->setProperty("quilletText", caption);
    bar->setAllowedAreas(Qt::AllToolBarAreas);
    bar->setMovable(true);
    bar->setFloatable(true);
    m_userToolbars.push_back(bar);
    m_items[bar] = {};
    // Made after the window was translated: the overflow button gets its hint here.
    if (auto* more = bar->findChild<QToolButton*>(QStringLiteral("qt_toolbar_ext_button"))) {
        more->setToolTip(Tr("CustMoreButtons", "More Buttons"));
    }

    auto* toggle = new QAction(caption, bar);
    toggle->setObjectName(QStringLiteral("TTBXToggle_") + name + QStringLiteral("ToolbarToggles"));
    toggle->setCheckable(true);
    toggle->setChecked(true);
    const TMenuAnchor place = m_menus.Anchor(QStringLiteral("ToolbarToggles"));
    if (place.menu != nullptr) {
        place.menu->insertAction(place.before, toggle);
    }
    QObject::connect(toggle, &QAction::toggled, bar, &QToolBar::setVisible);
    QObject::connect(bar, &QToolBar::visibilityChanged, toggle, [toggle, bar] {
        toggle->setChecked(bar->isVisible());
    });
    bar->setProperty("quilletToggle", QVariant::fromValue(static_cast<QObject*>(toggle)));
    m_toggles.push_back(toggle);
    bar->show();
    return bar;
}

void TMainToolbars::RemoveUserToolbar(QToolBar* bar)
{
    if (!IsUserToolbar(bar)) {
        return;
    }
    if (QAction* toggle = ToolbarToggle(bar)) {
        m_toggles.erase(std::remove(m_toggles.begin(), m_toggles.end(), toggle), m_toggles.end());
    }
    m_userToolbars.erase(std::remove(m_userToolbars.begin(), m_userToolbars.end(), bar), m_userToolbars.end());
    m_items.erase(bar);
    m_window->removeToolBar(bar);
    delete bar; // its copies and show/hide entry go with it
}

void TMainToolbars::SetCaption(QToolBar* bar, const QString& caption)
{
    bar->setWindowTitle(caption);
    bar->setProperty("quilletText", caption);
    bar->setProperty("quilletTitleKey", QString());
    if (QAction* toggle = ToolbarToggle(bar); toggle != nullptr && IsUserToolbar(bar)) {
        toggle->setText(caption);
    }
}

bool TMainToolbars::SaveToolbar(TSettingsStore& store, QToolBar* bar) const
{
    return SaveToolbarButtons(store, bar->objectName().toStdString(), ToUtf8(bar->windowTitle()), Items(bar));
}

void TMainToolbars::InitializeFromStore(TSettingsStore& store)
{
    const auto isCommand = [this](std::string_view name) {
        return IsCommand(name);
    };
    for (const std::string& name : StoredToolbarNames(store)) {
        QToolBar* bar = Find(FromUtf8(name));
        if (bar != nullptr) {
            const QString caption = FromUtf8(StoredCaption(store, name, ToUtf8(bar->windowTitle())));
            if (!caption.isEmpty() && caption != bar->windowTitle()) {
                SetCaption(bar, caption);
            }
        } else {
            // A section without a caption (window state, a damaged entry) is
            // no toolbar.
            const std::string caption = StoredCaption(store, name, "");
            if (caption.empty()) {
                continue;
            }
            bar = AddUserToolbar(FromUtf8(name), FromUtf8(caption));
        }
        if (HasStoredButtons(store, name)) {
            SetItems(bar, RestoreToolbarItems(store, name, DesignItems(bar), isCommand));
        }
    }
}

} // namespace quillet
