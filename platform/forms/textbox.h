#pragma once
#include "control.h"


#include <functional>

class QLineEdit;
class QPlainTextEdit;

namespace vx {

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

} // namespace vx
