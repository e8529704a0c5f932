"""Compact descriptions of the shipped syntax definitions.

Loaded by scripts/gen-syntax-defs.py, which supplies `Scheme`.  Keyword lists
follow each language's published reference.  Notes on the highlighter that
shape these descriptions:
- child blocks are entered and left by delimiters; a block cannot be its own
  child, so nesting comments are a short chain of comment blocks;
- the meta symbol belongs to a block, so it escapes delimiters of every
  string kind of that block;
- number prefixes are tried before comments' neighbours are split into
  symbols, which lets "$#" in shell and Perl stay out of the comment rule.
"""

NORMAL = {
    "text": "Whitespace", "comment": "Comment", "string": "String",
    "number": "Integer", "float": "Float", "keyword": "Reserved words",
    "builtin": "System Variable", "symbol": "Delimiters",
    "ident": "Identifier", "directive": "Defines",
}

SCRIPT = {
    "text": "Script Whitespace", "comment": "Script Comment",
    "string": "Script String", "number": "Script Number",
    "float": "Script Number", "keyword": "Script ResWord",
    "builtin": "Script ResWord", "symbol": "Script Delimiters",
    "ident": None, "directive": "Defines",
}

C_SUFFIXES = ["u", "U", "l", "L", "f", "F"]

# Digit separators (1'000'000 in C and C++, 1_000_000 and 0xFF_FF in most
# other languages): the highlighter reads a number's digits and then its
# suffixes, so a separator with the digit after it, and the further digits, are
# taken as more suffixes of the same number. Without them the rest of the
# number would be an identifier, or in C a character literal.
HEX_DIGITS = "0123456789abcdefABCDEF"


def separator_suffixes(separator):
    return [separator + d for d in HEX_DIGITS] + list(HEX_DIGITS)


# The binary exponent of hexadecimal floats (0x1.8p3, 0x1p-4): read as
# suffixes of the number, with the exponent's digits after them.
HEX_FLOAT_EXPONENT = ["p+", "p-", "P+", "P-", "p", "P"]


def w(text):
    return text.split()


def code(b, st=NORMAL, *, case=True, meta="\\", wraps=True,
         line_comments=(), block_comments=(), full_line=(), strings=(),
         multi_strings=(), directive=None, prefixes=(), suffixes=(),
         keywords=(), builtins=(), more_sets=(), ident_prefixes=(),
         first=None, other=None, numbers=True, symbols=True,
         builtins_name="Types and constants", separator=None):
    """Fills a block with the usual rules of a programming language."""
    b.case_sensitive = case
    b.meta = meta
    b.meta_wraps = wraps
    b.text = st["text"]
    if numbers:
        b.number = st["number"]
        b.float_style = st["float"]
    b.symbol = st["symbol"] if symbols else None
    b.ident = st["ident"]
    b.line_comments = [(d, st["comment"]) for d in line_comments]
    b.block_comments = [(l, r, st["comment"]) for l, r in block_comments]
    b.full_line_comments = [(d, st["comment"]) for d in full_line]
    b.line_strings = [(l, r, st["string"]) for l, r in strings]
    b.multi_strings = [(l, r, st["string"]) for l, r in multi_strings]
    if directive:
        b.directive = (directive, st["directive"])
    b.num_prefixes = list(prefixes)
    b.num_suffixes = list(suffixes)
    if separator:
        b.num_suffixes += [x for x in separator_suffixes(separator)
                           if x not in b.num_suffixes]
    b.multiple_suffixes = bool(b.num_suffixes)
    b.ps_composition = bool(prefixes) and bool(b.num_suffixes)
    b.ident_prefixes = list(ident_prefixes)
    sets = []
    if keywords:
        sets.append(("Keywords", st["keyword"], list(keywords)))
    if builtins:
        sets.append((builtins_name, st["builtin"], list(builtins)))
    sets.extend(more_sets)
    b.keywords = sets
    b.first_chars = first
    b.other_chars = other
    return b


def nested_comments(s, parent, left, right, style, depth=3):
    """Comments that nest: a chain of blocks, each entered by `left` from the
    one before it, so that every `right` closes one level."""
    outer = parent
    for level in range(depth):
        name = "Comment" if level == 0 else "Nested comment %d" % (level + 1)
        blk = s.block(name, outer, [(left, right, True)])
        blk.case_sensitive = True
        blk.text = style
        outer = blk


def here_documents(s, parent, openers, words, style="String"):
    """Here-documents for the usual terminator words.  The opening text is
    coloured by the parent; the body, up to the terminator word at a token
    start, is one child block without rules, so quotes in it open nothing."""
    delimiters = []
    for word in words:
        for opener in openers:
            delimiters.append((opener % word, word, False))
    doc = s.block("Here-document", parent, delimiters)
    doc.case_sensitive = True
    doc.text = style
    return doc


# ---------------------------------------------------------------------------
# C family

C_KEYWORDS = w("""
alignas alignof auto bool break case char const constexpr continue default
do double else enum extern false float for goto if inline int long nullptr
register restrict return short signed sizeof static static_assert struct
switch thread_local true typedef typeof typeof_unqual union unsigned void
volatile while _Alignas _Alignof _Atomic _BitInt _Bool _Complex _Decimal128
_Decimal32 _Decimal64 _Generic _Imaginary _Noreturn _Static_assert
_Thread_local""")

