#pragma once
// Picture window of the first image viewer: shows Form2's selected file in a
// window that takes the picture's size, and walks Form2's file list.
#include "picturewindow.h"

class Form32 : public viewer::PictureWindow {
    Q_OBJECT
public:
    Form32();

    void Form_Load() override;
    void Form_Unload(int &cancel) override;

protected:
    vx::FileListBox &ownerFiles() override;
    QString ownerFolder() override;
    vx::Picture ownerPicture(const QString &path) override;
    double zoomSetting() override;
    double zoomRatio() override;
    int slideInterval() override;
    void showPosition(int index, int count) override;
};
