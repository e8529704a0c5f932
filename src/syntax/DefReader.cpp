#include "syntax/DefReader.h"

#include "syntax/DefFields.h"
#include "syntax/DefNames.h"
#include "syntax/DefObjectText.h"

#include <functional>
#include <optional>

namespace quillet {

namespace {

using Kind = TDefValue::Kind;

class TSchemeReader {
public:
    TSchemeReader(const std::string& fileName, TDefResult& result)
        : m_fileName(fileName)
        , m_result(result)
    {
    }

    void Warn(int line, const std::string& message)
    {
        m_result.diagnostics.push_back(m_fileName + ":" + std::to_string(line) + ": " + message);
    }
    void Unknown(const TDefProperty& p) { Warn(p.line, "unknown property \"" + p.path + "\" skipped"); }
    void Unfit(const TDefProperty& p) { Warn(p.line, "value does not fit property \"" + p.path + "\", skipped"); }

    // Typed setters: each returns false when the value does not fit.
    static std::optional<std::int64_t> Integer(const TDefValue& v)
    {
        if (v.kind != Kind::Integer) {
            return std::nullopt;
        }
        return v.integer;
    }
    // An identifier: -1 for none, else 0..255.
    static bool SetId(const TDefValue& v, int& target)
    {
        const auto value = Integer(v);
        if (!value || *value < -1 || *value > 255) {
            return false;
        }
        target = static_cast<int>(*value);
        return true;
    }
    static bool SetInt(const TDefValue& v, int& target)
    {
        const auto value = Integer(v);
        if (!value || *value < INT32_MIN || *value > INT32_MAX) {
            return false;
        }
        target = static_cast<int>(*value);
        return true;
    }
    static bool SetFlag(const TDefValue& v, bool& target)
    {
        if (v.kind != Kind::Ident) {
            return false;
        }
        if (v.text == "True" || v.text == "true" || v.text == "TRUE") {
            target = true;
            return true;
        }
        if (v.text == "False" || v.text == "false" || v.text == "FALSE") {
            target = false;
            return true;
        }
        return false;
    }
    static bool SetString(const TDefValue& v, std::string& target)
    {
        if (v.kind != Kind::String) {
            return false;
        }
        target = v.text;
        return true;
    }
    static bool SetChar(const TDefValue& v, char& target)
    {
        if (v.kind != Kind::String || v.text.size() != 1) {
            return false;
        }
        target = v.text[0];
        return true;
    }
    static bool SetCharSet(const TDefValue& v, TCharSet& target)
    {
        if (v.kind != Kind::String) {
            return false;
        }
        target = StringToCharSet(v.text);
        return true;
    }
    static bool SetColor(const TDefValue& v, TColor& target)
    {
        if (v.kind == Kind::Ident) {
            const auto color = IdentToColor(v.text);
            if (!color) {
                return false;
            }
            target = *color;
            return true;
        }
        const auto value = Integer(v);
        if (!value || *value < INT32_MIN || *value > 0xFFFFFFFFll) {
            return false;
        }
        target = static_cast<TColor>(static_cast<std::uint32_t>(*value));
        return true;
    }

    // Applies a collection: a "<>" keeps the created content; items replace it.
    template <typename T>
    bool ReadCollection(const TDefProperty& p,
        std::vector<T>& target,
        const std::function<bool(const TDefProperty&, T&)>& apply,
        std::size_t limit = SIZE_MAX)
    {
        if (p.value.kind != Kind::Collection) {
            return false;
        }
        if (p.value.items.empty()) {
            return true;
        }
        target.clear();
        for (const TDefItem& item : p.value.items) {
            if (target.size() >= limit) {
                Warn(item.line, "more than " + std::to_string(limit) + " items in \"" + p.path + "\", rest skipped");
                break;
            }
            T value{};
            for (const TDefProperty& property : item.properties) {
                if (!apply(property, value)) {
                    Unknown(property);
                }
            }
            target.push_back(std::move(value));
        }
        return true;
    }

    // Each apply function returns false for an unknown path; an unfitting value
    // of a known property is reported here and counts as handled.
    bool Check(const TDefProperty& p, bool fits)
    {
        if (!fits) {
            Unfit(p);
        }
        return true;
    }

