#pragma once
// The layer's file dialog: Qt's own (the same on every desktop), with the
// overwrite question in Japanese, and an open that takes any existing
// regular file the user types, whatever the file type list shows.
//
// Qt reads double quotes in the name box as marks around several names
// ("a" "b"), also when only one file may be chosen: memo"2".txt would choose
// "2". With one file to choose, the typed text is the name, quotes and all.
#include <QFileDialog>
#include <QLineEdit>
#include <QListView>
#include <QPointer>
#include <QPushButton>

namespace vx {

class FileDialog : public QFileDialog {
public:
    explicit FileDialog(QWidget *owner);

    // Call once the modes are set: the open button is made then.
    void acceptTypedFiles();

    // What was chosen: the typed name where it decided, else Qt's choice.
    QStringList chosenFiles() const { return chosen_.isEmpty() ? selectedFiles() : chosen_; }

    void accept() override;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    bool oneFile() const { return fileMode() != ExistingFiles; }
    bool quoted() const { return name_ && oneFile() && name_->text().contains(QLatin1Char('"')); }
    QString boxTitle() const;
    bool replaceConfirmed(const QFileInfo &info);
    QStringList listSelection() const;
    bool typedNameDecides() const;
    void nameEdited(bool edited);
    void updateButton();

    QPointer<QLineEdit> name_;
    QPointer<QListView> list_;
    QPointer<QPushButton> button_;
    QStringList chosen_;
    bool autoComplete_ = false;
};

} // namespace vx
