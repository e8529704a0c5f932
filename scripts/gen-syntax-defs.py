#!/usr/bin/env python3
"""Writes the shipped syntax definitions ("Syntax Definitions/*.def").

Each language is described compactly in scripts/gen-syntax-defs-languages.py;
this script holds the definition model and the ".def" writer, which produces
the same text as the program's own definition writer (property order,
quoting, CR LF line ends, defaults left out), so that loading a shipped file
and saving it again gives the same bytes.

Usage: scripts/gen-syntax-defs.py [--check] [output folder]
  --check  compare with the files on disk instead of writing; exit 1 on a
           difference (for use before committing).
"""

import importlib.util
import os
import sys

# Colour and font values of the global text styles in their default preset,
# so that a definition shows sensible colours even before the styles are
# applied to it.  Value: (font colour, font style set, background).
STYLE_DEFAULTS = {
    "Whitespace": ("clWindowText", [], None),
    "String": ("clMaroon", [], None),
    "Comment": ("clGray", ["fsItalic"], None),
    "Identifier": ("clBlack", [], None),
    "Integer": ("clGreen", [], None),
    "Float": ("clGreen", [], None),
    "Reserved words": ("clBlue", ["fsBold"], None),
    "Delimiters": ("clBlack", [], None),
    "Defines": ("clGreen", [], None),
    "Assembler": ("clGreen", [], None),
    "Html tags": ("clBlue", [], None),
    "Html params": ("clBlue", [], None),
    "Emphasis": ("clBlack", ["fsBold"], None),
    "System Variable": ("clBlue", [], None),
    "Script Whitespace": ("clTeal", [], None),
    "Script Delimiters": ("clBlack", [], None),
    "Script Comment": ("clGray", ["fsItalic"], None),
    "Script String": ("clMaroon", [], None),
    "Script Number": ("clBlue", [], None),
    "Script ResWord": ("clBlack", ["fsBold"], None),
    "Plain Text": ("clBlack", [], None),
    "Added Lines": ("clBlack", [], 0xF0CCA8),
    "Deleted Lines": ("clBlack", [], 0xBB77FF),
    "Modified Lines": ("clBlack", [], 0x6FFB8A),
}

COLOR_NAMES = {
    0x000000: "clBlack", 0x000080: "clMaroon", 0x008000: "clGreen",
    0x008080: "clOlive", 0x800000: "clNavy", 0x800080: "clPurple",
    0x808000: "clTeal", 0x808080: "clGray", 0xC0C0C0: "clSilver",
    0x0000FF: "clRed", 0x00FF00: "clLime", 0x00FFFF: "clYellow",
    0xFF0000: "clBlue", 0xFF00FF: "clFuchsia", 0xFFFF00: "clAqua",
    0xFFFFFF: "clWhite",
}

FONT_HEIGHT = -13
FONT_NAME = "Courier New"
# A string value longer than this is wrapped over several lines.
LINE_LENGTH = 64
# The text after " =" on a property line whose string value starts on the
# next line.
LONG_STRING_OPENER = " = "

DEFAULT_FIRST = set(range(ord("A"), ord("Z") + 1)) | {ord("_")} | set(
    range(ord("a"), ord("z") + 1))
DEFAULT_OTHER = DEFAULT_FIRST | set(range(ord("0"), ord("9") + 1))


def char_set(text):
    """Parses our own compact notation: ranges written a-z, literal chars."""
    result = set()
    i = 0
    while i < len(text):
        if i + 2 < len(text) and text[i + 1] == "-":
            result |= set(range(ord(text[i]), ord(text[i + 2]) + 1))
            i += 3
        else:
            result.add(ord(text[i]))
            i += 1
    return result


def char_set_to_string(codes):
    """The stored form of a character set: ascending runs, "\\" and "-"
    escaped where they start a run, a run of two or more written first-last."""
    out = []
    c = 0
    while c <= 255:
        if c not in codes:
            c += 1
            continue
        ch = chr(c)
        out.append("\\" + ch if ch in "\\-" else ch)
        end = c
        while end + 1 <= 255 and end + 1 in codes:
            end += 1
        if end > c:
            out.append("-" + chr(end))
        c = end + 1
    return "".join(out)


class Attr:
    def __init__(self, font_id, style, block_id, use_def_back=True):
        self.font_id = font_id
        self.style = style
        self.block_id = block_id
        self.use_def_back = use_def_back


