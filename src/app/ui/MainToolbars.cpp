#include "app/ui/MainToolbars.h"

#include "app/CommandTable.h"
#include "app/ui/CommandActions.h"
#include "app/ui/MainMenus.h"
#include "app/ui/ShellUi.h"

#include <QAction>
#include <QImageReader>
#include <QMainWindow>
#include <QMenu>
#include <QToolBar>
#include <QToolButton>
#include <QVariant>

namespace quillet {

namespace {

QString FromView(std::string_view text)
{
    return QString::fromLatin1(text.data(), static_cast<qsizetype>(text.size()));
}

// A button that runs its command when clicked and opens `menu` from its arrow.
void GiveDropDown(QToolBar* bar, QAction* action, QMenu* menu)
{
    if (auto* button = qobject_cast<QToolButton*>(bar->widgetForAction(action))) {
        button->setMenu(menu);
        button->setPopupMode(QToolButton::MenuButtonPopup);
    }
}

} // namespace

QAction* ToolbarToggle(QToolBar* bar)
{
    return qobject_cast<QAction*>(bar->property("quilletToggle").value<QObject*>());
}

TMainToolbars::TMainToolbars(QMainWindow* window, TCommandActions& actions, TMainMenus& menus)
    : m_window(window)
    , m_menus(menus)
    , m_actions(actions)
{
    const TMenuAnchor togglePlace = menus.Anchor(QStringLiteral("ToolbarToggles"));
    // Without the desktop's SVG support our drawings cannot be shown; the
    // buttons then show their captions so they stay usable.
    const bool drawings = QImageReader::supportedImageFormats().contains("svg");
    for (const TToolbarLayout& layout : ToolbarLayouts()) {
        const QString title = FromUtf8(layout.title);
        QToolBar* bar = window->addToolBar(title);
        bar->setObjectName(FromView(layout.name));
        bar->setProperty("quilletText", title);
        bar->setProperty("quilletTitleKey", FromView(layout.titleKey));
        bar->setAllowedAreas(Qt::AllToolBarAreas);
        bar->setMovable(true);
        bar->setFloatable(true);
        if (!drawings) {
            bar->setToolButtonStyle(Qt::ToolButtonTextOnly);
        }
        m_toolbars.push_back(bar);
        SetItems(bar, quillet::DesignItems(layout));
        if (!layout.dropDownCommand.empty()) {
            if (QAction* action = actions.Action(layout.dropDownCommand)) {
                auto* menu = new QMenu(bar);
                menu->setObjectName(layout.dropDownPlace == "@RecentMenu" ? QStringLiteral("RecentDropDown")
                                                                          : QStringLiteral("MacroDropDown"));
                GiveDropDown(bar, action, menu);
            }
        }
        if (!layout.toggleName.empty()) {
            auto* toggle = new QAction(FromUtf8(layout.toggleCaption), window);
            toggle->setObjectName(FromView(layout.toggleName));
            toggle->setCheckable(true);
            SetCommandHint(toggle, FromUtf8(layout.toggleHint));
            if (togglePlace.menu != nullptr) {
                togglePlace.menu->insertAction(togglePlace.before, toggle);
            }
            QObject::connect(toggle, &QAction::toggled, bar, &QToolBar::setVisible);
            QObject::connect(bar, &QToolBar::visibilityChanged, toggle, [toggle, bar] {
                toggle->setChecked(bar->isVisible());
            });
            bar->setProperty("quilletToggle", QVariant::fromValue(static_cast<QObject*>(toggle)));
            m_toggles.push_back(toggle);
        }
        bar->setVisible(layout.visibleAtFirst);
        if (QAction* toggle = ToolbarToggle(bar)) {
            toggle->setChecked(layout.visibleAtFirst);
        }
    }
}

void TMainToolbars::RestoreDropDown(QToolBar* bar)
{
    for (const TToolbarLayout& layout : ToolbarLayouts()) {
        if (FromView(layout.name) != bar->objectName() || layout.dropDownCommand.empty()) {
            continue;
        }
        QAction* action = m_actions.Action(layout.dropDownCommand);
        auto* menu = bar->findChild<QMenu*>(
            layout.dropDownPlace == "@RecentMenu" ? QStringLiteral("RecentDropDown") : QStringLiteral("MacroDropDown"),
            Qt::FindDirectChildrenOnly);
        if (action != nullptr && menu != nullptr && bar->actions().contains(action)) {
            GiveDropDown(bar, action, menu);
        }
    }
}

QMenu* TMainToolbars::BuildPopup(QWidget* parent) const
{
    auto* menu = new QMenu(parent);
    for (QAction* toggle : m_toggles) {
        menu->addAction(toggle);
    }
    menu->addSeparator();
    if (QAction* customize = m_actions.Action("ViewCustomize")) {
        menu->addAction(customize);
    }
    return menu;
}

} // namespace quillet
