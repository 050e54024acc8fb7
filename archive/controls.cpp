#include "controls.h"

#include "platform/forms/drops.h"
#include "platform/forms/events.h"

#include <QDragEnterEvent>
#include <QPlainTextEdit>

namespace archive {

SSTab::SSTab(vx::Form *form, const QString &name, const QStringList &tabs) : Control(form, name)
{
    for (const QString &t : tabs) {
        auto *page = new QWidget(this);
        page->setObjectName(name + QStringLiteral("_") + t);
        addTab(page, t);
    }
}

QWidget *SSTab::page(int index) const { return widget(index); }

DropBox::DropBox(vx::Form *form, const QString &name, QWidget *container) : TextBox(form, name, true, container)
{
    static const vx::ControlEvent kEvents[] = {{"OLEDragDrop", vx::eventOf<&DropBox::OLEDragDrop>}};
    vx::addControlEvents(kEvents);
    setLocked(true);
    // The editor passes drops up to the box.
    editor()->setAcceptDrops(false);
    if (auto *plain = qobject_cast<QPlainTextEdit *>(editor()))
        plain->viewport()->setAcceptDrops(false);
    setAcceptDrops(true);
}

void DropBox::dragEnterEvent(QDragEnterEvent *e) { vx::acceptFileDrag(e, OLEDragDrop); }
void DropBox::dragMoveEvent(QDragMoveEvent *e) { vx::acceptFileDrag(e, OLEDragDrop); }

void DropBox::dropEvent(QDropEvent *e) { vx::deliverFileDrop(e, OLEDragDrop); }

} // namespace archive
