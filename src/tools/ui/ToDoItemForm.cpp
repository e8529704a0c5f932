#include "tools/ui/ToDoItemForm.h"

#include "core/AppTitle.h"
#include "core/Translations.h"
#include "text/ui/MemoStyles.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace quillet {

namespace {

QString T(std::string_view key, std::string_view english)
{
    return QString::fromStdString(LangStr(key, english));
}

QStringList ToList(const std::vector<std::string>& values)
{
    QStringList list;
    for (const std::string& value : values) {
        list << QString::fromStdString(value);
    }
    return list;
}

// The buffer's text is 8-bit in the system code page.
QString FromBytes(const std::string& text)
{
    return FromSystemText(text);
}

std::string ToBytes(const QString& text)
{
    return ToSystemText(text);
}

} // namespace

TToDoItemForm::TToDoItemForm(QWidget* parent)
    : QDialog(parent)
{
    setObjectName(QStringLiteral("ToDoItemForm"));
    setWindowTitle(T("ToDoItemForm", "To-Do Item"));
    auto* layout = new QVBoxLayout(this);
    auto* textLabel = new QLabel(T("ToDoItemText", "&Text:"), this);
    m_text = new QPlainTextEdit(this);
    m_text->setObjectName(QStringLiteral("Text"));
    m_text->setLineWrapMode(QPlainTextEdit::NoWrap);
    m_text->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    m_text->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    m_text->setTabChangesFocus(true);
    m_text->installEventFilter(this);
    textLabel->setBuddy(m_text);
    layout->addWidget(textLabel);
    layout->addWidget(m_text, 1);

    auto* form = new QFormLayout;
    m_priority = new QComboBox(this);
    m_priority->setObjectName(QStringLiteral("Priority"));
    m_priority->addItems({QString(), "1", "2", "3", "4", "5"});
    m_owner = new QComboBox(this);
    m_owner->setObjectName(QStringLiteral("Owner"));
    m_owner->setEditable(true);
    m_owner->setInsertPolicy(QComboBox::NoInsert);
    m_category = new QComboBox(this);
    m_category->setObjectName(QStringLiteral("Category"));
    m_category->setEditable(true);
    m_category->setInsertPolicy(QComboBox::NoInsert);
    form->addRow(T("ToDoItemPriority", "&Priority:"), m_priority);
    form->addRow(T("ToDoItemOwner", "&Owner:"), m_owner);
    form->addRow(T("ToDoItemCategory", "&Category:"), m_category);
    layout->addLayout(form);

    m_buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    m_buttons->button(QDialogButtonBox::Ok)->setText(T("bOK", "OK"));
    m_buttons->button(QDialogButtonBox::Cancel)->setText(T("bCancel", "Cancel"));
    m_buttons->button(QDialogButtonBox::Ok)->setDefault(true);
    layout->addWidget(m_buttons);
    connect(m_buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(m_buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    connect(m_text, &QPlainTextEdit::textChanged, this, &TToDoItemForm::TextChanged);
    resize(380, 260);
    TextChanged();
    m_text->setFocus();
}

bool TToDoItemForm::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == m_text && event->type() == QEvent::KeyPress) {
        const auto* key = static_cast<QKeyEvent*>(event);
        if (key->text() == QStringLiteral("}")) {
            return true; // a brace would close the comment early
        }
        if (key->key() == Qt::Key_Escape) {
            reject();
            return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}

void TToDoItemForm::TextChanged()
{
    if (m_limit > 0 && m_text->toPlainText().size() > m_limit) {
        // Pasted or typed past the limit: keep the first characters.
        QTextCursor cursor = m_text->textCursor();
        const int position = std::min(cursor.position(), m_limit);
        const QSignalBlocker block(m_text);
        m_text->setPlainText(m_text->toPlainText().left(m_limit));
        cursor = m_text->textCursor();
        cursor.setPosition(position);
        m_text->setTextCursor(cursor);
    }
    m_buttons->button(QDialogButtonBox::Ok)->setEnabled(!m_text->toPlainText().isEmpty());
}

void TToDoItemForm::SetTextLimit(int limit)
{
    m_limit = limit;
    TextChanged();
}

void TToDoItemForm::SetLists(const std::vector<std::string>& owners, const std::vector<std::string>& categories)
{
    const QString owner = m_owner->currentText();
    const QString category = m_category->currentText();
    m_owner->clear();
    m_owner->addItems(ToList(owners));
    m_owner->setCurrentText(owner);
    m_category->clear();
    m_category->addItems(ToList(categories));
    m_category->setCurrentText(category);
}

void TToDoItemForm::SetFields(const TToDoFields& fields)
{
    std::string text = fields.text;
    // A multi-line item's text ends with its last line break: not shown as an empty line.
    if (text.size() >= 2 && text.compare(text.size() - 2, 2, "\r\n") == 0) {
        text.resize(text.size() - 2);
    }
    m_text->setPlainText(FromBytes(ToCrLf(text)).replace(QStringLiteral("\r\n"), QStringLiteral("\n")));
    const int priority = m_priority->findText(QString::fromStdString(fields.priority));
    m_priority->setCurrentIndex(priority >= 0 ? priority : 0);
    m_owner->setCurrentText(FromBytes(fields.owner));
    m_category->setCurrentText(FromBytes(fields.category));
    TextChanged();
}

TToDoFields TToDoItemForm::Fields() const
{
    TToDoFields fields;
    fields.text = ToCrLf(ToBytes(m_text->toPlainText()));
    fields.priority = m_priority->currentText().toStdString();
    fields.owner = ToBytes(m_owner->currentText());
    fields.category = ToBytes(m_category->currentText());
    return CleanToDoFields(std::move(fields));
}

} // namespace quillet
