#pragma once
// The thumbnail browser's picture window: Form32's design over frmSum's lists,
// Form18's ratio and interval and section "Graphic Rondix2".
#include "image/viewer/picturewindow.h"

class Form33 : public viewer::PictureWindow {
    Q_OBJECT
public:
    Form33();

    void Form_Load() override;
    void Form_Unload(int &cancel) override;

protected:
    vx::FileListBox &ownerFiles() override;
    QString ownerFolder() override;
    vx::Picture ownerPicture(const QString &path) override;
    double zoomSetting() override;
    double zoomRatio() override;
    int slideInterval() override;
};
