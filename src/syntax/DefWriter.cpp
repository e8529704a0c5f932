#include "syntax/DefWriter.h"

#include "platform/posix/PosixFileSystem.h"
#include "syntax/DefFields.h"
#include "syntax/DefNames.h"

namespace quillet {

namespace {

// Long strings are cut into lines of this many characters, joined by " +".
constexpr std::size_t kStringLineLength = 64;

class TDefTextWriter {
public:
    std::string out;

    void Indent(int depth) { out.append(static_cast<std::size_t>(depth) * 2, ' '); }
    void EndLine() { out += "\r\n"; }
    void Line(int depth, std::string_view text)
    {
        Indent(depth);
        out += text;
        EndLine();
    }

    // The pieces of a string value from the current point; lines after the
    // first start at continueDepth.
    void Pieces(std::string_view value, int continueDepth)
    {
        if (value.empty()) {
            out += "''";
            return;
        }
        bool quoted = false;
        std::size_t onLine = 0;
        for (std::size_t i = 0; i < value.size(); ++i) {
            const unsigned char c = static_cast<unsigned char>(value[i]);
            if (c < 32 || c == '\'') {
                if (quoted) {
                    out += '\'';
                    quoted = false;
                }
                out += '#';
                out += std::to_string(c);
            } else {
                if (!quoted) {
                    out += '\'';
                    quoted = true;
                }
                out += static_cast<char>(c);
            }
            if (++onLine == kStringLineLength && i + 1 < value.size()) {
                if (quoted) {
                    out += '\'';
                    quoted = false;
                }
                out += " +";
                EndLine();
                Indent(continueDepth);
                onLine = 0;
            }
        }
        if (quoted) {
            out += '\'';
        }
    }

    void String(int depth, std::string_view name, std::string_view value)
    {
        Indent(depth);
        out += name;
        out += " = ";
        if (value.size() > kStringLineLength) {
            EndLine();
            Indent(depth + 1);
        }
        Pieces(value, depth + 1);
        EndLine();
    }
    void Raw(int depth, std::string_view name, std::string_view value)
    {
        Indent(depth);
        out += name;
        out += " = ";
        out += value;
        EndLine();
    }
    void Int(int depth, std::string_view name, long long value) { Raw(depth, name, std::to_string(value)); }
    void Flag(int depth, std::string_view name, bool value) { Raw(depth, name, value ? "True" : "False"); }
    void Color(int depth, std::string_view name, TColor value)
    {
        const auto ident = ColorToIdent(value);
        if (ident) {
            Raw(depth, name, *ident);
        } else {
            Int(depth, name, static_cast<std::int32_t>(value));
        }
    }

    // "name = <", items, "end>"; "name = <>" when empty.
    template <typename T, typename F>
    void Collection(int depth, std::string_view name, const std::vector<T>& items, F writeItem)
    {
        Indent(depth);
        out += name;
        if (items.empty()) {
            out += " = <>";
            EndLine();
            return;
        }
        out += " = <";
        EndLine();
        for (std::size_t i = 0; i < items.size(); ++i) {
            Line(depth + 1, "item");
            writeItem(depth + 2, items[i]);
            Indent(depth + 1);
            out += i + 1 == items.size() ? "end>" : "end";
            EndLine();
        }
    }

    void Token(int depth, const TToken& t)
    {
        if (t.FontID != -1) {
            Int(depth, "FontID", t.FontID);
        }
        if (!t.UseToken) {
            Flag(depth, "UseToken", false);
        }
    }
    void LineToken(int depth, const TLineToken& t)
    {
        Token(depth, t);
        if (!t.LeftDelimiter.empty()) {
            String(depth, "LeftDelimiter", t.LeftDelimiter);
        }
    }
    void BlockToken(int depth, const TBlockToken& t)
    {
        LineToken(depth, t);
        if (!t.RightDelimiter.empty()) {
            String(depth, "RightDelimiter", t.RightDelimiter);
        }
    }
    void LineList(int depth, std::string_view name, const TLineTokenList& list)
    {
        Collection(depth, name, list, [this](int d, const TLineToken& t) {
            LineToken(d, t);
        });
    }
    void BlockList(int depth, std::string_view name, const TBlockTokenList& list)
    {
        Collection(depth, name, list, [this](int d, const TBlockToken& t) {
            BlockToken(d, t);
        });
    }

