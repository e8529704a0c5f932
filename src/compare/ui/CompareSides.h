#pragma once

#include "compare/ui/CompareContext.h"

#include <QPointer>
#include <QString>

#include <string>
#include <vector>

namespace quillet {

class TChildForm;

// One side of a comparison as loaded: its name for captions and questions,
// the document it came from (guarded: it becomes null when the document
// closes), that document's definition file and code page, and the lines as
// they were when compared.
struct TCompareSide {
    QString displayName;
    QPointer<TChildForm> document;
    std::string syntaxFile;
    int codePageIndex = 0;
    std::vector<std::string> lines;
};

// Outcome of loading a side: the side, or the message that stops the comparison.
struct TSideLoad {
    bool ok = false;
    TCompareSide side;
    QString error;
};

// A document gives its current lines; a file must exist and hold text (the
// binary content test on its first 500 bytes) and is read as a document in
// its code page would be.
TSideLoad LoadCompareSide(const TCompareChoice& choice);

// Whether the document's lines still equal the ones compared.
bool DocumentUnchanged(TChildForm& document, const std::vector<std::string>& lines);

// Whether a file is missing or binary for the comparison: the binary content
// test of the first 500 bytes (IsHex), where a byte-order mark makes the
// file text.
bool IsMissingOrBinary(const std::filesystem::path& file);

} // namespace quillet
