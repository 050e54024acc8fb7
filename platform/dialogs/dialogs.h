#pragma once
// Message boxes, modal windows, pop-up menus and common dialogs all go through
// one driver. The program uses the real one; tests put in a script that answers
// and records every box.
#include <QFont>
#include <QPoint>
#include <QString>
#include <QStringList>

#include <memory>
#include <optional>

namespace vx {

class Form;
class Menu;

// Message box styles and answers, as the classic constants.
enum : int {
    vbOKOnly = 0,
    vbOKCancel = 1,
    vbAbortRetryIgnore = 2,
    vbYesNoCancel = 3,
    vbYesNo = 4,
    vbRetryCancel = 5,
    vbCritical = 16,
    vbQuestion = 32,
    vbExclamation = 48,
    vbInformation = 64,
};
enum : int { vbOK = 1, vbCancel = 2, vbAbort = 3, vbRetry = 4, vbIgnore = 5, vbYes = 6, vbNo = 7 };

// The program's title: the default caption of message boxes.
void setAppTitle(const QString &title);
QString appTitle();

// Shows a message box; returns the answer (vbOK, vbYes, ...).
int MsgBox(const QString &text, int style = vbOKOnly, const QString &title = QString());

struct FileDialogRequest {
    bool save = false;
    QString title;
    QString filter;      // "説明|*.a;*.b|説明2|*.c"
    int filterIndex = 1; // 1-based
    QString initDir;
    QString fileName;    // proposed name
    bool multiSelect = false;
    // Open dialogs: a pane beside the list shows the picture under the cursor.
    bool preview = false;
    Form *owner = nullptr;
};

struct FontChoice {
    QString name;
    double size = 9;
    bool bold = false;
    bool italic = false;
    bool underline = false;
    bool strikethru = false;
    qint32 color = 0;
};

class DialogDriver {
public:
    virtual ~DialogDriver() = default;
    virtual int messageBox(const QString &text, int style, const QString &title) = 0;
    // Shows `form` modal; returns when it is hidden or unloaded.
    virtual void runModal(Form &form) = 0;
    virtual void popupMenu(Form &form, Menu &menu, QPoint globalPos) = 0;
    // Chosen path(s), or nothing when cancelled.
    virtual std::optional<QStringList> fileDialog(const FileDialogRequest &req) = 0;
    virtual std::optional<qint32> colorDialog(qint32 initial, Form *owner) = 0;
    virtual std::optional<FontChoice> fontDialog(const FontChoice &initial, Form *owner) = 0;
};

// The real file dialog's type list in Qt's form ("説明 (*.a *.b);;..."): each
// description is shown as given, its patterns once.
QString qtFileFilter(const QString &filter, int index = 1, QString *selected = nullptr);
// The question a save dialog asks before it replaces an existing file.
QString replaceQuestion(const QString &fileName);

DialogDriver &dialogDriver();
// Replaces the driver (tests); nullptr restores the real one.
void setDialogDriver(std::unique_ptr<DialogDriver> driver);

// The real driver's widgets, for the program.
std::unique_ptr<DialogDriver> makeRealDialogDriver();

// The common dialog control. Cancel changes nothing: every Show* returns false
// and leaves FileName, Color and the font fields as they were.
class CommonDialog {
public:
    explicit CommonDialog(Form *owner = nullptr) : owner_(owner) {}
    QString Filter;
    int FilterIndex = 1;
    QString FileName;
    QStringList FileNames; // multi-select result
    QString InitDir;
    QString DialogTitle;
    bool MultiSelect = false;
    qint32 Color = 0;
    FontChoice Font;

    bool ShowOpen();
    bool ShowSave();
    bool ShowColor();
    bool ShowFont();

    // Base name of FileName (the classic FileTitle).
    QString FileTitle() const;

private:
    bool showFile(bool save);
    Form *owner_;
};

} // namespace vx