C_TYPES = w("""
size_t ssize_t ptrdiff_t intptr_t uintptr_t intmax_t uintmax_t int8_t
int16_t int32_t int64_t uint8_t uint16_t uint32_t uint64_t wchar_t
char16_t char32_t wint_t max_align_t nullptr_t va_list FILE fpos_t time_t
clock_t div_t ldiv_t sig_atomic_t jmp_buf NULL EOF BUFSIZ errno stdin stdout
stderr""")

CPP_KEYWORDS = w("""
alignas alignof and and_eq asm auto bitand bitor bool break case catch char
char8_t char16_t char32_t class compl concept const consteval constexpr
constinit const_cast continue co_await co_return co_yield decltype default
delete do double dynamic_cast else enum explicit export extern false float
for friend goto if inline int long mutable namespace new noexcept not not_eq
nullptr operator or or_eq private protected public register
reinterpret_cast requires return short signed sizeof static static_assert
static_cast struct switch template this thread_local throw true try typedef
typeid typename union unsigned using virtual void volatile wchar_t while xor
xor_eq final override import module""")

CPP_TYPES = w("""
size_t ssize_t ptrdiff_t intptr_t uintptr_t intmax_t uintmax_t int8_t
int16_t int32_t int64_t uint8_t uint16_t uint32_t uint64_t nullptr_t
max_align_t byte std string string_view wstring u8string vector array deque
list forward_list map multimap set multiset unordered_map unordered_set
pair tuple optional variant any span unique_ptr shared_ptr weak_ptr
function NULL""")


def c_like(s, root, keywords, builtins, *, raw=False):
    # A raw string is multi-line when its opening is followed by a line end
    # or punctuation, and single-line when a letter follows it.
    raw_strings = [('R"(', ')"')] if raw else []
    return code(
        root, line_comments=["//"], block_comments=[("/*", "*/")],
        strings=raw_strings + [('"', '"'), ("'", "'")],
        multi_strings=raw_strings,
        directive="#", prefixes=["0x", "0X", "0b", "0B"],
        suffixes=C_SUFFIXES + (["z", "Z"] if raw else []) + HEX_FLOAT_EXPONENT,
        separator="'",
        keywords=keywords, builtins=builtins)


def scheme_c():
    s = Scheme("C.def", "C", ["C files (*.c;*.h)|*.c;*.h"],
               "C (C23 keywords)")
    c_like(s, s.block("Default"), C_KEYWORDS, C_TYPES)
    return s


def scheme_cpp():
    s = Scheme("C++.def", "C++",
               ["C++ files|*.cpp;*.cc;*.cxx;*.c++;*.hpp;*.hh;*.hxx;*.h;*.inl"],
               "C++ (C++23 keywords)")
    c_like(s, s.block("Default"), CPP_KEYWORDS, CPP_TYPES, raw=True)
    return s


CS_KEYWORDS = w("""
abstract as base bool break byte case catch char checked class const
continue decimal default delegate do double else enum event explicit extern
false finally fixed float for foreach goto if implicit in int interface
internal is lock long namespace new null object operator out override params
private protected public readonly ref return sbyte sealed short sizeof
stackalloc static string struct switch this throw true try typeof uint ulong
unchecked unsafe ushort using virtual void volatile while""")

CS_CONTEXTUAL = w("""
add and alias ascending async await by descending dynamic equals file
from get global group init into join let managed nameof nint not notnull
nuint on or orderby partial record remove required scoped select set
unmanaged value var when where with yield""")


def scheme_csharp():
    s = Scheme("C#.def", "C#", ["C# files (*.cs;*.csx)|*.cs;*.csx"],
               "C# 12")
    code(s.block("Default"), wraps=False,
         line_comments=["//"], block_comments=[("/*", "*/")],
         strings=[('$"', '"'), ('"', '"'), ("'", "'")],
         multi_strings=[('"""', '"""'), ('$@"', '"'), ('@$"', '"'),
                        ('@"', '"')],
         directive="#", prefixes=["0x", "0X", "0b", "0B"],
         suffixes=["u", "U", "l", "L", "f", "F", "d", "D", "m", "M"],
         keywords=CS_KEYWORDS, builtins=CS_CONTEXTUAL, separator="_")
    return s


JAVA_KEYWORDS = w("""
abstract assert boolean break byte case catch char class const continue
default do double else enum extends final finally float for goto if
implements import instanceof int interface long native new package private
protected public return short static strictfp super switch synchronized
this throw throws transient try void volatile while true false null""")

JAVA_CONTEXTUAL = w("""
exports module open opens permits provides record requires
sealed to transitive uses var when with yield String Object Integer Long
Double Float Boolean Character Byte Short System Math Override Deprecated
FunctionalInterface SuppressWarnings SafeVarargs""")


def scheme_java():
    s = Scheme("Java.def", "Java", ["Java files (*.java)|*.java"],
               "Java 21")
    code(s.block("Default"), wraps=False,
         line_comments=["//"], block_comments=[("/*", "*/")],
         strings=[('"', '"'), ("'", "'")], multi_strings=[('"""', '"""')],
         directive="@", prefixes=["0x", "0X", "0b", "0B"],
         suffixes=["l", "L", "f", "F", "d", "D"],
         keywords=JAVA_KEYWORDS, builtins=JAVA_CONTEXTUAL,
         other="0-9A-Z_a-z", separator="_")
    return s


