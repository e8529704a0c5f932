#pragma once

namespace quillet {

// Whether the comparison engine may use a second thread beside the caller's
// (numbering the two sides' lines, solving independent sub-problems of a
// difference search). On by default where the machine has more than one
// processor; the results are the same either way.
bool SecondThreadAllowed();
void AllowSecondThread(bool allowed);

} // namespace quillet
