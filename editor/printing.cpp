#include "printing.h"

#include <QPrintDialog>
#include <QPrinter>

namespace editor {

namespace {
PrintDialogHook &hook()
{
    static PrintDialogHook h;
    return h;
}
} // namespace

void setPrintDialogHook(PrintDialogHook h) { hook() = std::move(h); }

bool showPrintDialog(QPrinter &printer, bool selectionChosen, QWidget *owner)
{
    if (hook())
        return hook()(printer, selectionChosen);
    QPrintDialog dlg(&printer, owner);
    // No page range: the text is printed whole, or its selection.
    dlg.setOption(QAbstractPrintDialog::PrintPageRange, false);
    dlg.setOption(QAbstractPrintDialog::PrintSelection, true);
    if (selectionChosen)
        dlg.setPrintRange(QAbstractPrintDialog::Selection);
    return dlg.exec() == QDialog::Accepted;
}

} // namespace editor
