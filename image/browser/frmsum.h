#pragma once
// The thumbnail browser: drive, folder and file lists, a 5 x 5 grid of
// thumbnails paged two entries a step, a slide show, and pictures opened full
// screen (frmFullScreen) or in its picture window (Form33).
#include "platform/dialogs/dialogs.h"
#include "platform/forms/controls.h"
#include "platform/forms/filelists.h"
#include "platform/forms/form.h"
#include "platform/forms/picturebutton.h"
#include "platform/forms/scrollbar.h"
#include "platform/imaging/imagelist.h"
#include "platform/imaging/picture.h"
#include "thumbnailjob.h"

#include <QFutureWatcher>
#include <QStringList>

#include <array>
#include <memory>

namespace browser {
// The progress bar: a box filled from the left in the drawing colour.
class ProgressBox : public vx::PictureBox {
    Q_OBJECT
public:
    using vx::PictureBox::PictureBox;
    double Fraction() const { return fraction_; }
    void setFraction(double f);

protected:
    void paintEvent(QPaintEvent *e) override;

private:
    double fraction_ = 0;
};
} // namespace browser

class frmSum : public vx::Form {
    Q_OBJECT
public:
    frmSum();
    ~frmSum() override;

    vx::DriveListBox Drive{this, QStringLiteral("Drive")};
    vx::DirListBox Dir{this, QStringLiteral("Dir")};
    vx::FileListBox File{this, QStringLiteral("File")};
    vx::PictureBox Picture1{this, QStringLiteral("Picture1")};
    std::array<std::unique_ptr<vx::PictureButton>, 25> Command1;
    vx::PictureBox Picture3{this, QStringLiteral("Picture3"), &Picture1};
    vx::PictureBox Picture2{this, QStringLiteral("Picture2"), &Picture1};
    vx::ScrollBar VScroll1{this, QStringLiteral("VScroll1"), Qt::Vertical};
    vx::ImageList ImageList1{this, QStringLiteral("ImageList1")};
    browser::ProgressBox Picture4{this, QStringLiteral("Picture4")};
    vx::CommandButton cmdShow{this, QStringLiteral("cmdShow"), QStringLiteral("作成")};
    vx::CommandButton cmdCancel{this, QStringLiteral("cmdCancel"), QStringLiteral("中止")};
    vx::CommandButton Command5{this, QStringLiteral("Command5"), QStringLiteral("スライドショー")};
    vx::CommandButton Command4{this, QStringLiteral("Command4"), QStringLiteral("プロパティ")};
    vx::CommandButton Command8{this, QStringLiteral("Command8"), QStringLiteral("設定")};
    vx::CommandButton Command3{this, QStringLiteral("Command3"), QStringLiteral("ZQ起動")};
    vx::CommandButton Command2{this, QStringLiteral("Command2"), QStringLiteral("閉じる")};
    vx::Label Label1{this, QStringLiteral("Label1"), QStringLiteral("0")};
    vx::Timer Timer1{this, QStringLiteral("Timer1"), 5000, false};

    qint16 ThumbCount = 0;
    qint16 LastCellIndex = 0;
    QString LastDrive;
    QStringList AddList;

    // The window's background picture (set by Form18, never stored).
    const vx::Picture &Picture() const { return picture_; }
    void setPicture(const vx::Picture &p);
    // True while a build runs.
    bool building() const { return job_ != nullptr; }


    void Form_Load() override;
    void Form_Unload(int &cancel) override;
    void Command1_Click(int index);
    void Command2_Click();
    void Command3_Click();
    void Command4_Click();
    void Command5_Click();
    void Command8_Click();
    void Drive_Change();
    void Dir_Change();
    void cmdShow_Click();
    void cmdCancel_Click();
    void File_Click();
    void Label1_Click();
    void Timer1_Timer();
    void VScroll1_Change();
    void VScroll1_Scroll();

    // Module11's build, run by cmdShow: starts the decoding and returns; the
    // files are taken one per turn of the event loop.
    void startBuild();

protected:
    void paintEvent(QPaintEvent *e) override;
    bool eventFilter(QObject *watched, QEvent *e) override;

private:
    QString folderPrefix() const;
    void showFullScreen(const QString &path);
    void pauseSlideShow();
    void stopBuild();
    void watchNext();
    void takeResult();
    void afterFile();
    void finishBuild();
    void setBuildingControls(bool on);

    vx::Picture picture_;
    std::unique_ptr<browser::ThumbnailJob> job_;
    QFutureWatcher<vx::ReducedPicture> watcher_;
    int next_ = 0;
    int last_ = -1; // n: the list's last index when the build began
};
