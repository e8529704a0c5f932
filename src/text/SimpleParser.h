#pragma once

#include "text/Colors.h"

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace quillet {

// A font as the engines describe it; ui/ code turns it into a QFont.
struct TFontSpec {
    std::string name;
    int size = 10;
    bool bold = false;
    bool italic = false;
    bool underline = false;
    bool strikeOut = false;
    TColor color = 0; // text colour

    bool operator==(const TFontSpec&) const = default;
};

class TSimpleParser;

// Told when a parser's output for the same input may have changed (definition
// or styles replaced); the buffer then forgets every stored line state. Also
// told when the parser is destroyed while still registered, so that nobody
// keeps a pointer to it: at that point only its address may be used.
class IParserNotifier {
public:
    virtual ~IParserNotifier() = default;
    virtual void ParserChanged(TSimpleParser& parser) = 0;
    virtual void ParserDestroyed(TSimpleParser& parser) = 0;
};

// The highlighter interface the text buffer drives line by line. A line's whole
// lexical state is one 32-bit value; the state before the first line is 0.
class TSimpleParser {
public:
    TSimpleParser() = default;
    // The registrations belong to this object: a parser is not copied.
    TSimpleParser(const TSimpleParser&) = delete;
    TSimpleParser& operator=(const TSimpleParser&) = delete;
    // Tells every notifier still registered, which then forgets this parser.
    virtual ~TSimpleParser();

    // Index of the line about to be coloured.
    virtual void UpdateLinePos(std::size_t line) { m_linePos = line; }
    // Font for an attribute byte; nullopt means "use the default".
    virtual std::optional<TFontSpec> GetFont(std::uint8_t attr) const
    {
        (void)attr;
        return std::nullopt;
    }
    // Background colour for an attribute byte; nullopt means none.
    virtual std::optional<TColor> GetBackColor(std::uint8_t attr) const
    {
        (void)attr;
        return std::nullopt;
    }
    // Colours one line: attrs is resized to text.size() and filled with one
    // attribute byte per character. Returns the state at the end of the line.
    virtual std::uint32_t ColorString(
        std::string_view text, std::uint32_t startState, std::vector<std::uint8_t>& attrs) = 0;
    // Whether attribute bytes are document data that travel with the text.
    virtual bool StoreColorData() const { return false; }
    // Whether attribute bytes are the definition's own attribute ids (the
    // scheme-driven highlighter) rather than indexes of the global text styles,
    // where 1 and 2 mean string and comment.
    virtual bool IsSchemeDriven() const { return false; }
    // Sets attrs to as many zero bytes as the line has characters.
    virtual void PrepareColorData(std::size_t line, std::string_view text, std::vector<std::uint8_t>& attrs)
    {
        (void)line;
        attrs.assign(text.size(), 0);
    }

    // A registered notifier must unregister before it is destroyed.
    void RegisterNotifier(IParserNotifier* notifier);
    void UnregisterNotifier(IParserNotifier* notifier);

protected:
    // Every registered notifier hears that the parser's output changed.
    void NotifyChanged();
    std::size_t m_linePos = 0;

private:
    std::vector<IParserNotifier*> m_notifiers;
};

} // namespace quillet
