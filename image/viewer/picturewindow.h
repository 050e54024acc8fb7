#pragma once
// The picture window design that Form32 (for Form2) and Form33 (for the
// thumbnail browser) share: the owner's selected file in a window that takes
// the picture's size, next, previous, a slide show over the owner's list,
// enlarge, shrink, reset and dropped files. Each window says which owner and
// settings window it reads.
#include "platform/forms/controls.h"
#include "platform/forms/filelists.h"
#include "platform/forms/form.h"
#include "platform/imaging/imagebox.h"

#include <QSizeF>

#include <optional>

namespace viewer {

class PictureWindow : public vx::Form {
    Q_OBJECT
public:
    PictureWindow(const QString &name, const QString &caption);

    vx::Placed<vx::CommandButton> Command9{{0, 0, 615, 375}, this, QStringLiteral("Command9"), QStringLiteral("前へ")};
    vx::Placed<vx::CommandButton> Command6{{615, 0, 600, 375}, this, QStringLiteral("Command6"),
                                           QStringLiteral("次へ")};
    vx::Placed<vx::CommandButton> Command10{{1215, 0, 1215, 375}, this, QStringLiteral("Command10"),
                                            QStringLiteral("スライドショー")};
    vx::Placed<vx::CommandButton> Command2{{2430, 0, 615, 375}, this, QStringLiteral("Command2"),
                                           QStringLiteral("拡大")};
    vx::Placed<vx::CommandButton> Command3{{3045, 0, 615, 375}, this, QStringLiteral("Command3"),
                                           QStringLiteral("縮小")};
    vx::Placed<vx::CommandButton> Command4{{3660, 0, 735, 375}, this, QStringLiteral("Command4"),
                                           QStringLiteral("リセット")};
    vx::Placed<vx::ImageBox> Image1{{120, 480, 4215, 4335}, this, QStringLiteral("Image1")};
    vx::Timer Timer1{this, QStringLiteral("Timer1"), 0, false};

    // Shows the owner's selected entry (load, next, previous).
    void ShowCurrent();

    void Form_Activate() override;
    Q_SLOT void Command6_Click();
    Q_SLOT void Command9_Click();
    Q_SLOT void Command2_Click();
    Q_SLOT void Command3_Click();
    Q_SLOT void Command4_Click();
    Q_SLOT void Command10_Click();
    Q_SLOT void Timer1_Timer();
    Q_SLOT void Form_OLEDragDrop(const QStringList &files);

protected:
    // The owner's file list and folder (touching them may load the owner).
    virtual vx::FileListBox &ownerFiles() = 0;
    virtual QString ownerFolder() = 0;
    // The picture of `path`, shared with the owner when it holds that file.
    virtual vx::Picture ownerPicture(const QString &path) = 0;
    // "Zoom" of the owner's section; the ratio of the owner's settings window
    // (raises 13 when its text is not a number); its slide interval.
    virtual double zoomSetting() = 0;
    virtual double zoomRatio() = 0;
    virtual int slideInterval() = 0;
    // The owner's position label (Form2's only).
    virtual void showPosition(int index, int count) { (void)index; (void)count; }

private:
    QString ownerFile();
    void showOwnerFile(double zoom);
    void fitWindow();
    std::optional<QSizeF> fit_;
};

} // namespace viewer