class Block:
    """One lexical block.  Token lists hold tuples:
    comments/strings (left, right, style); prefixes (text,);
    keyword sets (name, style, [words]); delimiters (left, right, part)."""

    def __init__(self, scheme, name, block_id, parent_id):
        self.scheme = scheme
        self.name = name
        self.id = block_id
        self.parent_id = parent_id
        self.case_sensitive = False
        self.meta = None            # meta character or None
        self.meta_wraps = True
        self.text = "Whitespace"    # style of plain text
        self.number = None          # style of numbers (int, float, hex)
        self.float_style = None     # defaults to number style
        self.directive = None       # (prefix, style)
        self.symbol = None          # style of symbols
        self.ident = None           # style of identifiers
        self.line_comments = []     # (left, style)
        self.block_comments = []    # (left, right, style)
        self.full_line_comments = []
        self.line_strings = []      # (left, right, style)
        self.multi_strings = []
        self.num_prefixes = []
        self.num_suffixes = []
        self.multiple_suffixes = False
        self.ps_composition = False
        self.ident_prefixes = []
        self.ident_suffixes = []
        self.keywords = []          # (name, style, words)
        self.delimiters = []        # (left, right, part_of_block)
        self.first_chars = None     # compact notation or None for default
        self.other_chars = None
        self.attrs = {}

    def font(self, style):
        if style is None:
            return -1
        if style not in self.attrs:
            self.attrs[style] = self.scheme.new_attr(style, self.id)
        return self.attrs[style].font_id


class Scheme:
    def __init__(self, file_name, name, extensions, comment=""):
        self.file_name = file_name
        self.name = name
        self.comment = comment
        self.extensions = sorted(set(extensions), key=str.lower)
        self.blocks = []
        self.attrs = []
        self.no_def_back = set()

    def block(self, name, parent=None, delimiters=()):
        b = Block(self, name, len(self.blocks),
                  -1 if parent is None else parent.id)
        b.delimiters = list(delimiters)
        self.blocks.append(b)
        return b

    def new_attr(self, style, block_id):
        used = {a.font_id for a in self.attrs}
        font_id = next(i for i in range(256) if i != 12 and i not in used)
        attr = Attr(font_id, style, block_id,
                    style not in self.no_def_back)
        self.attrs.append(attr)
        return attr


# ---------------------------------------------------------------------------
# Writer


def string_pieces(s):
    """Splits a value into lines of at most LINE_LENGTH characters, each line
    as its quoted pieces ('text' and #n)."""
    lines = []
    current = []
    count = 0
    run = ""
    for ch in s:
        if count == LINE_LENGTH:
            if run:
                current.append("'" + run + "'")
                run = ""
            lines.append("".join(current))
            current = []
            count = 0
        if ord(ch) < 32 or ch == "'":
            if run:
                current.append("'" + run + "'")
                run = ""
            current.append("#%d" % ord(ch))
        else:
            run += ch
        count += 1
    if run:
        current.append("'" + run + "'")
    lines.append("".join(current))
    return lines


class Writer:
    def __init__(self):
        self.lines = []

    def line(self, depth, text):
        self.lines.append("  " * depth + text)

    def prop(self, depth, name, value):
        self.line(depth, "%s = %s" % (name, value))

    def string(self, depth, name, s):
        if s == "":
            self.prop(depth, name, "''")
            return
        for ch in s:
            assert ord(ch) < 256, "8-bit text only: %r" % s
        pieces = string_pieces(s)
        if len(s) <= LINE_LENGTH:
            self.prop(depth, name, pieces[0])
            return
        self.line(depth, name + LONG_STRING_OPENER)
        for i, piece in enumerate(pieces):
            self.line(depth + 1, piece + (" +" if i < len(pieces) - 1 else ""))

    def collection(self, depth, name, items):
        """items: list of lists of (kind, name, value) properties."""
        if not items:
            self.prop(depth, name, "<>")
            return
        self.prop(depth, name, "<")
        for i, props in enumerate(items):
            self.line(depth + 1, "item")
            for kind, pname, value in props:
                self.value(depth + 2, kind, pname, value)
            self.line(depth + 1, "end" + (">" if i == len(items) - 1 else ""))

    def value(self, depth, kind, name, value):
        if kind == "str":
            self.string(depth, name, value)
        elif kind == "int":
            self.prop(depth, name, str(value))
        elif kind == "bool":
            self.prop(depth, name, "True" if value else "False")
        elif kind == "ident":
            self.prop(depth, name, value)
        elif kind == "coll":
            self.collection(depth, name, value)
        else:
            raise ValueError(kind)