    bool ApplyToken(const TDefProperty& p, TToken& t)
    {
        if (p.path == "FontID") {
            return Check(p, SetId(p.value, t.FontID));
        }
        if (p.path == "UseToken") {
            return Check(p, SetFlag(p.value, t.UseToken));
        }
        return false;
    }
    bool ApplyLineToken(const TDefProperty& p, TLineToken& t)
    {
        if (p.path == "LeftDelimiter") {
            return Check(p, SetString(p.value, t.LeftDelimiter));
        }
        return ApplyToken(p, t);
    }
    bool ApplyBlockToken(const TDefProperty& p, TBlockToken& t)
    {
        if (p.path == "RightDelimiter") {
            return Check(p, SetString(p.value, t.RightDelimiter));
        }
        return ApplyLineToken(p, t);
    }
    bool ApplyKeywordSet(const TDefProperty& p, TKeywordSet& t)
    {
        if (p.path == "Name") {
            return Check(p, SetString(p.value, t.Name));
        }
        if (p.path == "Keywords") {
            return Check(p, SetString(p.value, t.Keywords));
        }
        return ApplyToken(p, t);
    }
    bool ApplyDelimiters(const TDefProperty& p, TDelimiters& t)
    {
        if (p.path == "LeftDelimiter") {
            return Check(p, SetString(p.value, t.LeftDelimiter));
        }
        if (p.path == "RightDelimiter") {
            return Check(p, SetString(p.value, t.RightDelimiter));
        }
        if (p.path == "DelimitersArePartOfBlock") {
            return Check(p, SetFlag(p.value, t.DelimitersArePartOfBlock));
        }
        if (p.path == "UseToken") {
            return Check(p, SetFlag(p.value, t.UseToken));
        }
        return false;
    }

    bool LineList(const TDefProperty& p, TLineTokenList& list)
    {
        return ReadCollection<TLineToken>(p, list, [this](const TDefProperty& q, TLineToken& t) {
            return ApplyLineToken(q, t);
        });
    }
    bool BlockList(const TDefProperty& p, TBlockTokenList& list)
    {
        return ReadCollection<TBlockToken>(p, list, [this](const TDefProperty& q, TBlockToken& t) {
            return ApplyBlockToken(q, t);
        });
    }

    bool ApplyBlock(const TDefProperty& p, TSyntaxBlock& b)
    {
        const TDefValue& v = p.value;
        for (const TDefField& f : SyntaxBlockFields()) {
            if (p.path != f.name) {
                continue;
            }
            switch (f.kind) {
            case TDefFieldKind::String:
                return Check(p, SetString(v, b.*f.text));
            case TDefFieldKind::Id:
                return Check(p, SetId(v, b.*f.id));
            case TDefFieldKind::Flag:
                return Check(p, SetFlag(v, b.*f.flag));
            case TDefFieldKind::Char:
                return Check(p, SetChar(v, b.*f.symbol));
            case TDefFieldKind::CharSet:
                return Check(p, SetCharSet(v, b.*f.charSet));
            case TDefFieldKind::LineList:
                return Check(p, LineList(p, b.*f.lines));
            case TDefFieldKind::BlockList:
                return Check(p, BlockList(p, b.*f.blocks));
            case TDefFieldKind::Delimiters:
                return Check(
                    p, ReadCollection<TDelimiters>(p, b.BlockDelimiters, [this](const TDefProperty& q, TDelimiters& t) {
                        return ApplyDelimiters(q, t);
                    }));
            case TDefFieldKind::KeywordSets:
                return Check(
                    p, ReadCollection<TKeywordSet>(p, b.KeywordSets, [this](const TDefProperty& q, TKeywordSet& t) {
                        return ApplyKeywordSet(q, t);
                    }));
            }
        }
        return false;
    }

    bool ApplyAttr(const TDefProperty& p, TAttrItem& a)
    {
        const std::string& n = p.path;
        const TDefValue& v = p.value;
        if (n == "FontID") {
            return Check(p, SetId(v, a.FontID));
        }
        if (n == "GlobalAttrID") {
            return Check(p, SetString(v, a.GlobalAttrID));
        }
        if (n == "BlockID") {
            return Check(p, SetId(v, a.BlockID));
        }
        if (n == "BackColor") {
            return Check(p, SetColor(v, a.BackColor));
        }
        if (n == "UseDefFont") {
            return Check(p, SetFlag(v, a.UseDefFont));
        }
        if (n == "UseDefBack") {
            return Check(p, SetFlag(v, a.UseDefBack));
        }
        if (n == "Font.Charset") {
            if (v.kind == Kind::Ident) {
                const auto charset = IdentToCharset(v.text);
                if (charset) {
                    a.Font.Charset = *charset;
                }
                return Check(p, charset.has_value());
            }
            const auto value = Integer(v);
            if (value && *value >= 0 && *value <= 255) {
                a.Font.Charset = static_cast<int>(*value);
            }
            return Check(p, value && *value >= 0 && *value <= 255);
        }
        if (n == "Font.Color") {
            return Check(p, SetColor(v, a.Font.Color));
        }
        if (n == "Font.Height") {
            return Check(p, SetInt(v, a.Font.Height) || false);
        }
        if (n == "Font.Size") {
            int size = 0;
            const bool fits = SetInt(v, size) && size > -1000 && size < 1000;
            if (fits) {
                a.Font.SetPointSize(size);
            }
            return Check(p, fits);
        }
        if (n == "Font.Name") {
            return Check(p, SetString(v, a.Font.Name));
        }
        if (n == "Font.Pitch") {
            bool fits = v.kind == Kind::Ident;
            if (fits && v.text == "fpDefault") {
                a.Font.Pitch = TFontPitch::fpDefault;
            } else if (fits && v.text == "fpVariable") {
                a.Font.Pitch = TFontPitch::fpVariable;
            } else if (fits && v.text == "fpFixed") {
                a.Font.Pitch = TFontPitch::fpFixed;
            } else {
                fits = false;
            }
            return Check(p, fits);
        }
        if (n == "Font.Style") {
            if (v.kind != Kind::Set) {
                return Check(p, false);
            }
            std::uint8_t style = 0;
            for (const std::string& name : v.names) {
                if (name == "fsBold") {
                    style |= fsBold;
                } else if (name == "fsItalic") {
                    style |= fsItalic;
                } else if (name == "fsUnderline") {
                    style |= fsUnderline;
                } else if (name == "fsStrikeOut") {
                    style |= fsStrikeOut;
                } else {
                    return Check(p, false);
                }
            }
            a.Font.Style = style;
            return true;
        }
        return false;
    }