JS_KEYWORDS = w("""
await break case catch class const continue debugger default delete do else
enum export extends false finally for function if import in instanceof let
new null return static super switch this throw true try typeof var void
while with yield as async from of implements interface package private
protected public""")

JS_BUILTINS = w("""
undefined NaN Infinity globalThis arguments Object Function Array String
Number Boolean Symbol BigInt Math JSON Date RegExp Promise Proxy Reflect Map
Set WeakMap WeakSet WeakRef ArrayBuffer DataView Int8Array Uint8Array
Int16Array Uint16Array Int32Array Uint32Array Float32Array Float64Array
Error TypeError RangeError SyntaxError ReferenceError EvalError URIError
AggregateError console window document require module exports""")

TS_KEYWORDS = JS_KEYWORDS + w("""
abstract any asserts bigint boolean constructor declare infer is
keyof module namespace never number object override readonly require
satisfies string symbol type unique unknown accessor out""")


def javascript(b, st=NORMAL, keywords=JS_KEYWORDS):
    return code(b, st, line_comments=["//"], block_comments=[("/*", "*/")],
                strings=[('"', '"'), ("'", "'")],
                multi_strings=[("`", "`")],
                prefixes=["0x", "0X", "0o", "0O", "0b", "0B"],
                suffixes=["n"], keywords=keywords,
                builtins=[x for x in JS_BUILTINS if x not in keywords],
                first="$A-Z_a-z", other="$0-9A-Z_a-z", separator="_")


def scheme_javascript():
    s = Scheme("JavaScript.def", "JavaScript",
               ["JavaScript files (*.js;*.mjs;*.cjs)|*.js;*.mjs;*.cjs;*.jsx"],
               "JavaScript (ECMAScript 2023)")
    javascript(s.block("Default"))
    return s


def scheme_typescript():
    s = Scheme("TypeScript.def", "TypeScript",
               ["TypeScript files (*.ts;*.tsx;*.mts)|*.ts;*.tsx;*.mts;*.cts"],
               "TypeScript 5")
    b = javascript(s.block("Default"), keywords=TS_KEYWORDS)
    b.directive = ("@", NORMAL["directive"])
    return s


# ---------------------------------------------------------------------------
# Other programming languages

PY_KEYWORDS = w("""
False None True and as assert async await break class continue def del elif
else except finally for from global if import in is lambda nonlocal not or
pass raise return try while with yield match case type""")

PY_BUILTINS = w("""
abs aiter all anext any ascii bin bool breakpoint bytearray bytes callable
chr classmethod compile complex delattr dict dir divmod enumerate eval exec
filter float format frozenset getattr globals hasattr hash help hex id input
int isinstance issubclass iter len list locals map max memoryview min next
object oct open ord pow print property range repr reversed round set setattr
slice sorted staticmethod str sum super tuple vars zip __import__ self cls
NotImplemented Ellipsis __name__ __file__ __doc__ __init__ __main__""")


def scheme_python():
    s = Scheme("Python.def", "Python",
               ["Python files (*.py;*.pyw;*.pyi)|*.py;*.pyw;*.pyi"],
               "Python 3.12")
    # String prefixes (r, b, f, ...) are left to the identifier rule: a
    # prefixed triple quote followed by a letter would not count as a
    # multi-line opening, and a prefixed single quote would then take it.
    code(s.block("Default"), wraps=True, line_comments=["#"],
         strings=[('"', '"'), ("'", "'")],
         multi_strings=[('"""', '"""'), ("'''", "'''")],
         directive="@",
         prefixes=["0x", "0X", "0o", "0O", "0b", "0B"],
         suffixes=["j", "J"], keywords=PY_KEYWORDS, builtins=PY_BUILTINS,
         separator="_")
    return s


GO_KEYWORDS = w("""
break case chan const continue default defer else fallthrough for func go
goto if import interface map package range return select struct switch type
var""")

GO_BUILTINS = w("""
any bool byte comparable complex64 complex128 error float32 float64 int int8
int16 int32 int64 rune string uint uint8 uint16 uint32 uint64 uintptr true
false iota nil append cap clear close complex copy delete imag len make max
min new panic print println real recover""")


def scheme_go():
    s = Scheme("Go.def", "Go", ["Go files (*.go)|*.go"], "Go 1.22")
    code(s.block("Default"), wraps=False,
         line_comments=["//"], block_comments=[("/*", "*/")],
         strings=[('"', '"'), ("'", "'")], multi_strings=[("`", "`")],
         prefixes=["0x", "0X", "0o", "0O", "0b", "0B"], suffixes=["i"],
         keywords=GO_KEYWORDS, builtins=GO_BUILTINS, separator="_")
    return s


RUST_KEYWORDS = w("""
as async await break const continue crate dyn else enum extern false fn for
if impl in let loop match mod move mut pub ref return self Self static
struct super trait true type union unsafe use where while abstract become
box do final macro override priv try typeof unsized virtual yield""")

RUST_TYPES = w("""
bool char str i8 i16 i32 i64 i128 isize u8 u16 u32 u64 u128 usize f32 f64
String Vec Option Result Box Rc Arc Cell RefCell HashMap HashSet BTreeMap
BTreeSet Some None Ok Err""")

RUST_SUFFIXES = w("""
i128 i16 i32 i64 i8 isize u128 u16 u32 u64 u8 usize f32 f64""")


