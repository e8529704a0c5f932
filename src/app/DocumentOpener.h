#pragma once

#include <string>

namespace quillet {

// What CreateMDIChild is asked to open. The file name is the file system's
// bytes; a bare name was already completed with the start directory.
struct TOpenRequest {
    std::string fileName;
    bool isNew = false;
    int codePageIndex = 0; // index into the code page list
    bool closeEmptyActive = false; // replace an untouched empty active document
    bool asBinary = false; // open in the hex editor
    bool readOnly = false;
};

// The one operation that opens a file or a new document in a window. The main
// window supplies it; the command line, the hand-over between instances and
// dropped files call it. Failures are reported to the user by the opener
// itself; the result only says whether a window now shows the file.
class IDocumentOpener {
public:
    virtual ~IDocumentOpener() = default;
    virtual bool CreateMDIChild(const TOpenRequest& request) = 0;
};

} // namespace quillet
