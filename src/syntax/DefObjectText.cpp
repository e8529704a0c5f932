#include "syntax/DefObjectText.h"

#include <charconv>

namespace quillet {

namespace {

constexpr int kMaxNesting = 32;

enum class TTok { End, Ident, Integer, Float, String, Symbol };

struct TToken {
    TTok kind = TTok::End;
    int line = 1;
    std::string text; // identifier, string contents, symbol character
    std::int64_t value = 0; // integer
};

class TObjectTextParser {
public:
    explicit TObjectTextParser(std::string_view text)
        : m_text(text)
    {
    }

    bool Parse(TDefObject& object)
    {
        if (!Next()) {
            return false;
        }
        if (!ParseObject(&object, 0)) {
            return false;
        }
        return true;
    }

    int errorLine = 0;
    std::string error;

private:
    bool Fail(int line, std::string message)
    {
        if (error.empty()) {
            errorLine = line;
            error = std::move(message);
        }
        return false;
    }

    bool IsSymbol(char c) const { return m_tok.kind == TTok::Symbol && m_tok.text[0] == c; }
    bool IsWord(std::string_view word) const
    {
        if (m_tok.kind != TTok::Ident || m_tok.text.size() != word.size()) {
            return false;
        }
        for (std::size_t i = 0; i < word.size(); ++i) {
            char c = m_tok.text[i];
            if (c >= 'A' && c <= 'Z') {
                c = static_cast<char>(c - 'A' + 'a');
            }
            if (c != word[i]) {
                return false;
            }
        }
        return true;
    }

    void SkipBlanks()
    {
        while (m_pos < m_text.size()) {
            const char c = m_text[m_pos];
            if (c == '\n') {
                ++m_line;
            } else if (c == '\r') {
                if (m_pos + 1 >= m_text.size() || m_text[m_pos + 1] != '\n') {
                    ++m_line;
                }
            } else if (c != ' ' && c != '\t') {
                break;
            }
            ++m_pos;
        }
    }

    static bool IsIdentStart(char c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || c == '_'; }
    static bool IsDigit(char c) { return c >= '0' && c <= '9'; }
    static bool IsHex(char c) { return IsDigit(c) || (c >= 'A' && c <= 'F') || (c >= 'a' && c <= 'f'); }

    // Reads the next token into m_tok; false on a bad token.
    bool Next()
    {
        SkipBlanks();
        m_tok = TToken{};
        m_tok.line = m_line;
        if (m_pos >= m_text.size()) {
            return true;
        }
        const char c = m_text[m_pos];
        if (IsIdentStart(c)) {
            const std::size_t start = m_pos;
            while (m_pos < m_text.size()
                && (IsIdentStart(m_text[m_pos]) || IsDigit(m_text[m_pos]) || m_text[m_pos] == '.')) {
                ++m_pos;
            }
            m_tok.kind = TTok::Ident;
            m_tok.text.assign(m_text.substr(start, m_pos - start));
            return true;
        }
        if (c == '\'' || c == '#') {
            return ReadString();
        }
        if (IsDigit(c) || c == '$'
            || ((c == '-' || c == '+') && m_pos + 1 < m_text.size()
                && (IsDigit(m_text[m_pos + 1]) || m_text[m_pos + 1] == '$'))) {
            return ReadNumber();
        }
        if (std::string_view("=()<>[],+:{}").find(c) != std::string_view::npos) {
            m_tok.kind = TTok::Symbol;
            m_tok.text.assign(1, c);
            ++m_pos;
            return true;
        }
        return Fail(m_line, "unexpected character '" + std::string(1, c) + "'");
    }

    bool ReadNumber()
    {
        bool negative = false;
        if (m_text[m_pos] == '-' || m_text[m_pos] == '+') {
            negative = m_text[m_pos] == '-';
            ++m_pos;
        }
        int base = 10;
        if (m_text[m_pos] == '$') {
            base = 16;
            ++m_pos;
        }
        const std::size_t start = m_pos;
        while (m_pos < m_text.size() && (base == 16 ? IsHex(m_text[m_pos]) : IsDigit(m_text[m_pos]))) {
            ++m_pos;
        }
        if (m_pos == start) {
            return Fail(m_line, "bad number");
        }
        if (base == 10 && m_pos < m_text.size() && m_text[m_pos] == '.') {
            ++m_pos;
            while (m_pos < m_text.size() && (IsDigit(m_text[m_pos]) || m_text[m_pos] == 'e' || m_text[m_pos] == 'E')) {
                ++m_pos;
            }
            m_tok.kind = TTok::Float;
            return true;
        }
        std::uint64_t value = 0;
        const auto [end, ec] = std::from_chars(m_text.data() + start, m_text.data() + m_pos, value, base);
        if (ec != std::errc() || end != m_text.data() + m_pos || value > 0xFFFFFFFFull) {
            return Fail(m_line, "number out of range");
        }
        m_tok.kind = TTok::Integer;
        m_tok.value = negative ? -static_cast<std::int64_t>(value) : static_cast<std::int64_t>(value);
        return true;
    }