def scheme_rust():
    s = Scheme("Rust.def", "Rust", ["Rust files (*.rs)|*.rs"],
               "Rust 2021")
    root = s.block("Default")
    # Only escaped character literals ('\n', '\\') are strings: a bare
    # apostrophe also starts a lifetime ('a), which must not open a string.
    # Raw strings are tried as multi-line strings first; when a letter
    # follows the opening quote that rule does not apply, and the same
    # delimiters as single-line strings still colour a raw string that ends
    # on its own line.
    raw = [('br#"', '"#'), ('r##"', '"##'), ('r#"', '"#')]
    code(root, wraps=True, line_comments=["//"],
         strings=[("'\\\\", "'"), ("'\\", "'")] + raw,
         multi_strings=raw + [('"', '"')],
         directive="#", prefixes=["0x", "0X", "0o", "0O", "0b", "0B"],
         suffixes=RUST_SUFFIXES, keywords=RUST_KEYWORDS,
         builtins=RUST_TYPES, separator="_")
    nested_comments(s, root, "/*", "*/", "Comment")
    return s


PHP_KEYWORDS = w("""
__halt_compiler abstract and array as break callable case catch class clone
const continue declare default die do echo else elseif empty enddeclare
endfor endforeach endif endswitch endwhile enum eval exit extends final
finally fn for foreach function global goto if implements include
include_once instanceof insteadof interface isset list match namespace new
or print private protected public readonly require require_once return
static switch throw trait try unset use var while xor yield""")

PHP_CONSTANTS = w("""
true false null self parent __class__ __dir__ __file__ __function__
__line__ __method__ __namespace__ __trait__ int float bool string void mixed
never object iterable""")

HTML_ELEMENTS = w("""
a abbr address area article aside audio b base bdi bdo blockquote body br
button canvas caption cite code col colgroup data datalist dd del details
dfn dialog div dl dt em embed fieldset figcaption figure footer form h1 h2
h3 h4 h5 h6 head header hgroup hr html i iframe img input ins kbd label
legend li link main map mark menu meta meter nav noscript object ol
optgroup option output p picture pre progress q rp rt ruby s samp script
search section select slot small source span strong style sub summary sup
table tbody td template textarea tfoot th thead time title tr track u ul var
video wbr svg math !doctype""")


def html_tag_block(s, parent, st_tag="Html tags", st_param="Html params",
                   keywords=True):
    tag = s.block("Tag", parent, [("<", ">", True)])
    tag.text = st_tag
    tag.ident = st_param
    tag.line_strings = [('"', '"', "String"), ("'", "'", "String")]
    if keywords:
        tag.keywords = [("Elements", st_tag, HTML_ELEMENTS)]
    tag.first_chars = "!A-Z_a-z"
    tag.other_chars = "-.0-9:A-Z_a-z"
    return tag


def html_comment_block(s, parent):
    blk = s.block("Comment", parent, [("<!--", "-->", True)])
    blk.text = "Comment"
    return blk


def scheme_php():
    s = Scheme("PHP.def", "PHP",
               ["PHP files (*.php;*.phtml;*.inc)|*.php;*.phtml;*.inc"],
               "PHP 8.3 inside HTML")
    root = s.block("HTML")
    html_comment_block(s, root)
    php = s.block("PHP", root, [("<?php", "?>", True), ("<?=", "?>", True),
                                ("<?", "?>", True)])
    code(php, case=False, wraps=False,
         line_comments=["//", "#"], block_comments=[("/*", "*/")],
         multi_strings=[('"', '"'), ("'", "'"), ("`", "`")],
         prefixes=["0x", "0X", "0o", "0O", "0b", "0B"],
         keywords=PHP_KEYWORDS, builtins=PHP_CONSTANTS,
         ident_prefixes=["$"], separator="_")
    here_documents(s, php, ["<<<%s", "<<<'%s'", '<<<"%s"'],
                   ["EOT", "EOD", "EOF", "HTML", "SQL"])
    html_tag_block(s, root)
    return s


RUBY_KEYWORDS = w("""
__ENCODING__ __LINE__ __FILE__ BEGIN END alias and begin break case class
def defined do else elsif end ensure false for if in module next nil not or
redo rescue retry return self super then true undef unless until when while
yield""")

RUBY_BUILTINS = w("""
puts print p pp require require_relative load include extend prepend
attr_accessor attr_reader attr_writer private protected public
module_function raise lambda proc loop catch throw new initialize
Integer Float String Array Hash Symbol Proc Object Kernel Comparable
Enumerable StandardError RuntimeError ArgumentError NoMethodError""")


def scheme_ruby():
    s = Scheme("Ruby.def", "Ruby",
               ["Ruby files (*.rb;*.rake;*.gemspec)|*.rb;*.rake;*.gemspec"],
               "Ruby 3.3")
    strings = []
    for opener, closer in (("(", ")"), ("[", "]"), ("{", "}"), ("<", ">")):
        for kind in ("%w", "%W", "%i", "%I", "%q", "%Q", "%"):
            strings.append((kind + opener, closer))
    code(s.block("Default"), wraps=False, line_comments=["#"],
         block_comments=[("=begin", "=end")],
         strings=strings,
         multi_strings=[('"', '"'), ("'", "'"), ("`", "`")],
         prefixes=["0x", "0X", "0b", "0B", "0o", "0O", "0d", "0D"],
         suffixes=["r", "i"], keywords=RUBY_KEYWORDS,
         builtins=RUBY_BUILTINS, ident_prefixes=["@@", "@", "$", ":"],
         separator="_")
    here_documents(s, s.blocks[0], ["<<~%s", "<<-%s", "<<%s", "<<~'%s'"],
                   ["EOS", "EOF", "SQL", "HEREDOC", "TEXT"])
    return s


