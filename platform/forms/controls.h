#pragma once
// The basic controls. Changing from code what the user could change (a list's
// index, a box's text, a check box's value) runs the control's handler at once,
// before the next statement, as the windows rely on.
#include "control.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFrame>
#include <QGroupBox>
#include <QLabel>
#include <QObject>
#include <QPixmap>
#include <QPushButton>
#include <QRadioButton>

#include <functional>

class QLineEdit;
class QPlainTextEdit;
class QTimer;

namespace vx {

// Mouse event arguments: button 1 left, 2 right, 4 middle; shift 1 shift,
// 2 ctrl, 4 alt; x and y in twips inside the control.
using MouseHandler = std::function<void(int button, int shift, float x, float y)>;
int mouseButtonValue(Qt::MouseButtons b);
int shiftValue(Qt::KeyboardModifiers m);

class CommandButton : public Control<QPushButton> {
    Q_OBJECT
public:
    CommandButton(Form *form, const QString &name, const QString &caption = QString(),
                  QWidget *container = nullptr);
    QString Caption() const { return text(); }
    void setCaption(const QString &c) { setText(c); }
    // A picture shown on the button (graphical style).
    void setPicture(const QPixmap &pm);
    std::function<void()> Click;
};

class Label : public Control<QLabel> {
    Q_OBJECT
public:
    Label(Form *form, const QString &name, const QString &caption = QString(),
          QWidget *container = nullptr);
    QString Caption() const { return text(); }
    void setCaption(const QString &c) { setText(c); }
    // 0 transparent, 1 opaque.
    void setBackStyle(int style);
    std::function<void()> Click;
    std::function<void()> DblClick;

protected:
    void mousePressEvent(QMouseEvent *e) override;
    void mouseReleaseEvent(QMouseEvent *e) override;
    void mouseDoubleClickEvent(QMouseEvent *e) override;

private:
    bool pressed_ = false;
};

class TextBox : public Control<QWidget> {
    Q_OBJECT
public:
    TextBox(Form *form, const QString &name, bool multiLine = false, QWidget *container = nullptr);
    QString Text() const;
    // Sets the text and runs Change when it differs.
    void setText(const QString &t);
    bool MultiLine() const { return multiLine_; }
    bool Locked() const;
    void setLocked(bool on);
    int SelStart() const;
    void setSelStart(int pos);
    int SelLength() const;
    void setSelLength(int len);
    QString SelText() const;
    void setSelText(const QString &t);
    std::function<void()> Change;
    QWidget *editor() const;

protected:
    void resizeEvent(QResizeEvent *e) override;

private:
    bool multiLine_;
    QLineEdit *line_ = nullptr;
    QPlainTextEdit *plain_ = nullptr;
    bool settingText_ = false;
};

class PictureBox : public Control<QFrame> {
    Q_OBJECT
public:
    PictureBox(Form *form, const QString &name, QWidget *container = nullptr);
    const QPixmap &Picture() const { return picture_; }
    void setPicture(const QPixmap &pm);
    // 0 none, 1 fixed single.
    void setBorderStyle(int style);
    // Draw the picture scaled to fill the box (icons drawn at any box size).
    void setStretchPicture(bool on) { stretch_ = on; update(); }
    std::function<void()> Click;
    std::function<void()> DblClick;
    MouseHandler MouseDown;
    MouseHandler MouseMove;
    MouseHandler MouseUp;

protected:
    void paintEvent(QPaintEvent *e) override;
    void mousePressEvent(QMouseEvent *e) override;
    void mouseMoveEvent(QMouseEvent *e) override;
    void mouseReleaseEvent(QMouseEvent *e) override;
    void mouseDoubleClickEvent(QMouseEvent *e) override;

private:
    QPixmap picture_;
    bool stretch_ = false;
    bool pressed_ = false;
};

class ComboBox : public Control<QComboBox> {
    Q_OBJECT
public:
    // style 0: drop-down combo (editable); 2: drop-down list.
    ComboBox(Form *form, const QString &name, int style = 2, QWidget *container = nullptr);
    int Style() const { return style_; }
    void AddItem(const QString &item);
    void RemoveItem(int index);
    void Clear();
    QString List(int index) const;
    int ListCount() const { return count(); }
    int ListIndex() const { return currentIndex(); }
    // Selects an item (-1: none) and runs Click.
    void setListIndex(int index);
    QString Text() const { return currentText(); }
    // Drop-down list: selects the matching item (Click runs) or raises error 383
    // when no item matches. Editable: sets the text (Change runs).
    void setText(const QString &t);
    std::function<void()> Click;
    std::function<void()> Change;

private:
    int style_;
};

class CheckBox : public Control<QCheckBox> {
    Q_OBJECT
public:
    CheckBox(Form *form, const QString &name, const QString &caption = QString(),
             QWidget *container = nullptr);
    QString Caption() const { return text(); }
    void setCaption(const QString &c) { setText(c); }
    int Value() const; // 0 unchecked, 1 checked
    // Runs Click when the value changes.
    void setValue(int v);
    std::function<void()> Click;
};

class OptionButton : public Control<QRadioButton> {
    Q_OBJECT
public:
    OptionButton(Form *form, const QString &name, const QString &caption = QString(),
                 QWidget *container = nullptr);
    QString Caption() const { return text(); }
    void setCaption(const QString &c) { setText(c); }
    bool Value() const { return isChecked(); }
    // Setting true selects it (others of its holder turn off) and runs Click.
    void setValue(bool on);
    std::function<void()> Click;
};

class Frame : public Control<QGroupBox> {
    Q_OBJECT
public:
    Frame(Form *form, const QString &name, const QString &caption = QString(),
          QWidget *container = nullptr);
    QString Caption() const { return title(); }
    void setCaption(const QString &c) { setTitle(c); }
};

class Timer : public QObject {
    Q_OBJECT
public:
    Timer(Form *form, const QString &name, int interval = 0, bool enabled = false);
    int Interval() const { return interval_; }
    void setInterval(int ms);
    bool Enabled() const { return enabled_; }
    void setEnabled(bool on);
    // True while ticks are due (enabled with an interval above 0).
    bool running() const;
    std::function<void()> Tick; // the timer event

private:
    void update();
    QTimer *timer_;
    int interval_;
    bool enabled_;
};

} // namespace vx
