#pragma once
// The screen capture tool: the whole screen or the active window ten seconds
// after the user asks, shown zoomable; saved as a bitmap, printed, copied, and
// the magnifier toggled. The clipboard is emptied at close only while it still
// holds this tool's picture.
#include "platform/dialogs/dialogs.h"
#include "platform/forms/controls.h"
#include "platform/forms/form.h"
#include "platform/imaging/imagebox.h"

#include <QMimeData>
#include <QPointer>

class Form11 : public vx::Form {
    Q_OBJECT
public:
    Form11();

    vx::CommandButton Command7{this, QStringLiteral("Command7"), QStringLiteral("画面全体をキャプチャ")};
    vx::CommandButton Command8{this, QStringLiteral("Command8"), QStringLiteral("アクティブウインドウをキャプチャ")};
    vx::CommandButton Command1{this, QStringLiteral("Command1"), QStringLiteral("クリップボードの画像を表示")};
    vx::CommandButton Command2{this, QStringLiteral("Command2"), QStringLiteral("保存")};
    vx::CommandButton Command3{this, QStringLiteral("Command3"), QStringLiteral("印刷")};
    vx::CommandButton Command4{this, QStringLiteral("Command4"), QStringLiteral("コピー")};
    vx::CommandButton Command6{this, QStringLiteral("Command6"), QStringLiteral("ズーム")};
    vx::CommandButton Command9{this, QStringLiteral("Command9"), QStringLiteral("リセット")};
    vx::CommandButton Command10{this, QStringLiteral("Command10"), QStringLiteral("縮小")};
    vx::CommandButton Command11{this, QStringLiteral("Command11"), QStringLiteral("拡大")};
    vx::CommandButton Command12{this, QStringLiteral("Command12"), QStringLiteral("サイズ変更")};
    vx::CommandButton Command5{this, QStringLiteral("Command5"), QStringLiteral("閉じる")};
    vx::Placed<vx::ImageBox> Image1{{120, 1080, 10560, 9060}, this, QStringLiteral("Image1")};
    vx::Timer Timer1{this, QStringLiteral("Timer1"), 10000, false};
    vx::Timer Timer2{this, QStringLiteral("Timer2"), 10000, false};
    vx::CommonDialog CommonDialog1{this};

    // The picture shown before anything is captured.
    static vx::Picture storedPicture();

    void Form_Load() override;
    void Form_Unload(int &cancel) override;
    Q_SLOT void Command1_Click();
    Q_SLOT void Command2_Click();
    Q_SLOT void Command3_Click();
    Q_SLOT void Command4_Click();
    Q_SLOT void Command5_Click();
    Q_SLOT void Command6_Click();
    Q_SLOT void Command7_Click();
    Q_SLOT void Command8_Click();
    Q_SLOT void Command9_Click();
    Q_SLOT void Command10_Click();
    Q_SLOT void Command11_Click();
    Q_SLOT void Command12_Click();
    Q_SLOT void Timer1_Timer();
    Q_SLOT void Timer2_Timer();

private:
    void capture(vx::Timer &timer, bool activeWindow);
    void zoom(float factor);
    // Puts the picture on the clipboard; false when it did not get there.
    bool place(const QImage &image);
    void clearOwnClipboard();

    QPointer<const QMimeData> placed_;
};
