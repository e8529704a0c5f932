#include "syntax/DefReader.h"

#include "syntax/DefFields.h"
#include "syntax/DefNames.h"
#include "syntax/DefObjectText.h"

#include <algorithm>
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

    static bool SetCharset(const TDefValue& v, int& target)
    {
        if (v.kind == Kind::Ident) {
            const auto charset = IdentToCharset(v.text);
            if (!charset) {
                return false;
            }
            target = *charset;
            return true;
        }
        const auto value = Integer(v);
        if (!value || *value < 0 || *value > 255) {
            return false;
        }
        target = static_cast<int>(*value);
        return true;
    }
    static bool SetPitch(const TDefValue& v, TFontPitch& target)
    {
        if (v.kind != Kind::Ident) {
            return false;
        }
        for (const auto& [pitch, name] : PitchNames()) {
            if (v.text == name) {
                target = pitch;
                return true;
            }
        }
        return false;
    }
    static bool SetStyle(const TDefValue& v, std::uint8_t& target)
    {
        if (v.kind != Kind::Set) {
            return false;
        }
        std::uint8_t style = 0;
        for (const std::string& name : v.names) {
            const auto known = std::find_if(StyleNames().begin(), StyleNames().end(), [&name](const auto& entry) {
                return name == entry.second;
            });
            if (known == StyleNames().end()) {
                return false;
            }
            style |= known->first;
        }
        target = style;
        return true;
    }
    // Sets the height from a point size.
    static bool SetPointSize(const TDefValue& v, TDefFont& font)
    {
        int size = 0;
        if (!SetInt(v, size) || size <= -1000 || size >= 1000) {
            return false;
        }
        font.SetPointSize(size);
        return true;
    }

    bool ApplyAttr(const TDefProperty& p, TAttrItem& a)
    {
        const TDefValue& v = p.value;
        for (const TAttrField& f : FontTableFields()) {
            if (p.path != f.name) {
                continue;
            }
            switch (f.kind) {
            case TAttrFieldKind::Id:
                return Check(p, SetId(v, f.number.Of(a)));
            case TAttrFieldKind::Int:
                return Check(p, SetInt(v, f.number.Of(a)));
            case TAttrFieldKind::Charset:
                return Check(p, SetCharset(v, f.number.Of(a)));
            case TAttrFieldKind::Color:
                return Check(p, SetColor(v, f.color.Of(a)));
            case TAttrFieldKind::String:
                return Check(p, SetString(v, f.text.Of(a)));
            case TAttrFieldKind::Flag:
                return Check(p, SetFlag(v, f.flag.Of(a)));
            case TAttrFieldKind::Pitch:
                return Check(p, SetPitch(v, f.pitch.Of(a)));
            case TAttrFieldKind::Style:
                return Check(p, SetStyle(v, f.style.Of(a)));
            case TAttrFieldKind::PointSize:
                return Check(p, SetPointSize(v, a.Font));
            }
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
