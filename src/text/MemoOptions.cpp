#include "text/MemoOptions.h"

namespace quillet {

TMemoOptions ApplyViewSettings(TMemoOptions base, const TMemoViewSettings& s)
{
    TMemoOptions o = base;
    o = WithOption(o, moDrawMargin, s.visibleMargin);
    o = WithOption(o, moDrawGutter, s.visibleGutter);
    o = WithOption(o, moLineNumbers, s.showLineNumbers);
    o = WithOption(o, moLineNumbersOnGutter, s.showLineNumbersOnGutter);
    // "SelectEOL" means the highlight runs to the window edge, the opposite flag.
    o = WithOption(o, moSelectOnlyText, !s.selectEol);
    o = WithOption(o, moDblClickLine, s.doubleClickLine);
    o = WithOption(o, moTripleClick, s.tripleClickLine);
    o = WithOption(o, moColorSyntax, s.useSyntaxHighlight);
    o = WithOption(o, moDisableDrag, s.disableDragging);
    o = WithOption(o, moDrawSpecialSymbols, s.drawSpecialSymbols);
    o = WithOption(o, moBreakWordAtMargin, s.wrapAtMargin);
    return o;
}

} // namespace quillet