    // Adjacent pieces: 'text' (with '' for a quote) and #code.
    bool ReadString()
    {
        m_tok.kind = TTok::String;
        while (m_pos < m_text.size()) {
            const char c = m_text[m_pos];
            if (c == '\'') {
                ++m_pos;
                for (;;) {
                    if (m_pos >= m_text.size() || m_text[m_pos] == '\r' || m_text[m_pos] == '\n') {
                        return Fail(m_line, "unterminated string");
                    }
                    if (m_text[m_pos] == '\'') {
                        if (m_pos + 1 < m_text.size() && m_text[m_pos + 1] == '\'') {
                            m_tok.text += '\'';
                            m_pos += 2;
                            continue;
                        }
                        ++m_pos;
                        break;
                    }
                    m_tok.text += m_text[m_pos++];
                }
            } else if (c == '#') {
                ++m_pos;
                int base = 10;
                if (m_pos < m_text.size() && m_text[m_pos] == '$') {
                    base = 16;
                    ++m_pos;
                }
                const std::size_t start = m_pos;
                while (m_pos < m_text.size() && (base == 16 ? IsHex(m_text[m_pos]) : IsDigit(m_text[m_pos]))) {
                    ++m_pos;
                }
                unsigned code = 0;
                const auto [end, ec] = std::from_chars(m_text.data() + start, m_text.data() + m_pos, code, base);
                if (m_pos == start || ec != std::errc() || code > 255) {
                    return Fail(m_line, "bad character code in string");
                }
                (void)end;
                m_tok.text += static_cast<char>(code);
            } else {
                break;
            }
        }
        return true;
    }

    bool Expect(char symbol)
    {
        if (!IsSymbol(symbol)) {
            return Fail(m_tok.line, std::string("expected '") + symbol + "'");
        }
        return Next();
    }

    // At "object", "inherited" or "inline". object may be nullptr (dropped child).
    bool ParseObject(TDefObject* object, int depth)
    {
        if (depth > kMaxNesting) {
            return Fail(m_tok.line, "objects nested too deeply");
        }
        if (!IsWord("object") && !IsWord("inherited") && !IsWord("inline")) {
            return Fail(m_tok.line, "expected \"object\"");
        }
        if (!Next()) {
            return false;
        }
        if (m_tok.kind != TTok::Ident) {
            return Fail(m_tok.line, "expected a class name");
        }
        std::string className = m_tok.text;
        if (!Next()) {
            return false;
        }
        if (IsSymbol(':')) {
            if (!Next()) {
                return false;
            }
            if (m_tok.kind != TTok::Ident) {
                return Fail(m_tok.line, "expected a class name");
            }
            className = m_tok.text;
            if (!Next()) {
                return false;
            }
        }
        if (IsSymbol('[') && !SkipOrdinal()) {
            return false;
        }
        if (object != nullptr) {
            object->className = className;
        }
        for (;;) {
            if (m_tok.kind == TTok::End) {
                return Fail(m_tok.line, "unexpected end of file: \"end\" missing");
            }
            if (IsWord("end")) {
                return Next();
            }
            if (IsWord("object") || IsWord("inherited") || IsWord("inline")) {
                if (!ParseObject(nullptr, depth + 1)) {
                    return false;
                }
                continue;
            }
            TDefProperty property;
            if (!ParseProperty(property, depth)) {
                return false;
            }
            if (object != nullptr) {
                object->properties.push_back(std::move(property));
            }
        }
    }

    bool SkipOrdinal()
    {
        if (!Next()) {
            return false;
        }
        if (m_tok.kind != TTok::Integer) {
            return Fail(m_tok.line, "expected a number");
        }
        if (!Next()) {
            return false;
        }
        return Expect(']');
    }

