#pragma once
// The printer dialog of the editor's print command. Tests replace it (and
// print to a PDF file instead).
#include <functional>

class QPrinter;
class QWidget;

namespace editor {

// Shows the printer dialog over `printer` (its selection option chosen when
// asked); true when the user chose to print.
bool showPrintDialog(QPrinter &printer, bool selectionChosen, QWidget *owner);

using PrintDialogHook = std::function<bool(QPrinter &printer, bool selectionChosen)>;
// An empty hook restores the real dialog.
void setPrintDialogHook(PrintDialogHook hook);

} // namespace editor