def token_items(block, entries, kind):
    items = []
    for entry in entries:
        props = []
        if kind == "line":
            left, style = entry
            props.append(("int", "FontID", block.font(style)))
            props.append(("str", "LeftDelimiter", left))
        elif kind == "pair":
            left, right, style = entry
            props.append(("int", "FontID", block.font(style)))
            props.append(("str", "LeftDelimiter", left))
            props.append(("str", "RightDelimiter", right))
        elif kind == "plain":
            props.append(("str", "LeftDelimiter", entry))
        elif kind == "keywords":
            name, style, words = entry
            folded = words if block.case_sensitive else [
                w.lower() for w in words]
            assert len(set(folded)) == len(folded), (name, [
                w for w in folded if folded.count(w) > 1])
            first = char_set(block.first_chars) if block.first_chars \
                else DEFAULT_FIRST
            other = char_set(block.other_chars) if block.other_chars \
                else DEFAULT_OTHER
            for w in words:
                # A keyword is found only as a whole identifier token.
                assert w and ord(w[0]) in first and all(
                    ord(c) in other for c in w[1:]), (block.name, w)
            props.append(("int", "FontID", block.font(style)))
            props.append(("str", "Name", name))
            props.append(("str", "Keywords", ",".join(words)))
        items.append(props)
    return items


def block_props(b):
    p = []
    fl = lambda name, v: v and p.append(("bool", name, True))
    p.append(("str", "Name", b.name))
    p.append(("int", "ID", b.id))
    if b.parent_id != -1:
        p.append(("int", "ParentID", b.parent_id))
    fl("CaseSensitive", b.case_sensitive)
    if b.meta is not None:
        p.append(("bool", "UseMetaSymbol", True))
        p.append(("bool", "UseMetaToWrapLines", b.meta_wraps))
        p.append(("str", "MetaSymbol", b.meta))
    number = b.number
    fis = [
        ("FIText", b.text),
        ("FIIntNum", number),
        ("FIFloatNum", b.float_style or number),
        ("FIHexNum", number),
        ("FIDirective", b.directive[1] if b.directive else None),
        ("FISymbol", b.symbol),
        ("FIIdentifier", b.ident),
    ]
    for name, style in fis:
        fid = b.font(style)
        if fid != -1:
            p.append(("int", name, fid))
    use_comments = bool(b.line_comments or b.block_comments
                        or b.full_line_comments)
    use_strings = bool(b.line_strings or b.multi_strings)
    fl("UseSymbols", b.symbol is not None)
    fl("UseLineDirectives", b.directive is not None)
    fl("UseComments", use_comments)
    fl("UseSingleLineComments", bool(b.line_comments))
    fl("UseMultiLineComments", bool(b.block_comments))
    fl("UseFullLineComments", bool(b.full_line_comments))
    fl("UseStrings", use_strings)
    fl("UseSingleLineStrings", bool(b.line_strings))
    fl("UseMultiLineStrings", bool(b.multi_strings))
    fl("UseNumbers", number is not None)
    fl("UsePrefixedNumbers", bool(b.num_prefixes))
    if b.num_suffixes:
        p.append(("bool", "UseSuffixedNumbers", True))
        p.append(("bool", "UseMultipleNumSuffixes", b.multiple_suffixes))
    if b.ps_composition:
        p.append(("bool", "UsePrefixedSuffixedNumbers", True))
        p.append(("bool", "UsePSNumComposition", True))
    fl("UseIdentifiers", b.ident is not None)
    fl("UsePrefixedIdentifiers", bool(b.ident_prefixes))
    fl("UseSuffixedIdentifiers", bool(b.ident_suffixes))
    fl("UseKeywords", bool(b.keywords))
    delims = []
    for left, right, part in b.delimiters:
        d = [("str", "LeftDelimiter", left), ("str", "RightDelimiter", right)]
        if part:
            d.append(("bool", "DelimitersArePartOfBlock", True))
        delims.append(d)
    p.append(("coll", "BlockDelimiters", delims))
    if b.directive:
        p.append(("str", "LineDirectivePrefix", b.directive[0]))
    if b.line_comments:
        p.append(("coll", "SingleLineCommentDelimiters",
                  token_items(b, b.line_comments, "line")))
    if b.block_comments:
        p.append(("coll", "MultiLineCommentDelimiters",
                  token_items(b, b.block_comments, "pair")))
    if b.full_line_comments:
        p.append(("coll", "FullLineCommentDelimiters",
                  token_items(b, b.full_line_comments, "line")))
    if b.line_strings:
        p.append(("coll", "SingleLineStringDelimiters",
                  token_items(b, b.line_strings, "pair")))
    if b.multi_strings:
        p.append(("coll", "MultiLineStringDelimiters",
                  token_items(b, b.multi_strings, "pair")))
    if b.num_prefixes:
        p.append(("coll", "NumPrefixes",
                  token_items(b, b.num_prefixes, "plain")))
    if b.num_suffixes:
        p.append(("coll", "NumSuffixes",
                  token_items(b, b.num_suffixes, "plain")))
    if b.ps_composition:
        p.append(("coll", "NumPrefixesSuffixes", []))
    if b.ident_prefixes:
        p.append(("coll", "IdentPrefixes",
                  token_items(b, b.ident_prefixes, "plain")))
    if b.ident_suffixes:
        p.append(("coll", "IdentSuffixes",
                  token_items(b, b.ident_suffixes, "plain")))
    if b.keywords:
        p.append(("coll", "KeywordSets",
                  token_items(b, b.keywords, "keywords")))
    for name, notation, default in (("FirstIdentChars", b.first_chars,
                                     DEFAULT_FIRST),
                                    ("OtherIdentChars", b.other_chars,
                                     DEFAULT_OTHER)):
        if notation is not None:
            codes = char_set(notation)
            if codes != default:
                p.append(("str", name, char_set_to_string(codes)))
    return p


