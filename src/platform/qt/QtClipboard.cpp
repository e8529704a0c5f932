#include "platform/qt/QtClipboard.h"

#include <QClipboard>
#include <QCoreApplication>
#include <QGuiApplication>
#include <QMimeData>

namespace quillet {

namespace {
// Marks clipboard data this process put there, so ownership survives platforms
// where QClipboard::ownsClipboard cannot tell.
const char* const kOwnerFormat = "application/x-quillet-owner";

QByteArray OwnerTag()
{
    return QByteArray::number(QCoreApplication::applicationPid());
}
} // namespace

TQtClipboard::TQtClipboard(TToUnicode toUnicode, TFromUnicode fromUnicode, QObject* parent)
    : QObject(parent)
    , m_toUnicode(std::move(toUnicode))
    , m_fromUnicode(std::move(fromUnicode))
{
    if (!m_toUnicode) {
        m_toUnicode = [](std::string_view s) {
            return QString::fromLatin1(s.data(), static_cast<qsizetype>(s.size()));
        };
    }
    if (!m_fromUnicode) {
        m_fromUnicode = [](const QString& s) {
            return s.toLatin1().toStdString();
        };
    }
    if (QClipboard* cb = QGuiApplication::clipboard()) {
        connect(cb, &QClipboard::dataChanged, this, [this] {
            if (m_changed) {
                m_changed();
            }
        });
    }
}

std::optional<std::string> TQtClipboard::GetText() const
{
    QClipboard* cb = QGuiApplication::clipboard();
    const QMimeData* data = cb ? cb->mimeData() : nullptr;
    if (!data || !data->hasText()) {
        return std::nullopt;
    }
    return m_fromUnicode(data->text());
}

bool TQtClipboard::HasText() const
{
    QClipboard* cb = QGuiApplication::clipboard();
    const QMimeData* data = cb ? cb->mimeData() : nullptr;
    return data && data->hasText();
}

void TQtClipboard::Put(std::string_view text, std::string_view rtf, bool withRtf)
{
    QClipboard* cb = QGuiApplication::clipboard();
    if (!cb) {
        return;
    }
    auto* data = new QMimeData;
    data->setText(m_toUnicode(text));
    if (withRtf) {
        QByteArray bytes(rtf.data(), static_cast<qsizetype>(rtf.size()));
        data->setData("text/rtf", bytes);
        data->setData("application/rtf", bytes);
    }
    data->setData(kOwnerFormat, OwnerTag());
    cb->setMimeData(data);
}

void TQtClipboard::SetText(std::string_view text)
{
    Put(text, {}, false);
}

void TQtClipboard::SetTextAndRtf(std::string_view text, std::string_view rtf)
{
    Put(text, rtf, true);
}

void TQtClipboard::Clear()
{
    if (QClipboard* cb = QGuiApplication::clipboard()) {
        cb->clear();
    }
}

bool TQtClipboard::OwnedByThisProgram() const
{
    QClipboard* cb = QGuiApplication::clipboard();
    if (!cb) {
        return false;
    }
    if (cb->ownsClipboard()) {
        return true;
    }
    const QMimeData* data = cb->mimeData();
    return data && data->data(kOwnerFormat) == OwnerTag();
}

} // namespace quillet
