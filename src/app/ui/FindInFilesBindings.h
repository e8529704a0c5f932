#pragma once

namespace quillet {

class IClipboard;
class TDocumentManager;
class TFindInFiles;
class TQuilletMainForm;
class TResultWindow;

// The result window and the find-in-files command of the main window.
struct TFindInFilesParts {
    TResultWindow* resultWindow = nullptr;
    TFindInFiles* findInFiles = nullptr;
};

// Docks the result window at the bottom of the main window (hidden), creates
// the find-in-files command on the window's documents and binds
// "SearchFindFiles" and "ViewResultWindow". Both parts are owned by the main
// window; `clipboard` must outlive it.
TFindInFilesParts BindFindInFiles(TQuilletMainForm& form, TDocumentManager& documents, IClipboard* clipboard);

} // namespace quillet
