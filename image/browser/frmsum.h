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

    vx::Placed<vx::DriveListBox> Drive{{120, 120, 2775, 300}, this, QStringLiteral("Drive")};
    vx::Placed<vx::DirListBox> Dir{{120, 480, 2775, 2610}, this, QStringLiteral("Dir")};
    vx::Placed<vx::FileListBox> File{{120, 3240, 2775, 5310}, this, QStringLiteral("File")};
    vx::Placed<vx::PictureBox> Picture1{{3000, 120, 9135, 8535}, this, QStringLiteral("Picture1")};
    std::array<std::unique_ptr<vx::PictureButton>, 25> Command1;
    vx::Placed<vx::PictureBox> Picture3{{0, 0, 1455, 1455}, this, QStringLiteral("Picture3"), &Picture1};
    vx::Placed<vx::PictureBox> Picture2{{1800, 0, 690, 690}, this, QStringLiteral("Picture2"), &Picture1};
    vx::Placed<vx::ScrollBar> VScroll1{{12120, 120, 255, 8535}, this, QStringLiteral("VScroll1"), Qt::Vertical};
    vx::ImageList ImageList1{this, QStringLiteral("ImageList1")};
    browser::ProgressBox Picture4{this, QStringLiteral("Picture4")};
    vx::Placed<vx::CommandButton> cmdShow{{3000, 8760, 1095, 375}, this, QStringLiteral("cmdShow"),
                                          QStringLiteral("作成")};
    vx::Placed<vx::CommandButton> cmdCancel{{4095, 8760, 1095, 375}, this, QStringLiteral("cmdCancel"),
                                            QStringLiteral("中止")};
    vx::Placed<vx::CommandButton> Command5{{5190, 8760, 1335, 375}, this, QStringLiteral("Command5"),
                                           QStringLiteral("スライドショー")};
    vx::Placed<vx::CommandButton> Command4{{6525, 8760, 1095, 375}, this, QStringLiteral("Command4"),
                                           QStringLiteral("プロパティ")};
    vx::Placed<vx::CommandButton> Command8{{7620, 8760, 1095, 375}, this, QStringLiteral("Command8"),
                                           QStringLiteral("設定")};
    vx::Placed<vx::CommandButton> Command3{{8715, 8760, 1335, 375}, this, QStringLiteral("Command3"),
                                           QStringLiteral("ZQ起動")};
    vx::Placed<vx::CommandButton> Command2{{10050, 8760, 1215, 375}, this, QStringLiteral("Command2"),
                                           QStringLiteral("閉じる")};
    vx::Placed<vx::Label> Label1{{11400, 8760, 975, 375}, this, QStringLiteral("Label1"), QStringLiteral("0")};
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
    Q_SLOT void Command2_Click();
    Q_SLOT void Command3_Click();
    Q_SLOT void Command4_Click();
    Q_SLOT void Command5_Click();
    Q_SLOT void Command8_Click();
    Q_SLOT void Drive_Change();
    Q_SLOT void Dir_Change();
    Q_SLOT void cmdShow_Click();
    Q_SLOT void cmdCancel_Click();
    Q_SLOT void File_Click();
    Q_SLOT void Label1_Click();
    Q_SLOT void Timer1_Timer();
    Q_SLOT void VScroll1_Change();
    Q_SLOT void VScroll1_Scroll();

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
