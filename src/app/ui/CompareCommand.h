#pragma once

namespace quillet {

class TDocumentManager;
class TQuilletMainForm;
struct TSyntaxContext;

// Binds "Differences..." to the compare window: its sides come from the
// manager's text documents or from files chosen with the open dialog, a
// merged side can become a new document, and the main window hands its
// commands to nobody while the compare window is active.
void BindCompareCommand(TQuilletMainForm& form, TDocumentManager& documents, const TSyntaxContext& syntax);

} // namespace quillet
