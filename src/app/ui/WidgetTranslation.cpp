#include "app/ui/WidgetTranslation.h"

#include "app/ui/ShellUi.h"

#include <QAbstractButton>
#include <QAction>
#include <QDockWidget>
#include <QGroupBox>
#include <QLabel>
#include <QTabWidget>
#include <QToolBar>
#include <QToolButton>
#include <QVariant>

namespace quillet {

namespace {

constexpr const char* kDefaultText = "quilletText";
constexpr const char* kDefaultHint = "quilletHint";

// The English text of an element: remembered the first time it is seen.
QString DefaultOf(QObject* object, const char* property, const QString& current)
{
    const QVariant stored = object->property(property);
    if (stored.isValid()) {
        return stored.toString();
    }
    object->setProperty(property, current);
    return current;
}

QString TrName(const QString& key, const QString& defaultText)
{
    return Tr(key.toStdString(), defaultText.toStdString());
}

void ApplyHint(QAction* action, const QString& hint)
{
    const int bar = hint.indexOf(QLatin1Char('|'));
    action->setToolTip(bar < 0 ? hint : hint.left(bar));
    action->setStatusTip(bar < 0 ? hint : hint.mid(bar + 1));
}

void TranslateObject(QObject* object)
{
    const QString name = object->objectName();
    if (auto* toolBar = qobject_cast<QToolBar*>(object)) {
        if (auto* more = toolBar->findChild<QToolButton*>(QStringLiteral("qt_toolbar_ext_button"))) {
            more->setToolTip(Tr("CustMoreButtons", "More Buttons"));
        }
        return;
    }
    if (name.isEmpty() || name.startsWith(QLatin1String("qt_"))) {
        return;
    }
    if (auto* group = qobject_cast<QGroupBox*>(object)) {
        const QString english = DefaultOf(group, kDefaultText, group->title().trimmed());
        group->setTitle(QLatin1Char(' ') + TrName(name, english) + QLatin1Char(' '));
    } else if (auto* tool = qobject_cast<QToolButton*>(object)) {
        if (tool->defaultAction() == nullptr && tool->property("quilletColorPicker").toBool()) {
            tool->setToolTip(Tr("SelectCustomColor", DefaultOf(tool, kDefaultHint, tool->toolTip()).toStdString()));
        }
    } else if (auto* button = qobject_cast<QAbstractButton*>(object)) {
        button->setText(TrName(name, DefaultOf(button, kDefaultText, button->text())));
    } else if (auto* label = qobject_cast<QLabel*>(object)) {
        label->setText(TrName(name, DefaultOf(label, kDefaultText, label->text())));
    } else if (auto* dock = qobject_cast<QDockWidget*>(object)) {
        dock->setWindowTitle(TrName(name, DefaultOf(dock, kDefaultText, dock->windowTitle())));
    } else if (auto* action = qobject_cast<QAction*>(object)) {
        action->setText(TrName(name, DefaultOf(action, kDefaultText, action->text())));
        const QVariant hint = action->property(kDefaultHint);
        if (hint.isValid()) {
            ApplyHint(action, TrName(name + QLatin1String("Hint"), hint.toString()));
        }
    }
}

} // namespace

void nactiResource(QWidget* window)
{
    if (!window->objectName().isEmpty()) {
        window->setWindowTitle(TrName(window->objectName(), DefaultOf(window, kDefaultText, window->windowTitle())));
    }
    const QList<QObject*> children = window->findChildren<QObject*>();
    for (QObject* child : children) {
        TranslateObject(child);
    }
    for (QTabWidget* tabs : window->findChildren<QTabWidget*>()) {
        for (int i = 0; i < tabs->count(); ++i) {
            QWidget* page = tabs->widget(i);
            if (page != nullptr && !page->objectName().isEmpty()) {
                page->setProperty(kDefaultText, DefaultOf(page, kDefaultText, tabs->tabText(i)));
                tabs->setTabText(i, TrName(page->objectName(), page->property(kDefaultText).toString()));
            }
        }
    }
}

} // namespace quillet
