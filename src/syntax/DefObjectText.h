#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace quillet {

struct TDefItem;
struct TDefProperty;

// A value of the textual object stream.
struct TDefValue {
    enum class Kind { Integer, Float, Ident, String, Set, List, Collection, Binary };
    Kind kind = Kind::Integer;
    int line = 0;
    std::int64_t integer = 0;
    std::string text; // Ident name, String contents
    std::vector<std::string> names; // Set members
    std::vector<TDefValue> list; // List items
    std::vector<TDefItem> items; // Collection items
};

struct TDefProperty {
    std::string path; // identifiers joined by "."
    int line = 0;
    TDefValue value;
};

// One "item ... end" of a collection.
struct TDefItem {
    int line = 0;
    std::vector<TDefProperty> properties;
};

struct TDefObject {
    std::string className;
    std::vector<TDefProperty> properties;
};

// Parses the textual object stream ("object Name: TClass ... end"). Returns
// false and sets error ("line: message") on malformed text: a bad token,
// unbalanced item/end, bad value syntax, or nesting deeper than makes sense.
// Child objects are parsed and dropped.
bool ParseObjectText(std::string_view text, TDefObject& object, int& errorLine, std::string& error);

} // namespace quillet