PERL_KEYWORDS = w("""
if elsif else unless while until for foreach do last next redo goto return
sub my our local state use no package require BEGIN END INIT CHECK UNITCHECK
and or not xor eq ne lt gt le ge cmp x q qq qw qr qx m s tr y __END__
__DATA__ __FILE__ __LINE__ __PACKAGE__ __SUB__""")

PERL_BUILTINS = w("""
print printf say open close binmode die warn eval exists defined delete
each keys values push pop shift unshift splice join split grep map sort
reverse scalar wantarray length substr index rindex sprintf lc uc lcfirst
ucfirst chomp chop chr ord abs int sqrt hex oct ref bless exit system exec
sleep time localtime gmtime local ARGV STDIN STDOUT STDERR ENV INC""")


def scheme_perl():
    s = Scheme("Perl.def", "Perl",
               ["Perl files (*.pl;*.pm;*.t)|*.pl;*.pm;*.t;*.pod"],
               "Perl 5")
    pod = [("=" + word, "=cut") for word in
           ("pod", "head1", "head2", "head3", "head4", "over", "item",
            "begin", "for", "encoding")]
    quotes = []
    for opener, closer in (("(", ")"), ("{", "}"), ("[", "]"), ("<", ">"),
                           ("/", "/"), ("|", "|")):
        for kind in ("qw", "qq", "qr", "qx", "q"):
            quotes.append((kind + opener, closer))
    code(s.block("Default"), wraps=False, line_comments=["#"],
         block_comments=pod, strings=quotes,
         multi_strings=[('"', '"'), ("'", "'"), ("`", "`")],
         prefixes=["0x", "0X", "0b", "0B"],
         keywords=PERL_KEYWORDS, builtins=PERL_BUILTINS,
         ident_prefixes=["$#", "$", "@", "%"], separator="_")
    here_documents(s, s.blocks[0], ['<<"%s"', "<<'%s'", "<<%s", '<<~"%s"',
                                    "<<~%s"],
                   ["EOF", "END", "EOT", "HTML"])
    return s


PASCAL_KEYWORDS = w("""
and array as asm begin case class const constructor destructor
dispinterface div do downto else end except exports file finalization
finally for function generic goto if implementation in inherited
initialization inline interface is label library mod nil not object of on
operator or out packed procedure program property raise record repeat
resourcestring set shl shr specialize string then threadvar to try type
unit until uses var while with xor""")

PASCAL_DIRECTIVES = w("""
absolute abstract assembler cdecl default deprecated dynamic experimental
export external far forward helper implements index message name near
nodefault overload override pascal platform private protected public
published read readonly reference register reintroduce safecall sealed
static stdcall stored strict unsafe varargs virtual winapi write writeonly
Boolean Byte Cardinal Char Double Extended Int64 Integer LongInt LongWord
NativeInt Pointer Real ShortInt Single SmallInt Word WideString AnsiString
UnicodeString Variant True False Result Self""")


def scheme_pascal():
    s = Scheme("Pascal.def", "Pascal",
               ["Pascal files (*.pas;*.pp;*.dpr;*.lpr)|*.pas;*.pp;*.dpr;*.lpr"],
               "Object Pascal")
    b = code(s.block("Default"), case=False, meta=None,
             line_comments=["//"],
             block_comments=[("{$", "}"), ("(*$", "*)"), ("{", "}"),
                             ("(*", "*)")],
             strings=[("'", "'")], prefixes=["#$", "#", "$", "%"],
             keywords=PASCAL_KEYWORDS, builtins=PASCAL_DIRECTIVES,
             builtins_name="Directives and types")
    # Compiler directives are comments that start with "$": give them the
    # directive colour.
    b.block_comments[0] = ("{$", "}", "Defines")
    b.block_comments[1] = ("(*$", "*)", "Defines")
    return s


LUA_KEYWORDS = w("""
and break do else elseif end false for function goto if in local nil not or
repeat return then true until while""")

LUA_BUILTINS = w("""
assert collectgarbage dofile error getmetatable ipairs load loadfile next
pairs pcall print rawequal rawget rawlen rawset require select setmetatable
tonumber tostring type xpcall _G _ENV _VERSION coroutine debug io math os
package string table utf8 self""")


def scheme_lua():
    s = Scheme("Lua.def", "Lua", ["Lua files (*.lua)|*.lua"], "Lua 5.4")
    levels = ["", "=", "==", "==="]
    code(s.block("Default"), wraps=True, line_comments=["--"],
         block_comments=[("--[" + e + "[", "]" + e + "]") for e in levels],
         strings=[('"', '"'), ("'", "'")],
         multi_strings=[("[" + e + "[", "]" + e + "]") for e in levels],
         prefixes=["0x", "0X"],
         suffixes=HEX_FLOAT_EXPONENT + list("0123456789"),
         keywords=LUA_KEYWORDS,
         builtins=LUA_BUILTINS)
    return s


# ---------------------------------------------------------------------------
# Shells and scripts

SH_KEYWORDS = w("""
if then else elif fi case esac for select while until do done in function
time coproc""")

