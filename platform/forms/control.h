#pragma once
// Common properties of every control: position and size in twips inside the
// window's client area, classic colours, tooltip, tag.
#include "colors.h"
#include "form.h"

#include <QPalette>
#include <QWidget>

namespace vx {

template <class W>
class Control : public W {
public:
    // `container` is a frame or other holder; by default the window's client area.
    Control(Form *form, const QString &name, QWidget *container = nullptr)
        : W(container ? container : form->client()), form_(form)
    {
        this->setObjectName(name);
        // A window's mouse pointer is its own: its controls keep the arrow.
        this->setCursor(Qt::ArrowCursor);
    }

    Form *form() const { return form_; }
    QString Name() const { return this->objectName(); }

    double Left() const { return toTwips(this->x()); }
    double Top() const { return toTwips(this->y()); }
    double Width() const { return toTwips(this->width()); }
    double Height() const { return toTwips(this->height()); }
    void setLeft(double t) { this->move(toPixels(t), this->y()); }
    void setTop(double t) { this->move(this->x(), toPixels(t)); }
    void setWidth(double t) { this->resize(std::max(0, toPixels(t)), this->height()); }
    void setHeight(double t) { this->resize(this->width(), std::max(0, toPixels(t))); }
    void Move(double left, double top, double width, double height)
    {
        this->setGeometry(toPixels(left), toPixels(top), std::max(0, toPixels(width)),
                          std::max(0, toPixels(height)));
    }

    // The control's own visible flag (true while its window is hidden too).
    bool Visible() const { return !this->isHidden(); }
    bool Enabled() const { return this->isEnabled(); }

    qint32 BackColor() const { return backColor_; }
    void setBackColor(qint32 colour)
    {
        backColor_ = colour;
        QPalette pal = this->palette();
        for (QPalette::ColorRole r : backRoles_)
            pal.setColor(r, toQColor(colour));
        this->setPalette(pal);
        this->setAutoFillBackground(true);
        this->update();
    }
    qint32 ForeColor() const { return foreColor_; }
    void setForeColor(qint32 colour)
    {
        foreColor_ = colour;
        QPalette pal = this->palette();
        for (QPalette::ColorRole r : foreRoles_)
            pal.setColor(r, toQColor(colour));
        this->setPalette(pal);
        this->update();
    }

    QString ToolTipText() const { return this->toolTip(); }
    void setToolTipText(const QString &t) { this->setToolTip(t); }

    QString Tag;

protected:
    void setColorRoles(std::initializer_list<QPalette::ColorRole> back,
                       std::initializer_list<QPalette::ColorRole> fore)
    {
        backRoles_.assign(back.begin(), back.end());
        foreRoles_.assign(fore.begin(), fore.end());
    }

    Form *form_;
    qint32 backColor_ = syscolor::ButtonFace;
    qint32 foreColor_ = syscolor::ButtonText;
    std::vector<QPalette::ColorRole> backRoles_{QPalette::Window};
    std::vector<QPalette::ColorRole> foreRoles_{QPalette::WindowText};
};

// Where a window's design puts a control, in twips.
struct Place {
    double left, top, width, height;
};

// A control placed by its declaration, as the window's design lists it.
template <class T>
class Placed : public T {
public:
    template <class... A>
    explicit Placed(Place at, A &&...args) : T(std::forward<A>(args)...)
    {
        this->Move(at.left, at.top, at.width, at.height);
    }
};

} // namespace vx