    bool ParseProperty(TDefProperty& property, int depth)
    {
        if (m_tok.kind != TTok::Ident) {
            return Fail(m_tok.line, "expected a property name");
        }
        property.path = m_tok.text;
        property.line = m_tok.line;
        if (property.path.back() == '.' || property.path.find("..") != std::string::npos) {
            return Fail(m_tok.line, "bad property name");
        }
        if (!Next() || !Expect('=')) {
            return false;
        }
        return ParseValue(property.value, depth);
    }

    bool ParseValue(TDefValue& value, int depth)
    {
        if (depth > kMaxNesting) {
            return Fail(m_tok.line, "values nested too deeply");
        }
        value.line = m_tok.line;
        switch (m_tok.kind) {
        case TTok::End:
            return Fail(m_tok.line, "unexpected end of file: value missing");
        case TTok::Integer:
            value.kind = TDefValue::Kind::Integer;
            value.integer = m_tok.value;
            return Next();
        case TTok::Float:
            value.kind = TDefValue::Kind::Float;
            return Next();
        case TTok::Ident:
            value.kind = TDefValue::Kind::Ident;
            value.text = m_tok.text;
            return Next();
        case TTok::String:
            value.kind = TDefValue::Kind::String;
            value.text = std::move(m_tok.text);
            if (!Next()) {
                return false;
            }
            while (IsSymbol('+')) {
                if (!Next()) {
                    return false;
                }
                if (m_tok.kind != TTok::String) {
                    return Fail(m_tok.line, "expected a string after '+'");
                }
                value.text += m_tok.text;
                if (!Next()) {
                    return false;
                }
            }
            return true;
        case TTok::Symbol:
            break;
        }
        if (IsSymbol('[')) {
            value.kind = TDefValue::Kind::Set;
            if (!Next()) {
                return false;
            }
            while (!IsSymbol(']')) {
                if (m_tok.kind != TTok::Ident && m_tok.kind != TTok::Integer) {
                    return Fail(m_tok.line, "bad set element");
                }
                value.names.push_back(m_tok.kind == TTok::Ident ? m_tok.text : std::to_string(m_tok.value));
                if (!Next()) {
                    return false;
                }
                if (IsSymbol(',')) {
                    if (!Next()) {
                        return false;
                    }
                } else if (!IsSymbol(']')) {
                    return Fail(m_tok.line, "expected ',' or ']' in set");
                }
            }
            return Next();
        }
        if (IsSymbol('(')) {
            value.kind = TDefValue::Kind::List;
            if (!Next()) {
                return false;
            }
            while (!IsSymbol(')')) {
                TDefValue element;
                if (!ParseValue(element, depth + 1)) {
                    return false;
                }
                value.list.push_back(std::move(element));
            }
            return Next();
        }
        if (IsSymbol('<')) {
            value.kind = TDefValue::Kind::Collection;
            if (!Next()) {
                return false;
            }
            while (!IsSymbol('>')) {
                if (!IsWord("item")) {
                    return Fail(m_tok.line, "expected \"item\" or '>'");
                }
                TDefItem item;
                item.line = m_tok.line;
                if (!Next()) {
                    return false;
                }
                if (IsSymbol('[') && !SkipOrdinal()) {
                    return false;
                }
                while (!IsWord("end")) {
                    if (m_tok.kind == TTok::End) {
                        return Fail(m_tok.line, "unexpected end of file: \"end\" of item missing");
                    }
                    TDefProperty property;
                    if (!ParseProperty(property, depth + 1)) {
                        return false;
                    }
                    item.properties.push_back(std::move(property));
                }
                value.items.push_back(std::move(item));
                if (!Next()) {
                    return false;
                }
            }
            return Next();
        }
        if (IsSymbol('{')) {
            // Binary data: hex digits up to "}". Kept only as "unusable".
            value.kind = TDefValue::Kind::Binary;
            while (m_pos < m_text.size() && m_text[m_pos] != '}') {
                if (m_text[m_pos] == '\n') {
                    ++m_line;
                }
                ++m_pos;
            }
            if (m_pos >= m_text.size()) {
                return Fail(m_line, "unexpected end of file: '}' missing");
            }
            ++m_pos;
            return Next();
        }
        return Fail(m_tok.line, "bad value '" + m_tok.text + "'");
    }

    std::string_view m_text;
    std::size_t m_pos = 0;
    int m_line = 1;
    TToken m_tok;
};

} // namespace

bool ParseObjectText(std::string_view text, TDefObject& object, int& errorLine, std::string& error)
{
    TObjectTextParser parser(text);
    if (!parser.Parse(object)) {
        errorLine = parser.errorLine;
        error = parser.error;
        return false;
    }
    return true;
}

} // namespace quillet