SH_BUILTINS = w("""
alias bg bind break builtin caller cd command compgen complete compopt
continue declare dirs disown echo enable eval exec exit export false fc fg
getopts hash help history jobs kill let local logout mapfile popd printf
pushd pwd read readarray readonly return set shift shopt source suspend test
times trap true type typeset ulimit umask unalias unset wait""")


def scheme_shell():
    s = Scheme("Shell.def", "Shell Script",
               ["Shell scripts (*.sh;*.bash)|*.sh;*.bash;*.ksh;*.bashrc"],
               "POSIX sh and bash")
    root = s.block("Default")
    # "$#" is a number prefix only so that its "#" does not start a comment.
    code(root, wraps=True, line_comments=["#"],
         strings=[("${", "}")],
         multi_strings=[('"', '"'), ("'", "'"), ("`", "`")],
         prefixes=["$#"], keywords=SH_KEYWORDS, builtins=SH_BUILTINS,
         ident_prefixes=["$"])
    root.line_strings = [("${", "}", "System Variable")]
    here_documents(s, root, ["<<%s", "<<-%s", "<<'%s'", "<<-'%s'", '<<"%s"',
                             "<< %s", "<< '%s'"],
                   ["EOF", "END", "EOT", "EOM"])
    return s


BATCH_KEYWORDS = w("""
assoc break call cd chdir cls color copy date del dir do echo else
endlocal erase exist exit for ftype goto if in md mkdir mklink move not path
pause popd prompt pushd rd ren rename rmdir set setlocal shift start time
title type ver verify vol defined errorlevel cmdextversion equ neq lss leq
gtr geq nul con aux prn""")


def scheme_batch():
    s = Scheme("Batch.def", "Windows Batch",
               ["Batch files (*.bat;*.cmd)|*.bat;*.cmd"],
               "Windows command scripts")
    b = code(s.block("Default"), case=False, meta=None,
             full_line=["rem", "@rem", "::"],
             strings=[('"', '"')], keywords=BATCH_KEYWORDS,
             first="%A-Z_a-z", other="%0-9A-Z_a-z~")
    b.full_line_comments.append((":", "Defines"))
    return s


SQL_KEYWORDS = w("""
abort absolute action add after all alter always analyze and any are array
as asc asensitive assertion asymmetric at atomic authorization before begin
between both breadth by cache call called cascade cascaded case cast catalog
check close cluster collate collation column commit conflict connect
connection constraint constraints contains continue create cross cube
current current_date current_path current_role current_time
current_timestamp current_user cursor cycle database deallocate declare
default deferrable deferred delete depth desc describe deterministic
distinct do domain drop dynamic each else elseif end escape except
exception exec execute exists explain external false fetch filter first
following for foreign from full function generated get global go goto grant
group grouping having hold identity if ignore immediate in index inner
inout input insensitive insert instead intersect interval into is isolation
join key language last lateral leading left level like limit local
localtime localtimestamp loop match materialized merge natural next no not
nothing null nulls of offset on only open option or order ordinality out
outer over overlaps partition percent placing precision prepare preserve
primary prior privileges procedure public range read recursive references
referencing release rename repeat replace restrict result return returning
returns revoke right role rollback rollup row rows savepoint schema scroll
search second select sensitive sequence session session_user set sets
similar some start statement symmetric system system_user table temp
temporary then ties to top trailing transaction trigger true truncate union
unique unknown until update usage user using vacuum values view when
whenever where while window with within without work write zone""")

SQL_TYPES = w("""
bigint binary bit blob boolean char character clob date datetime dec
decimal double float int integer json jsonb money nchar nclob numeric
nvarchar real serial smallint text time timestamp tinyint uuid varbinary
varchar xml avg count max min sum coalesce nullif extract substring trim
upper lower position char_length octet_length abs mod round floor ceiling
now row_number rank dense_rank lag lead first_value last_value""")


def scheme_sql():
    s = Scheme("SQL.def", "SQL", ["SQL files (*.sql;*.ddl)|*.sql;*.ddl"],
               "ISO SQL with common dialect words")
    root = s.block("Default")
    code(root, case=False, meta=None, line_comments=["--"],
         multi_strings=[("'", "'")],
         prefixes=["0x", "0X"], keywords=SQL_KEYWORDS, builtins=SQL_TYPES)
    # Quoted identifiers keep the identifier colour.
    root.line_strings = [('"', '"', "Identifier"), ("`", "`", "Identifier"),
                         ("[", "]", "Identifier")]
    nested_comments(s, root, "/*", "*/", "Comment")
    return s


# ---------------------------------------------------------------------------
# Markup and data