    void Block(int d, const TSyntaxBlock& b)
    {
        for (const TDefField& f : SyntaxBlockFields()) {
            if (f.writtenIf != nullptr && !(b.*f.writtenIf)) {
                continue;
            }
            switch (f.kind) {
            case TDefFieldKind::String:
                if (!(b.*f.text).empty()) {
                    String(d, f.name, b.*f.text);
                }
                break;
            case TDefFieldKind::Id:
                if (b.*f.id != -1) {
                    Int(d, f.name, b.*f.id);
                }
                break;
            case TDefFieldKind::Flag:
                if (f.always || b.*f.flag) {
                    Flag(d, f.name, b.*f.flag);
                }
                break;
            case TDefFieldKind::Char:
                String(d, f.name, std::string_view(&(b.*f.symbol), 1));
                break;
            case TDefFieldKind::CharSet:
                if (b.*f.charSet != f.defaultSet()) {
                    String(d, f.name, CharSetToString(b.*f.charSet));
                }
                break;
            case TDefFieldKind::LineList:
                LineList(d, f.name, b.*f.lines);
                break;
            case TDefFieldKind::BlockList:
                BlockList(d, f.name, b.*f.blocks);
                break;
            case TDefFieldKind::Delimiters:
                Collection(d, f.name, b.BlockDelimiters, [this](int dd, const TDelimiters& t) {
                    Delimiters(dd, t);
                });
                break;
            case TDefFieldKind::KeywordSets:
                Collection(d, f.name, b.KeywordSets, [this](int dd, const TKeywordSet& t) {
                    KeywordSet(dd, t);
                });
                break;
            }
        }
    }
    void Delimiters(int d, const TDelimiters& t)
    {
        if (!t.LeftDelimiter.empty()) {
            String(d, "LeftDelimiter", t.LeftDelimiter);
        }
        if (!t.RightDelimiter.empty()) {
            String(d, "RightDelimiter", t.RightDelimiter);
        }
        if (t.DelimitersArePartOfBlock) {
            Flag(d, "DelimitersArePartOfBlock", true);
        }
        if (!t.UseToken) {
            Flag(d, "UseToken", false);
        }
    }
    void KeywordSet(int d, const TKeywordSet& t)
    {
        Token(d, t);
        if (!t.Name.empty()) {
            String(d, "Name", t.Name);
        }
        if (!t.Keywords.empty()) {
            String(d, "Keywords", t.Keywords);
        }
    }

    void Attr(int d, const TAttrItem& a)
    {
        for (const TAttrField& f : FontTableFields()) {
            if (!f.IsWritten(a)) {
                continue;
            }
            switch (f.kind) {
            case TAttrFieldKind::Id:
            case TAttrFieldKind::Int:
            case TAttrFieldKind::PointSize:
                Int(d, f.name, f.number.Of(a));
                break;
            case TAttrFieldKind::Charset:
                if (const auto ident = CharsetToIdent(f.number.Of(a))) {
                    Raw(d, f.name, *ident);
                } else {
                    Int(d, f.name, f.number.Of(a));
                }
                break;
            case TAttrFieldKind::Color:
                Color(d, f.name, f.color.Of(a));
                break;
            case TAttrFieldKind::String:
                String(d, f.name, f.text.Of(a));
                break;
            case TAttrFieldKind::Flag:
                Flag(d, f.name, f.flag.Of(a));
                break;
            case TAttrFieldKind::Pitch:
                for (const auto& [pitch, name] : PitchNames()) {
                    if (pitch == f.pitch.Of(a)) {
                        Raw(d, f.name, name);
                    }
                }
                break;
            case TAttrFieldKind::Style: {
                std::string style = "[";
                for (const auto& [bit, name] : StyleNames()) {
                    if ((f.style.Of(a) & bit) != 0) {
                        if (style.size() > 1) {
                            style += ", ";
                        }
                        style += name;
                    }
                }
                style += ']';
                Raw(d, f.name, style);
                break;
            }
            }
        }
    }
};

// What the diagnostic says about the step of the safe write that failed.
const char* StepText(TFileStep step)
{
    switch (step) {
    case TFileStep::Create:
        return "cannot create a temporary file";
    case TFileStep::Sync:
        return "cannot flush to disk";
    case TFileStep::Check:
    case TFileStep::Rename:
        return "cannot replace the file";
    case TFileStep::Other:
        return "cannot set file permissions";
    default:
        return "cannot write";
    }
}

} // namespace

std::string WriteDefinition(const TSyntaxScheme& scheme)
{
    TDefTextWriter w;
    w.Line(0, "object TPersHolder");
    if (!scheme.Name.empty()) {
        w.String(1, "P.Name", scheme.Name);
    }
    if (!scheme.Comment.empty()) {
        w.String(1, "P.Comment", scheme.Comment);
    }
    if (!scheme.Extensions.empty()) {
        w.Line(1, "P.Extensions.Strings = (");
        for (std::size_t i = 0; i < scheme.Extensions.size(); ++i) {
            // A list item starts on its own line; a long one continues one
            // level deeper.
            w.Indent(2);
            w.Pieces(scheme.Extensions[i], 3);
            if (i + 1 == scheme.Extensions.size()) {
                w.out += ')';
            }
            w.EndLine();
        }
    }
    w.Collection(1, "P.SyntaxBlocks", scheme.SyntaxBlocks, [&w](int d, const TSyntaxBlock& b) {
        w.Block(d, b);
    });
    w.Collection(1, "P.FontTable", scheme.FontTable.Items, [&w](int d, const TAttrItem& a) {
        w.Attr(d, a);
    });
    w.Int(1, "P.SyntaxVersion", scheme.SyntaxVersion);
    w.Line(0, "end");
    return w.out;
}

TDefResult WriteFileReplacing(const std::filesystem::path& file, std::string_view bytes)
{
    const TFileStatus status = SystemFileSystem().WriteFile(file, bytes);
    if (!status) {
        return {false, {file.string() + ":0: " + StepText(status.step) + ": " + status.reason}};
    }
    return {};
}

} // namespace quillet
