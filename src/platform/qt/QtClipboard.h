#pragma once

#include "platform/IClipboard.h"

#include <QObject>
#include <QString>

namespace quillet {

// The system clipboard through QClipboard. Engines hand over 8-bit text in the
// system code page; the two converters translate to and from Unicode (Latin-1
// when none are given). RTF goes out as text/rtf and application/rtf.
class TQtClipboard : public QObject, public IClipboard {
    Q_OBJECT
public:
    using TToUnicode = std::function<QString(std::string_view)>;
    using TFromUnicode = std::function<std::string(const QString&)>;

    explicit TQtClipboard(TToUnicode toUnicode = {}, TFromUnicode fromUnicode = {}, QObject* parent = nullptr);

    std::optional<std::string> GetText() const override;
    bool HasText() const override;
    void SetText(std::string_view text) override;
    void SetTextAndRtf(std::string_view text, std::string_view rtf) override;
    void Clear() override;
    bool OwnedByThisProgram() const override;
    void SetChangedHandler(std::function<void()> handler) override { m_changed = std::move(handler); }

private:
    void Put(std::string_view text, std::string_view rtf, bool withRtf);

    TToUnicode m_toUnicode;
    TFromUnicode m_fromUnicode;
    std::function<void()> m_changed;
};

} // namespace quillet