CSS_PROPERTIES = w("""
accent-color align-content align-items align-self all animation
animation-delay animation-direction animation-duration animation-fill-mode
animation-iteration-count animation-name animation-play-state
animation-timing-function appearance aspect-ratio backdrop-filter
backface-visibility background background-attachment background-blend-mode
background-clip background-color background-image background-origin
background-position background-repeat background-size block-size border
border-bottom border-bottom-color border-bottom-left-radius
border-bottom-right-radius border-bottom-style border-bottom-width
border-collapse border-color border-image border-left border-left-color
border-left-style border-left-width border-radius border-right
border-right-color border-right-style border-right-width border-spacing
border-style border-top border-top-color border-top-left-radius
border-top-right-radius border-top-style border-top-width border-width
bottom box-shadow box-sizing break-after break-before break-inside
caption-side caret-color clear clip clip-path color column-count column-gap
column-rule column-span column-width columns contain content
counter-increment counter-reset cursor direction display empty-cells filter
flex flex-basis flex-direction flex-flow flex-grow flex-shrink flex-wrap
float font font-family font-feature-settings font-size font-stretch
font-style font-variant font-weight gap grid grid-area grid-auto-columns
grid-auto-flow grid-auto-rows grid-column grid-column-end grid-column-start
grid-row grid-row-end grid-row-start grid-template grid-template-areas
grid-template-columns grid-template-rows height hyphens inline-size inset
isolation justify-content justify-items justify-self left letter-spacing
line-height list-style list-style-image list-style-position list-style-type
margin margin-block margin-bottom margin-inline margin-left margin-right
margin-top max-height max-width min-height min-width mix-blend-mode
object-fit object-position opacity order outline outline-color
outline-offset outline-style outline-width overflow overflow-wrap
overflow-x overflow-y padding padding-block padding-bottom padding-inline
padding-left padding-right padding-top page-break-after page-break-before
perspective place-content place-items pointer-events position quotes resize
right rotate row-gap scale scroll-behavior scroll-margin scroll-padding
tab-size table-layout text-align text-decoration text-decoration-color
text-decoration-line text-decoration-style text-indent text-overflow
text-shadow text-transform top transform transform-origin transition
transition-delay transition-duration transition-property
transition-timing-function translate unicode-bidi user-select
vertical-align visibility white-space width will-change word-break
word-spacing word-wrap writing-mode z-index""")

CSS_VALUES = w("""
!important inherit initial unset revert auto none normal bold italic block
inline inline-block flex grid table absolute relative fixed sticky static
hidden visible solid dashed dotted transparent currentColor url calc var
min max clamp rgb rgba hsl hsla linear-gradient radial-gradient""")

CSS_AT_RULES = w("""
@charset @container @counter-style @font-face @font-feature-values @import
@keyframes @layer @media @namespace @page @property @supports""")

CSS_UNITS = w("""
px em rem vh vw vmin vmax ch ex cm mm in pt pc q deg rad grad turn ms s hz
khz dpi dpcm dppx fr %""")


def css_rules(b, st, *, selectors):
    b.case_sensitive = False
    b.meta = "\\"
    b.meta_wraps = True
    b.text = st["text"]
    b.block_comments = [("/*", "*/", st["comment"])]
    b.line_strings = [('"', '"', st["string"]), ("'", "'", st["string"])]
    b.symbol = st["symbol"]
    b.number = st["number"]
    b.float_style = st["float"]
    b.num_suffixes = CSS_UNITS
    b.multiple_suffixes = False
    if selectors:
        b.ident = "Html tags"
        b.keywords = [("At-rules", st["keyword"], CSS_AT_RULES)]
        b.first_chars = "@A-Z_a-z"
        b.other_chars = "-0-9A-Z_a-z"
    else:
        b.num_prefixes = ["#"]
        b.ident = st["ident"]
        b.keywords = [("Properties", st["keyword"], CSS_PROPERTIES),
                      ("Values", st["builtin"], CSS_VALUES)]
        b.first_chars = "!A-Z_a-z"
        b.other_chars = "-0-9A-Z_a-z"


def css_blocks(s, root, st):
    css_rules(root, st, selectors=True)
    decl = s.block("Declarations", root, [("{", "}", True)])
    css_rules(decl, st, selectors=False)
    inner = s.block("Nested declarations", decl, [("{", "}", True)])
    css_rules(inner, st, selectors=False)


def scheme_css():
    s = Scheme("CSS.def", "CSS", ["CSS files (*.css)|*.css"],
               "Cascading Style Sheets")
    css_blocks(s, s.block("Default"), NORMAL)
    return s


def scheme_html():
    s = Scheme("HTML.def", "HTML",
               ["HTML files (*.html;*.htm;*.xhtml)|*.html;*.htm;*.xhtml"],
               "HTML with embedded CSS and JavaScript")
    root = s.block("HTML")
    html_comment_block(s, root)
    script_tag = s.block("Script tag", root, [("<script", "</script>", True)])
    script_tag.text = "Html tags"
    script_tag.ident = "Html params"
    script_tag.line_strings = [('"', '"', "String"), ("'", "'", "String")]
    script_tag.keywords = [("Elements", "Html tags", ["script"])]
    script_tag.other_chars = "-0-9A-Z_a-z"
    js = s.block("JavaScript", script_tag, [(">", "</script", False)])
    javascript(js, SCRIPT)
    style_tag = s.block("Style tag", root, [("<style", "</style>", True)])
    style_tag.text = "Html tags"
    style_tag.ident = "Html params"
    style_tag.line_strings = [('"', '"', "String"), ("'", "'", "String")]
    style_tag.keywords = [("Elements", "Html tags", ["style"])]
    style_tag.other_chars = "-0-9A-Z_a-z"
    css = s.block("CSS", style_tag, [(">", "</style", False)])
    css_blocks(s, css, NORMAL)
    html_tag_block(s, root)
    return s