def color_value(value):
    return COLOR_NAMES.get(value, str(value))


def attr_props(a):
    color, styles, back = STYLE_DEFAULTS[a.style]
    p = [("int", "FontID", a.font_id), ("str", "GlobalAttrID", a.style)]
    if a.block_id != 0:
        p.append(("int", "BlockID", a.block_id))
    p.append(("ident", "Font.Charset", "DEFAULT_CHARSET"))
    p.append(("ident", "Font.Color", color))
    p.append(("int", "Font.Height", FONT_HEIGHT))
    p.append(("str", "Font.Name", FONT_NAME))
    p.append(("ident", "Font.Style", "[" + ", ".join(styles) + "]"))
    if not a.use_def_back and back is not None:
        p.append(("ident", "BackColor", color_value(back)))
    if not a.use_def_back:
        p.append(("bool", "UseDefBack", False))
    return p


def render(scheme):
    # Block properties first: they allocate the attributes they refer to.
    blocks = [block_props(b) for b in scheme.blocks]
    w = Writer()
    w.line(0, "object TPersHolder")
    if scheme.name:
        w.string(1, "P.Name", scheme.name)
    if scheme.comment:
        w.string(1, "P.Comment", scheme.comment)
    if scheme.extensions:
        w.line(1, "P.Extensions.Strings = (")
        for i, entry in enumerate(scheme.extensions):
            assert len(entry) <= LINE_LENGTH, entry
            last = i == len(scheme.extensions) - 1
            w.line(2, string_pieces(entry)[0] + (")" if last else ""))
    w.collection(1, "P.SyntaxBlocks", blocks)
    w.collection(1, "P.FontTable",
                 [attr_props(a)
                  for a in sorted(scheme.attrs, key=lambda a: a.font_id)])
    w.prop(1, "P.SyntaxVersion", "3")
    w.line(0, "end")
    text = "\r\n".join(w.lines) + "\r\n"
    return text.encode("latin-1")


def load_languages():
    here = os.path.dirname(os.path.abspath(__file__))
    path = os.path.join(here, "gen-syntax-defs-languages.py")
    module_spec = importlib.util.spec_from_file_location("syntax_languages", path)
    module = importlib.util.module_from_spec(module_spec)
    module.Scheme = Scheme
    module_spec.loader.exec_module(module)
    return module.all_schemes()


def main(argv):
    check = "--check" in argv
    args = [a for a in argv if not a.startswith("--")]
    root = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
    out = args[0] if args else os.path.join(root, "Syntax Definitions")
    os.makedirs(out, exist_ok=True)
    differ = False
    for scheme in load_languages():
        data = render(scheme)
        path = os.path.join(out, scheme.file_name)
        if check:
            try:
                with open(path, "rb") as f:
                    old = f.read()
            except OSError:
                old = None
            if old != data:
                print("differs: %s" % path)
                differ = True
        else:
            with open(path, "wb") as f:
                f.write(data)
    return 1 if differ else 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))
