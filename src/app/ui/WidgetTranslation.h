#pragma once

class QWidget;

namespace quillet {

// Translates a window by the object names of its elements: its caption (key =
// the window's object name), the texts of labels, check boxes, radio buttons,
// push buttons, tab pages and dock panels, group-box titles (looked up without
// their surrounding blanks and shown with one blank on each side), command
// captions and hints (name, and name + "Hint"), the overflow button of
// toolbars ("CustMoreButtons") and colour-picker tool buttons
// ("SelectCustomColor"). The English texts are remembered on first use, so
// translating again after a language change starts from them, and choosing the
// built-in language brings them back. Objects without a name are left alone.
void nactiResource(QWidget* window);

} // namespace quillet
