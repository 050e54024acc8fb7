#include "events.h"

#include "combobox.h"
#include "commandbutton.h"
#include "checkbox.h"
#include "filelists.h"
#include "form.h"
#include "label.h"
#include "listbox.h"
#include "menu.h"
#include "optionbutton.h"
#include "picturebox.h"
#include "picturebutton.h"
#include "richtextbox.h"
#include "scrollbar.h"
#include "tabstrip.h"
#include "textbox.h"
#include "timer.h"
#include "virtuallist.h"

#include <QWidget>

#include <vector>

namespace vx {
namespace {

const ControlEvent kFormsEvents[] = {
    {"Click", eventOf<&CommandButton::Click>},
    {"Click", eventOf<&CheckBox::Click>},
    {"Click", eventOf<&OptionButton::Click>},
    {"Click", eventOf<&Label::Click>},
    {"DblClick", eventOf<&Label::DblClick>},
    {"Click", eventOf<&PictureBox::Click>},
    {"DblClick", eventOf<&PictureBox::DblClick>},
    {"MouseDown", eventOf<&PictureBox::MouseDown>},
    {"MouseMove", eventOf<&PictureBox::MouseMove>},
    {"MouseUp", eventOf<&PictureBox::MouseUp>},
    {"Click", eventOf<&PictureButton::Click>},
    {"Click", eventOf<&ListBox::Click>},
    {"DblClick", eventOf<&ListBox::DblClick>},
    {"Click", eventOf<&VirtualListBox::Click>},
    {"DblClick", eventOf<&VirtualListBox::DblClick>},
    {"Click", eventOf<&ComboBox::Click>},
    {"Change", eventOf<&ComboBox::Change>},
    {"Change", eventOf<&DriveListBox::Change>},
    {"Change", eventOf<&DirListBox::Change>},
    {"Click", eventOf<&FileListBox::Click>},
    {"DblClick", eventOf<&FileListBox::DblClick>},
    {"PathChange", eventOf<&FileListBox::PathChange>},
    {"OLEDragDrop", eventOf<&FileListBox::OLEDragDrop>},
    {"Change", eventOf<&TextBox::Change>},
    {"Change", eventOf<&RichTextBox::Change>},
    {"KeyPress", eventOf<&RichTextBox::KeyPress>},
    {"Change", eventOf<&ScrollBar::Change>},
    {"Scroll", eventOf<&ScrollBar::Scroll>},
    {"Click", eventOf<&TabControl::Click>},
    {"Click", eventOf<&Menu::Click>},
    {"Timer", eventOf<&Timer::Tick>},
    {"OLEDragDrop", eventOf<&Form::OLEDragDrop>},
};

std::vector<std::span<const ControlEvent>> &tables()
{
    static std::vector<std::span<const ControlEvent>> t{kFormsEvents};
    return t;
}

bool bindOne(QObject *control, QByteArrayView event, QObject *window, const QMetaMethod &m)
{
    for (std::span<const ControlEvent> table : tables())
        for (const ControlEvent &e : table)
            if (event == e.name && e.bind(control, window, m))
                return true;
    return false;
}

} // namespace

void addControlEvents(std::span<const ControlEvent> events)
{
    for (std::span<const ControlEvent> t : tables())
        if (t.data() == events.data())
            return;
    tables().push_back(events);
}

QStringList bindEventProcedures(QWidget &window)
{
    QStringList unbound;
    const QMetaObject *mo = window.metaObject();
    for (int i = QWidget::staticMetaObject.methodCount(); i < mo->methodCount(); ++i) {
        const QMetaMethod m = mo->method(i);
        if (m.methodType() != QMetaMethod::Slot || (m.attributes() & QMetaMethod::Cloned))
            continue;
        const QByteArray name = m.name();
        const qsizetype cut = name.lastIndexOf('_');
        if (cut <= 0 || cut == name.size() - 1)
            continue;
        const QByteArray control = name.left(cut);
        QObject *target = control == "Form" ? static_cast<QObject *>(&window)
                                            : window.findChild<QObject *>(QString::fromLatin1(control));
        if (!target || !bindOne(target, QByteArrayView(name).sliced(cut + 1), &window, m))
            unbound << QString::fromLatin1(name);
    }
    return unbound;
}

void bindEvents(QWidget &window)
{
    const QStringList unbound = bindEventProcedures(window);
    if (unbound.isEmpty())
        return;
    // Every window is built by the tests, so a debug build stops at once.
#ifdef QT_NO_DEBUG
    qWarning("%s: no control event for %s", window.metaObject()->className(),
             qPrintable(unbound.join(QLatin1String(", "))));
#else
    qFatal("%s: no control event for %s", window.metaObject()->className(),
           qPrintable(unbound.join(QLatin1String(", "))));
#endif
}

} // namespace vx
