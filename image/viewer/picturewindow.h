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

    vx::CommandButton Command9{this, QStringLiteral("Command9"), QStringLiteral("前へ")};
    vx::CommandButton Command6{this, QStringLiteral("Command6"), QStringLiteral("次へ")};
    vx::CommandButton Command10{this, QStringLiteral("Command10"), QStringLiteral("スライドショー")};
    vx::CommandButton Command2{this, QStringLiteral("Command2"), QStringLiteral("拡大")};
    vx::CommandButton Command3{this, QStringLiteral("Command3"), QStringLiteral("縮小")};
    vx::CommandButton Command4{this, QStringLiteral("Command4"), QStringLiteral("リセット")};
    vx::ImageBox Image1{this, QStringLiteral("Image1")};
    vx::Timer Timer1{this, QStringLiteral("Timer1"), 0, false};

    // Shows the owner's selected entry (load, next, previous).
    void ShowCurrent();

    void Form_Activate() override;
    void Command6_Click();
    void Command9_Click();
    void Command2_Click();
    void Command3_Click();
    void Command4_Click();
    void Command10_Click();
    void Timer1_Timer();
    void Form_OLEDragDrop(const QStringList &files);

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