    bool ReadBlocks(const TDefProperty& p, TSyntaxScheme& scheme)
    {
        if (p.value.kind != Kind::Collection) {
            return false;
        }
        if (p.value.items.size() > static_cast<std::size_t>(TSyntaxScheme::kMaxBlocks)) {
            m_fatal = true;
            Warn(p.value.items[TSyntaxScheme::kMaxBlocks].line,
                "more than " + std::to_string(TSyntaxScheme::kMaxBlocks) + " syntax blocks");
            return true;
        }
        return ReadCollection<TSyntaxBlock>(p, scheme.SyntaxBlocks, [this](const TDefProperty& q, TSyntaxBlock& b) {
            return ApplyBlock(q, b);
        });
    }

    bool ReadFontTable(const TDefProperty& p, TSyntaxScheme& scheme)
    {
        if (p.value.kind != Kind::Collection) {
            return false;
        }
        if (p.value.items.empty()) {
            return true;
        }
        scheme.FontTable.Items.clear();
        for (const TDefItem& item : p.value.items) {
            // A new attribute takes a free FontID first; a stored one overrides it.
            scheme.FontTable.Add();
            TAttrItem attr = scheme.FontTable.Items.back();
            for (const TDefProperty& property : item.properties) {
                if (!ApplyAttr(property, attr)) {
                    Unknown(property);
                }
            }
            scheme.FontTable.Items.back() = std::move(attr);
        }
        return true;
    }

    void ReadScheme(const TDefObject& object, TSyntaxScheme& scheme)
    {
        for (const TDefProperty& p : object.properties) {
            const std::string& n = p.path;
            bool known = true;
            if (n == "P.Name") {
                Check(p, SetString(p.value, scheme.Name));
            } else if (n == "P.Comment") {
                Check(p, SetString(p.value, scheme.Comment));
            } else if (n == "P.Extensions.Strings") {
                bool fits = p.value.kind == Kind::List;
                for (const TDefValue& entry : p.value.list) {
                    fits = fits && entry.kind == Kind::String;
                }
                if (fits) {
                    scheme.Extensions.clear();
                    for (const TDefValue& entry : p.value.list) {
                        scheme.AddExtension(entry.text);
                    }
                }
                Check(p, fits);
            } else if (n == "P.SyntaxBlocks") {
                Check(p, ReadBlocks(p, scheme));
            } else if (n == "P.FontTable") {
                Check(p, ReadFontTable(p, scheme));
            } else if (n == "P.SyntaxVersion") {
                Check(p, SetInt(p.value, scheme.SyntaxVersion));
            } else {
                known = false;
            }
            if (!known) {
                Unknown(p);
            }
            if (m_fatal) {
                return;
            }
        }
    }

    bool Fatal() const { return m_fatal; }

private:
    const std::string& m_fileName;
    TDefResult& m_result;
    bool m_fatal = false;
};

} // namespace

TDefResult ReadDefinition(std::string_view text, const std::string& fileName, TSyntaxScheme& scheme)
{
    TDefResult result;
    TDefObject object;
    int errorLine = 0;
    std::string error;
    if (!ParseObjectText(text, object, errorLine, error)) {
        result.ok = false;
        result.diagnostics.push_back(fileName + ":" + std::to_string(errorLine) + ": " + error);
        return result;
    }
    TSchemeReader reader(fileName, result);
    reader.ReadScheme(object, scheme);
    if (reader.Fatal()) {
        result.ok = false;
    }
    return result;
}

} // namespace quillet
