#include "controls.h"

#include "platform/core/errors.h"

#include <QLineEdit>
#include <QMouseEvent>
#include <QPainter>
#include <QPlainTextEdit>
#include <QTimer>

namespace vx {

int mouseButtonValue(Qt::MouseButtons b)
{
    int v = 0;
    if (b & Qt::LeftButton)
        v |= 1;
    if (b & Qt::RightButton)
        v |= 2;
    if (b & Qt::MiddleButton)
        v |= 4;
    return v;
}

int shiftValue(Qt::KeyboardModifiers m)
{
    int v = 0;
    if (m & Qt::ShiftModifier)
        v |= 1;
    if (m & Qt::ControlModifier)
        v |= 2;
    if (m & Qt::AltModifier)
        v |= 4;
    return v;
}

// --- CommandButton ------------------------------------------------------

CommandButton::CommandButton(Form *form, const QString &name, const QString &caption, QWidget *container)
    : Control(form, name, container)
{
    setText(caption);
    setColorRoles({QPalette::Button}, {QPalette::ButtonText});
    setAutoDefault(false);
    connect(this, &QPushButton::clicked, this, [this] {
        dispatch([this] {
            if (Click)
                Click();
        });
    });
}

void CommandButton::setPicture(const QPixmap &pm)
{
    setIcon(QIcon(pm));
    setIconSize(pm.size());
}

// --- Label ----------------------------------------------------------------

Label::Label(Form *form, const QString &name, const QString &caption, QWidget *container)
    : Control(form, name, container)
{
    setText(caption);
    setWordWrap(true);
    setAlignment(Qt::AlignLeft | Qt::AlignTop);
    setTextFormat(Qt::PlainText);
    foreColor_ = syscolor::ButtonText;
}

void Label::setBackStyle(int style)
{
    setAutoFillBackground(style != 0);
}

void Label::mousePressEvent(QMouseEvent *e)
{
    QLabel::mousePressEvent(e);
    pressed_ = true;
}

void Label::mouseReleaseEvent(QMouseEvent *e)
{
    QLabel::mouseReleaseEvent(e);
    // The release that ends a double click is no second click.
    const bool wasPressed = pressed_;
    pressed_ = false;
    if (wasPressed && e->button() == Qt::LeftButton && rect().contains(e->position().toPoint()))
        dispatch([this] {
            if (Click)
                Click();
        });
}

void Label::mouseDoubleClickEvent(QMouseEvent *e)
{
    (void)e;
    pressed_ = false;
    dispatch([this] {
        if (DblClick)
            DblClick();
    });
}

// --- TextBox --------------------------------------------------------------

TextBox::TextBox(Form *form, const QString &name, bool multiLine, QWidget *container)
    : Control(form, name, container), multiLine_(multiLine)
{
    backColor_ = syscolor::WindowBackground;
    foreColor_ = syscolor::WindowText;
    setColorRoles({QPalette::Base}, {QPalette::Text});
    auto onUserChange = [this] {
        if (settingText_)
            return;
        dispatch([this] {
            if (Change)
                Change();
        });
    };
    if (multiLine) {
        plain_ = new QPlainTextEdit(this);
        plain_->setObjectName(name + QStringLiteral("_edit"));
        connect(plain_, &QPlainTextEdit::textChanged, this, onUserChange);
    } else {
        line_ = new QLineEdit(this);
        line_->setObjectName(name + QStringLiteral("_edit"));
        connect(line_, &QLineEdit::textChanged, this, onUserChange);
    }
    setFocusProxy(editor());
}

QWidget *TextBox::editor() const
{
    return plain_ ? static_cast<QWidget *>(plain_) : static_cast<QWidget *>(line_);
}

void TextBox::resizeEvent(QResizeEvent *e)
{
    Control::resizeEvent(e);
    editor()->setGeometry(rect());
}

QString TextBox::Text() const
{
    return plain_ ? plain_->toPlainText() : line_->text();
}

void TextBox::setText(const QString &t)
{
    if (t == Text())
        return;
    settingText_ = true;
    if (plain_)
        plain_->setPlainText(t);
    else
        line_->setText(t);
    settingText_ = false;
    if (Change)
        Change();
}

bool TextBox::Locked() const
{
    return plain_ ? plain_->isReadOnly() : line_->isReadOnly();
}

void TextBox::setLocked(bool on)
{
    if (plain_)
        plain_->setReadOnly(on);
    else
        line_->setReadOnly(on);
}

int TextBox::SelStart() const
{
    if (plain_)
        return plain_->textCursor().selectionStart();
    return line_->hasSelectedText() ? line_->selectionStart() : line_->cursorPosition();
}

void TextBox::setSelStart(int pos)
{
    pos = std::clamp(pos, 0, static_cast<int>(Text().size()));
    if (plain_) {
        QTextCursor c = plain_->textCursor();
        c.setPosition(pos);
        plain_->setTextCursor(c);
    } else {
        line_->setCursorPosition(pos);
    }
}

int TextBox::SelLength() const
{
    if (plain_) {
        const QTextCursor c = plain_->textCursor();
        return c.selectionEnd() - c.selectionStart();
    }
    return static_cast<int>(line_->selectedText().size());
}

void TextBox::setSelLength(int len)
{
    const int start = SelStart();
    len = std::clamp(len, 0, static_cast<int>(Text().size()) - start);
    if (plain_) {
        QTextCursor c = plain_->textCursor();
        c.setPosition(start);
        c.setPosition(start + len, QTextCursor::KeepAnchor);
        plain_->setTextCursor(c);
    } else {
        line_->setSelection(start, len);
    }
}

QString TextBox::SelText() const
{
    return plain_ ? plain_->textCursor().selectedText().replace(QChar(0x2029), QLatin1Char('\n'))
                  : line_->selectedText();
}

void TextBox::setSelText(const QString &t)
{
    if (plain_)
        plain_->textCursor().insertText(t);
    else
        line_->insert(t);
}

// --- PictureBox -------------------------------------------------------------

PictureBox::PictureBox(Form *form, const QString &name, QWidget *container)
    : Control(form, name, container)
{
    setFrameShape(QFrame::Box);
    setAutoFillBackground(true);
}

void PictureBox::setPicture(const QPixmap &pm)
{
    picture_ = pm;
    update();
}

void PictureBox::setBorderStyle(int style)
{
    setFrameShape(style ? QFrame::Box : QFrame::NoFrame);
}

void PictureBox::paintEvent(QPaintEvent *e)
{
    QFrame::paintEvent(e);
    if (picture_.isNull())
        return;
    QPainter p(this);
    const QRect r = contentsRect();
    if (stretch_) {
        QPixmap scaled = picture_.scaled(r.size(), Qt::KeepAspectRatio, Qt::SmoothTransformation);
        p.drawPixmap(r.x() + (r.width() - scaled.width()) / 2, r.y() + (r.height() - scaled.height()) / 2, scaled);
    } else {
        p.drawPixmap(r.topLeft(), picture_);
    }
}

void PictureBox::mousePressEvent(QMouseEvent *e)
{
    pressed_ = true;
    const QPointF pt = e->position();
    const int button = mouseButtonValue(e->button());
    const int shift = shiftValue(e->modifiers());
    dispatch([&] {
        if (MouseDown)
            MouseDown(button, shift, static_cast<float>(toTwips(1) * pt.x()), static_cast<float>(toTwips(1) * pt.y()));
    });
}

void PictureBox::mouseMoveEvent(QMouseEvent *e)
{
    const QPointF pt = e->position();
    const int buttons = mouseButtonValue(e->buttons());
    const int shift = shiftValue(e->modifiers());
    dispatch([&] {
        if (MouseMove)
            MouseMove(buttons, shift, static_cast<float>(toTwips(1) * pt.x()), static_cast<float>(toTwips(1) * pt.y()));
    });
}

void PictureBox::mouseReleaseEvent(QMouseEvent *e)
{
    const QPointF pt = e->position();
    const int button = mouseButtonValue(e->button());
    const int shift = shiftValue(e->modifiers());
    const bool wasPressed = pressed_;
    pressed_ = false;
    dispatch([&] {
        if (MouseUp)
            MouseUp(button, shift, static_cast<float>(toTwips(1) * pt.x()), static_cast<float>(toTwips(1) * pt.y()));
    });
    if (wasPressed && e->button() == Qt::LeftButton && rect().contains(pt.toPoint()))
        dispatch([this] {
            if (Click)
                Click();
        });
}

void PictureBox::mouseDoubleClickEvent(QMouseEvent *e)
{
    (void)e;
    dispatch([this] {
        if (DblClick)
            DblClick();
    });
}

// --- ComboBox -----------------------------------------------------------

ComboBox::ComboBox(Form *form, const QString &name, int style, QWidget *container)
    : Control(form, name, container), style_(style)
{
    backColor_ = syscolor::WindowBackground;
    foreColor_ = syscolor::WindowText;
    setColorRoles({QPalette::Base, QPalette::Button}, {QPalette::Text, QPalette::ButtonText});
    setEditable(style == 0);
    connect(this, &QComboBox::activated, this, [this](int) {
        dispatch([this] {
            if (Click)
                Click();
        });
    });
    if (style == 0) {
        // Typed text is the box's own: Enter does not add it to the list.
        setInsertPolicy(QComboBox::NoInsert);
        // Only typing changes the text; choosing an item is a click.
        connect(lineEdit(), &QLineEdit::textEdited, this, [this](const QString &) {
            dispatch([this] {
                if (Change)
                    Change();
            });
        });
    }
}

void ComboBox::AddItem(const QString &item)
{
    const QSignalBlocker block(this);
    const QString keep = currentText();
    const int keepIndex = currentIndex();
    addItem(item);
    // A list keeps showing nothing until an item is chosen.
    setCurrentIndex(keepIndex);
    if (style_ == 0)
        setEditText(keep);
}

void ComboBox::RemoveItem(int index)
{
    if (index < 0 || index >= count())
        vx::raise(err::InvalidCall);
    const QSignalBlocker block(this);
    removeItem(index);
}

void ComboBox::Clear()
{
    const QSignalBlocker block(this);
    clear();
}

QString ComboBox::List(int index) const
{
    return (index >= 0 && index < count()) ? itemText(index) : QString();
}

void ComboBox::setListIndex(int index)
{
    if (index < -1 || index >= count())
        vx::raise(err::InvalidProperty);
    {
        const QSignalBlocker block(this);
        setCurrentIndex(index);
    }
    if (Click)
        Click();
}

void ComboBox::setText(const QString &t)
{
    if (style_ == 2) {
        const int i = findText(t, Qt::MatchExactly | Qt::MatchCaseSensitive);
        if (i < 0)
            vx::raise(383, QStringLiteral("'Text' プロパティは読み取り専用です。"));
        setListIndex(i);
        return;
    }
    if (t == currentText())
        return;
    {
        const QSignalBlocker block(this);
        setEditText(t);
    }
    if (Change)
        Change();
}

// --- CheckBox / OptionButton / Frame ---------------------------------------

CheckBox::CheckBox(Form *form, const QString &name, const QString &caption, QWidget *container)
    : Control(form, name, container)
{
    setText(caption);
    connect(this, &QCheckBox::clicked, this, [this] {
        dispatch([this] {
            if (Click)
                Click();
        });
    });
}

int CheckBox::Value() const { return isChecked() ? 1 : 0; }

void CheckBox::setValue(int v)
{
    const bool on = v != 0;
    if (on == isChecked())
        return;
    {
        const QSignalBlocker block(this);
        setChecked(on);
    }
    if (Click)
        Click();
}

OptionButton::OptionButton(Form *form, const QString &name, const QString &caption, QWidget *container)
    : Control(form, name, container)
{
    setText(caption);
    setAutoExclusive(true);
    connect(this, &QRadioButton::clicked, this, [this] {
        dispatch([this] {
            if (Click)
                Click();
        });
    });
}

void OptionButton::setValue(bool on)
{
    {
        const QSignalBlocker block(this);
        if (!on && autoExclusive()) {
            setAutoExclusive(false);
            setChecked(false);
            setAutoExclusive(true);
        } else {
            setChecked(on);
        }
    }
    if (on && Click)
        Click();
}

Frame::Frame(Form *form, const QString &name, const QString &caption, QWidget *container)
    : Control(form, name, container)
{
    setTitle(caption);
}

// --- Timer ------------------------------------------------------------------

Timer::Timer(Form *form, const QString &name, int interval, bool enabled)
    : QObject(form->client()), timer_(new QTimer(this)), interval_(interval), enabled_(enabled)
{
    setObjectName(name);
    connect(timer_, &QTimer::timeout, this, [this] {
        dispatch([this] {
            if (Tick)
                Tick();
        });
    });
    update();
}

void Timer::setInterval(int ms)
{
    interval_ = std::max(0, ms);
    update();
}

void Timer::setEnabled(bool on)
{
    if (on == enabled_)
        return;
    enabled_ = on;
    update();
}

bool Timer::running() const { return timer_->isActive(); }

void Timer::update()
{
    if (enabled_ && interval_ > 0)
        timer_->start(interval_);
    else
        timer_->stop();
}

} // namespace vx
