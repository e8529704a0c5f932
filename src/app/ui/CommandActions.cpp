#include "app/ui/CommandActions.h"

#include "app/ui/ShellUi.h"

#include <QAction>
#include <QApplication>
#include <QEvent>
#include <QMenu>
#include <QStringList>
#include <QTimer>
#include <QWidget>

#include <optional>

// The icons live in the application library's resources; a static library's
// resources are only registered when asked for by name.
static void InitShellResources()
{
    Q_INIT_RESOURCE(quillet);
}

namespace quillet {

namespace {

// Key names of the table that Qt spells differently or not at all.
std::optional<QKeyCombination> SpecialKey(const QString& key)
{
    if (key == QLatin1String("Num -")) {
        return QKeyCombination(Qt::KeypadModifier, Qt::Key_Minus);
    }
    if (key == QLatin1String("Num *")) {
        return QKeyCombination(Qt::KeypadModifier, Qt::Key_Asterisk);
    }
    if (key == QLatin1String("Num Lock")) {
        return QKeyCombination(Qt::Key_NumLock);
    }
    if (key == QLatin1String("Enter")) {
        return QKeyCombination(Qt::Key_Return);
    }
    if (key == QLatin1String("Del")) {
        return QKeyCombination(Qt::Key_Delete);
    }
    return std::nullopt;
}

} // namespace

QKeySequence ShortcutFromText(std::string_view text)
{
    if (text.empty()) {
        return {};
    }
    const QStringList parts =
        QString::fromLatin1(text.data(), static_cast<qsizetype>(text.size())).split(QLatin1Char('+'));
    Qt::KeyboardModifiers modifiers;
    for (qsizetype i = 0; i + 1 < parts.size(); ++i) {
        const QString& part = parts[i];
        if (part == QLatin1String("Ctrl")) {
            modifiers |= Qt::ControlModifier;
        } else if (part == QLatin1String("Shift")) {
            modifiers |= Qt::ShiftModifier;
        } else if (part == QLatin1String("Alt")) {
            modifiers |= Qt::AltModifier;
        } else {
            return {};
        }
    }
    std::optional<QKeyCombination> key = SpecialKey(parts.last());
    if (!key) {
        const QKeySequence single = QKeySequence::fromString(parts.last(), QKeySequence::PortableText);
        if (single.count() != 1) {
            return {};
        }
        key = single[0];
    }
    return QKeySequence(QKeyCombination(modifiers | key->keyboardModifiers(), key->key()));
}

QIcon CommandIcon(const TCommandInfo& info)
{
    if (info.image.empty()) {
        return {};
    }
    const QIcon own(QStringLiteral(":/icons/%1.svg")
                        .arg(QString::fromLatin1(info.image.data(), static_cast<qsizetype>(info.image.size()))));
    if (info.themeIcon.empty()) {
        return own;
    }
    return QIcon::fromTheme(
        QString::fromLatin1(info.themeIcon.data(), static_cast<qsizetype>(info.themeIcon.size())), own);
}

TCommandActions::TCommandActions(QWidget* owner, TCommandRegistry& registry)
    : QObject(owner)
    , m_registry(registry)
{
    setObjectName(QStringLiteral("CommandActions"));
    InitShellResources();
    m_idle = new QTimer(this);
    m_idle->setSingleShot(true);
    m_idle->setInterval(0);
    connect(m_idle, &QTimer::timeout, this, &TCommandActions::UpdateAll);

    for (const TCommandInfo& info : CommandTable()) {
        const QString name = QString::fromLatin1(info.name.data(), static_cast<qsizetype>(info.name.size()));
        auto* action = new QAction(FromUtf8(info.caption), owner);
        action->setObjectName(name);
        if (!info.hint.empty()) {
            SetCommandHint(action, FromUtf8(info.hint));
        }
        action->setShortcut(ShortcutFromText(info.shortcut));
        if (info.name == "ViewSwitch") {
            // Both Enter keys: the main one and the keypad's.
            action->setShortcuts({ShortcutFromText(info.shortcut),
                QKeySequence(QKeyCombination(Qt::ControlModifier | Qt::KeypadModifier, Qt::Key_Enter))});
        }
        action->setShortcutContext(Qt::WindowShortcut);
        action->setIcon(CommandIcon(info));
        action->setCheckable(info.Has(kCommandCheckable));
        action->setEnabled(false);
        action->setVisible(!info.Has(kCommandHiddenUntilBound));
        if (info.name == "FileExit") {
            action->setMenuRole(QAction::QuitRole);
        } else if (info.name == "HelpAbout") {
            action->setMenuRole(QAction::AboutRole);
        } else if (info.name == "ConfigureOptions") {
            action->setMenuRole(QAction::PreferencesRole);
        } else {
            action->setMenuRole(QAction::NoRole);
        }
        owner->addAction(action);
        const std::string_view key = info.name;
        connect(action, &QAction::triggered, this, [this, key] {
            m_registry.Execute(key);
            ScheduleUpdate();
        });
        m_actions.push_back(action);
        m_byName.emplace(key, action);
    }
    qApp->installEventFilter(this);
}

TCommandActions::~TCommandActions()
{
    qApp->removeEventFilter(this);
}

QAction* TCommandActions::Action(std::string_view name) const
{
    const auto found = m_byName.find(name);
    return found == m_byName.end() ? nullptr : found->second;
}

void TCommandActions::AddSubmenu(std::string_view header, QMenu* menu)
{
    if (const TCommandInfo* info = FindCommandInfo(header)) {
        m_submenus.emplace_back(info->name, menu);
        WatchMenu(menu);
    }
}

void TCommandActions::WatchMenu(QMenu* menu)
{
    connect(menu, &QMenu::aboutToShow, this, &TCommandActions::UpdateAll);
}

void TCommandActions::Apply(QAction* action, const TCommandState& state)
{
    if (action->isEnabled() != state.enabled) {
        action->setEnabled(state.enabled);
    }
    if (action->isVisible() != state.visible) {
        action->setVisible(state.visible);
    }
    if (action->isCheckable() && action->isChecked() != state.checked) {
        action->setChecked(state.checked);
    }
    if (!state.caption.empty()) {
        const QString caption = QString::fromStdString(state.caption);
        if (action->text() != caption) {
            action->setText(caption);
        }
    }
}

void TCommandActions::UpdateAll()
{
    for (QAction* action : m_actions) {
        Apply(action, m_registry.State(action->objectName().toStdString()));
    }
    for (const auto& [header, menu] : m_submenus) {
        if (menu.isNull()) {
            continue;
        }
        bool enabled = false;
        if (m_registry.IsBound(header)) {
            const TCommandState state = m_registry.State(header);
            enabled = state.enabled;
            menu->menuAction()->setVisible(state.visible);
        } else {
            for (QAction* entry : menu->actions()) {
                if (!entry->isSeparator() && entry->isVisible() && entry->isEnabled()) {
                    enabled = true;
                    break;
                }
            }
        }
        menu->menuAction()->setEnabled(enabled);
    }
}

void TCommandActions::ScheduleUpdate()
{
    if (!m_idle->isActive()) {
        m_idle->start();
    }
}

bool TCommandActions::eventFilter(QObject* watched, QEvent* event)
{
    // Input and focus changes are what can change a command's state; the
    // pass runs once the events they cause have been handled.
    switch (event->type()) {
    case QEvent::KeyRelease:
    case QEvent::MouseButtonRelease:
    case QEvent::FocusIn:
    case QEvent::WindowActivate:
    case QEvent::Shortcut:
    case QEvent::Drop:
        ScheduleUpdate();
        break;
    default:
        break;
    }
    return QObject::eventFilter(watched, event);
}

} // namespace quillet
