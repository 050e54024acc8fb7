#include "textbox.h"

#include <QLineEdit>
#include <QMouseEvent>
#include <QPlainTextEdit>
#include <QTextDocument>

namespace vx {

TextBox::TextBox(Form *form, const QString &name, bool multiLine, QWidget *container)
    : Control(form, name, container), multiLine_(multiLine)
{
    backColor_ = syscolor::WindowBackground;
    foreColor_ = syscolor::WindowText;
    setColorRoles({QPalette::Base}, {QPalette::Text});
    auto onUserChange = [this] {
        if (settingText_)
            return;
        fire(Change);
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
    if (!plain_)
        return line_->text();
    // The characters typed, no-break spaces included (the plain-text view
    // turns them into spaces); a line break of either kind as "\n".
    QString s = plain_->document()->toRawText();
    for (QChar &c : s)
        if (c == QChar::ParagraphSeparator || c == QChar::LineSeparator)
            c = QLatin1Char('\n');
    return s;
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

} // namespace vx
