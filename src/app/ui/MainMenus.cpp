#include "app/ui/MainMenus.h"

#include "app/CommandTable.h"
#include "app/ui/CommandActions.h"
#include "app/ui/ShellUi.h"

#include <QAction>
#include <QMenu>
#include <QMenuBar>

namespace quillet {

namespace {

QString FromView(std::string_view text)
{
    return QString::fromLatin1(text.data(), static_cast<qsizetype>(text.size()));
}

constexpr int kRecentCount = 10;

} // namespace

TMainMenus::TMainMenus(QWidget* owner, QMenuBar* bar, TCommandActions& actions)
    : m_owner(owner)
{
    for (const TMenuLayout& layout : MainMenuLayouts()) {
        const QString caption = FromUtf8(layout.caption);
        QMenu* menu = bar->addMenu(caption);
        menu->setObjectName(FromView(layout.key));
        menu->setProperty("quilletText", caption);
        m_menus.push_back(menu);
        m_byName[menu->objectName()] = menu;
        actions.WatchMenu(menu);
        Fill(menu, layout, actions, this);
    }
}

QMenu* TMainMenus::Menu(const QString& name) const
{
    const auto found = m_byName.find(name);
    return found == m_byName.end() ? nullptr : found->second;
}

TMenuAnchor TMainMenus::Anchor(const QString& place) const
{
    const auto found = m_anchors.find(place);
    return found == m_anchors.end() ? TMenuAnchor{} : found->second;
}

void TMainMenus::MakePlace(QMenu* menu, const QString& place)
{
    if (place == QLatin1String("RecentMenu")) {
        m_recent = menu->addMenu(QStringLiteral("&Recent"));
        m_recent->setObjectName(QStringLiteral("RecentMenu"));
        m_recent->menuAction()->setObjectName(QStringLiteral("RecentMenu"));
        SetCommandHint(m_recent->menuAction(), QStringLiteral("Recent|Reopen a recent project or file"));
        for (int k = 0; k < kRecentCount; ++k) {
            QAction* entry = m_recent->addAction(QString());
            entry->setObjectName(QStringLiteral("RecentProj%1").arg(k));
            entry->setVisible(false);
        }
        m_recent->addSeparator()->setObjectName(QStringLiteral("RecentSeparator"));
        for (int k = 0; k < kRecentCount; ++k) {
            QAction* entry = m_recent->addAction(QString());
            entry->setObjectName(QStringLiteral("Recent%1").arg(k));
            entry->setVisible(false);
        }
        // Nothing to offer until the lists hold an entry.
        m_recent->menuAction()->setEnabled(false);
        m_anchors[place] = {m_recent, nullptr};
        m_byName[place] = m_recent;
        return;
    }
    if (place == QLatin1String("WindowList")) {
        m_windowListSeparator = menu->addSeparator();
        m_windowListSeparator->setText(QStringLiteral("Window List"));
        m_anchors[place] = {menu, nullptr};
        return;
    }
    // The other places take entries where they stand: before the next entry
    // added after them, which Fill records below.
    m_anchors[place] = {menu, nullptr};
}

void TMainMenus::Fill(QMenu* menu, const TMenuLayout& layout, TCommandActions& actions, TMainMenus* places)
{
    QString pendingPlace;
    for (std::string_view item : layout.items) {
        QAction* added = nullptr;
        switch (LayoutItemKind(item)) {
        case TLayoutItemKind::Separator:
            added = menu->addSeparator();
            break;
        case TLayoutItemKind::Command:
            added = actions.Action(item);
            if (added != nullptr) {
                menu->addAction(added);
            }
            break;
        case TLayoutItemKind::Submenu: {
            const TMenuLayout* sub = FindSubmenuLayout(LayoutItemName(item));
            const TCommandInfo* header = FindCommandInfo(LayoutItemName(item));
            if (sub == nullptr || header == nullptr) {
                break;
            }
            QMenu* child = menu->addMenu(FromUtf8(header->caption));
            const QString name = FromView(header->name);
            child->setObjectName(name);
            // The menu's own entry carries the header command's name, so the
            // translation pass gives it the header's caption and hint.
            child->menuAction()->setObjectName(name);
            if (!header->hint.empty()) {
                SetCommandHint(child->menuAction(), FromUtf8(header->hint));
            }
            if (places != nullptr) {
                places->m_byName[name] = child;
            }
            actions.AddSubmenu(header->name, child);
            Fill(child, *sub, actions, places);
            added = child->menuAction();
            break;
        }
        case TLayoutItemKind::Placeholder:
            if (places != nullptr) {
                pendingPlace = FromView(LayoutItemName(item));
                places->MakePlace(menu, pendingPlace);
                if (places->m_anchors[pendingPlace].menu != menu) {
                    pendingPlace.clear();
                }
                if (pendingPlace == QLatin1String("RecentMenu") || pendingPlace == QLatin1String("WindowList")) {
                    pendingPlace.clear();
                }
            }
            continue;
        }
        if (!pendingPlace.isEmpty() && added != nullptr) {
            places->m_anchors[pendingPlace].before = added;
            pendingPlace.clear();
        }
    }
}

QMenu* TMainMenus::BuildPopup(const QString& key, TCommandActions& actions, QWidget* parent)
{
    const TMenuLayout* layout = FindPopupLayout(key.toStdString());
    if (layout == nullptr) {
        return nullptr;
    }
    auto* menu = new QMenu(parent);
    menu->setObjectName(key);
    actions.WatchMenu(menu);
    Fill(menu, *layout, actions, nullptr);
    return menu;
}

} // namespace quillet