def scheme_xml():
    s = Scheme("XML.def", "XML",
               ["XML files|*.xml;*.xsd;*.xsl;*.xslt;*.svg;*.plist;*.xaml"],
               "Extensible Markup Language 1.0")
    root = s.block("Default")
    root.case_sensitive = True
    html_comment_block(s, root).case_sensitive = True
    cdata = s.block("CDATA section", root, [("<![CDATA[", "]]>", True)])
    cdata.case_sensitive = True
    cdata.text = "String"
    pi = s.block("Processing instruction", root, [("<?", "?>", True)])
    pi.case_sensitive = True
    pi.text = "Defines"
    pi.line_strings = [('"', '"', "String"), ("'", "'", "String")]
    doctype = s.block("Declaration", root, [("<!", ">", True)])
    doctype.case_sensitive = True
    doctype.text = "Defines"
    doctype.line_strings = [('"', '"', "String"), ("'", "'", "String")]
    tag = html_tag_block(s, root, keywords=False)
    tag.case_sensitive = True
    tag.first_chars = "A-Z_a-z"
    return s


def scheme_json():
    s = Scheme("JSON.def", "JSON",
               ["JSON files (*.json;*.geojson)|*.json;*.geojson;*.jsonl"],
               "JSON (RFC 8259)")
    code(s.block("Default"), wraps=False, strings=[('"', '"')],
         keywords=w("true false null"))
    return s


def scheme_yaml():
    s = Scheme("YAML.def", "YAML", ["YAML files (*.yaml;*.yml)|*.yaml;*.yml"],
               "YAML 1.2")
    b = code(s.block("Default"), wraps=False, line_comments=["#"],
             full_line=["---", "..."],
             multi_strings=[('"', '"'), ("'", "'")], directive="%",
             prefixes=["0x", "0o"],
             keywords=w("true false null True False TRUE FALSE Null NULL "
                        "yes no on off Yes No On Off YES NO ON OFF"),
             ident_prefixes=["&", "*", "!!", "!"],
             other="-.0-9A-Z_a-z")
    b.full_line_comments = [("---", "Defines"), ("...", "Defines")]
    return s


def scheme_ini():
    s = Scheme("INI.def", "INI",
               ["Settings files (*.ini;*.cfg;*.conf)|*.ini;*.cfg;*.conf;*.inf"],
               "Initialisation files")
    b = code(s.block("Default"), case=False, meta=None,
             strings=[('"', '"')], prefixes=["0x", "0X"],
             other="-.0-9A-Z_a-z")
    b.full_line_comments = [(";", "Comment"), ("#", "Comment"),
                            ("[", "Reserved words")]
    return s


MAKE_KEYWORDS = w("""
include sinclude define endef ifdef ifndef ifeq ifneq else endif
export unexport override private vpath undefine""")


def scheme_makefile():
    s = Scheme("Makefile.def", "Makefile",
               ["Makefiles|*.mk;*.mak;Makefile;makefile;GNUmakefile"],
               "GNU make")
    b = code(s.block("Default"), wraps=True, line_comments=["#"],
             strings=[("$(", ")"), ("${", "}"), ('"', '"'), ("'", "'")],
             numbers=False, keywords=MAKE_KEYWORDS,
             other="-.0-9A-Z_a-z")
    b.line_strings[0] = ("$(", ")", "System Variable")
    b.line_strings[1] = ("${", "}", "System Variable")
    return s


def scheme_markdown():
    s = Scheme("Markdown.def", "Markdown",
               ["Markdown files (*.md;*.markdown)|*.md;*.markdown;*.mkd"],
               "CommonMark")
    b = s.block("Default")
    b.case_sensitive = True
    b.full_line_comments = [("#", "Reserved words"), (">", "Comment"),
                            ("===", "Reserved words"),
                            ("---", "Reserved words"),
                            ("***", "Reserved words")]
    b.block_comments = [("<!--", "-->", "Comment")]
    b.multi_strings = [("```", "```", "String"), ("~~~", "~~~", "String")]
    b.line_strings = [("`", "`", "String"), ("**", "**", "Emphasis"),
                      ("[", "]", "Html params")]
    return s


def scheme_diff():
    s = Scheme("Diff.def", "Diff/Patch",
               ["Diff and patch files (*.diff;*.patch)|*.diff;*.patch;*.rej"],
               "Unified, context and normal diff output")
    s.no_def_back = {"Added Lines", "Deleted Lines", "Modified Lines"}
    b = s.block("Default")
    b.case_sensitive = True
    header = "Emphasis"
    b.full_line_comments = [
        ("+++", header), ("---", header), ("***", header),
        ("@@", "Reserved words"), ("diff", header), ("index", header),
        ("Index:", header), ("===", header), ("new file mode", header),
        ("deleted file mode", header), ("similarity index", header),
        ("rename from", header), ("rename to", header), ("old mode", header),
        ("new mode", header), ("Only in", "Comment"),
        ("Binary files", "Comment"), ("\\", "Comment"),
        ("+", "Added Lines"), (">", "Added Lines"),
        ("-", "Deleted Lines"), ("<", "Deleted Lines"),
        ("!", "Modified Lines"),
    ]
    return s


def all_schemes():
    return [
        scheme_c(), scheme_cpp(), scheme_csharp(), scheme_java(),
        scheme_javascript(), scheme_typescript(), scheme_python(),
        scheme_go(), scheme_rust(), scheme_php(), scheme_ruby(),
        scheme_perl(), scheme_pascal(), scheme_lua(), scheme_shell(),
        scheme_batch(), scheme_sql(), scheme_html(), scheme_xml(),
        scheme_css(), scheme_json(), scheme_yaml(), scheme_ini(),
        scheme_makefile(), scheme_markdown(), scheme_diff(),
    ]
