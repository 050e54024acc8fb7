#include "form11.h"
#include "platform/forms/events.h"

#include "capture/form29.h"
#include "capture/keys.h"
#include "capture/screen.h"
#include "image/magnifier/form13.h"
#include "platform/core/errors.h"
#include "suite/settings.h"

#include <QClipboard>
#include <QCoreApplication>
#include <QGuiApplication>
#include <QLinearGradient>
#include <QPainter>

namespace {
constexpr int kPx = vx::kTwipsPerPixel;
}

Form11::Form11() : vx::Form(QStringLiteral("Form11"))
{
    setCaption(QStringLiteral("Snapvane Version3.0"));
    setClientSize(740 * kPx, 690 * kPx);
    vx::CommandButton *row1[] = {&Command7, &Command8, &Command1, &Command2, &Command3, &Command4};
    const int widths1[] = {140, 204, 180, 56, 56, 56};
    int x = 8;
    for (int i = 0; i < 6; ++i) {
        row1[i]->setGeometry(x, 8, widths1[i], 26);
        x += widths1[i] + 6;
    }
    vx::CommandButton *row2[] = {&Command6, &Command9, &Command10, &Command11, &Command12, &Command5};
    x = 8;
    for (vx::CommandButton *b : row2) {
        b->setGeometry(x, 40, 90, 26);
        x += 96;
    }
    Command1.setToolTipText(QStringLiteral("PrintScreenキーやAltキーを押してからクリックしてください"));
    Command2.setToolTipText(QStringLiteral("キャプチャした画像を保存します"));
    Command3.setToolTipText(QStringLiteral("表示をクリックしてからクリックしてください"));
    Image1.setAccessibleName(QStringLiteral("キャプチャした画像"));
    Image1.setStretch(true);
    Image1.setPicture(storedPicture());
    Image1.setWidth(10560);
    Image1.setHeight(9060);

    vx::bindEvents(*this);
}

vx::Picture Form11::storedPicture()
{
    QImage img(320, 240, QImage::Format_RGB32);
    QPainter p(&img);
    QLinearGradient g(0, 0, 320, 240);
    g.setColorAt(0, QColor(0x7E, 0xC8, 0xF0));
    g.setColorAt(1, QColor(0x2A, 0x5C, 0xA8));
    p.fillRect(img.rect(), g);
    p.setPen(Qt::white);
    QFont f = p.font();
    f.setPixelSize(36);
    f.setBold(true);
    p.setFont(f);
    p.drawText(img.rect(), Qt::AlignCenter, QStringLiteral("Snapvane"));
    p.end();
    vx::Picture pic;
    pic.image = img;
    pic.format = QStringLiteral("bmp");
    return pic;
}

void Form11::Form_Load()
{
    suite::applyPointer(*this);
}

void Form11::Form_Unload(int &)
{
    using namespace capture::keys;
    setMousePointer(suite::GetInteger(kMainForm, kPointer, kPointerDefault));
    Timer1.setEnabled(false);
    Timer2.setEnabled(false);
    vx::unload<Form13>();
    clearOwnClipboard();
}

bool Form11::place(const QImage &image)
{
    QClipboard *clip = QGuiApplication::clipboard();
    clip->setImage(image);
    if (clip->image().isNull())
        return false;
    placed_ = clip->mimeData();
    return true;
}

void Form11::clearOwnClipboard()
{
    QClipboard *clip = QGuiApplication::clipboard();
    if (placed_ && clip->mimeData() == placed_.data())
        clip->clear();
    placed_ = nullptr;
}

void Form11::Command7_Click()
{
    vx::MsgBox(QStringLiteral("OKを押してから10秒後にキャプチャします"));
    Timer2.setEnabled(true);
}

void Form11::Command8_Click()
{
    vx::MsgBox(QStringLiteral("OKを押してから10秒後にキャプチャします"));
    Timer1.setEnabled(true);
}

void Form11::Timer1_Timer() { capture(Timer1, true); }
void Form11::Timer2_Timer() { capture(Timer2, false); }

void Form11::capture(vx::Timer &timer, bool activeWindow)
{
    // Stopped before any message: an open message must not see the next tick.
    timer.setEnabled(false);
    const std::optional<QImage> shot =
        activeWindow ? capture::screenSource().activeWindow() : capture::screenSource().wholeScreen();
    if (!shot || shot->isNull()) {
        vx::MsgBox(QStringLiteral("画面を取り込めませんでした。画面のキャプチャにはX11のセッションが必要です。"),
                   vx::vbExclamation);
        return;
    }
    QGuiApplication::clipboard()->clear();
    place(*shot);
    vx::Picture shown = vx::ClipboardPicture();
    if (shown.isNull()) {
        shown.image = *shot;
        shown.format = QStringLiteral("bmp");
    }
    Image1.setPicture(shown);
    vx::MsgBox(QStringLiteral("キャプチャ完了！"));
}

void Form11::Command1_Click() { Image1.setPicture(vx::ClipboardPicture()); }

void Form11::Command2_Click()
{
    CommonDialog1.Filter = QStringLiteral("BMPファイル (*.bmp)|*.bmp");
    // Cancel writes nothing.
    if (!CommonDialog1.ShowSave() || CommonDialog1.FileName.isEmpty())
        return;
    try {
        vx::SavePicture(Image1.Picture(), CommonDialog1.FileName);
    } catch (const vx::RuntimeError &e) {
        vx::MsgBox(QStringLiteral("保存出来ませんでした。\n") + e.description(), vx::vbExclamation);
        return;
    }
    Image1.setWidth(10620);
    Image1.setHeight(7320);
    vx::MsgBox(QStringLiteral("保存されました(^o^)"));
}

void Form11::Command3_Click()
{
    QCoreApplication::processEvents();
    const vx::Picture clip = vx::ClipboardPicture();
    if (!clip.isNull())
        Image1.setPicture(clip);
    // Without a picture on the clipboard, the shown one is printed.
    const vx::Picture pic = clip.isNull() ? Image1.Picture() : clip;
    if (pic.isNull()) {
        vx::MsgBox(QStringLiteral("印刷する画像がありません。"), vx::vbExclamation);
        return;
    }
    const QString failed = vx::PrintPicture(pic);
    if (!failed.isEmpty())
        vx::MsgBox(failed, vx::vbExclamation);
}

void Form11::Command4_Click()
{
    if (Image1.Picture().isNull() || !place(Image1.Picture().image)) {
        vx::MsgBox(QStringLiteral("クリップボードにコピー出来ませんでした。"), vx::vbExclamation);
        return;
    }
    vx::MsgBox(QStringLiteral("クリップボードに保存されました(^o^)"));
}

void Form11::zoom(float factor)
{
    Image1.setStretch(true);
    Image1.setHeight(Image1.Height() * factor);
    Image1.setWidth(Image1.Width() * factor);
}

void Form11::Command10_Click() { zoom(0.9f); }
void Form11::Command11_Click() { zoom(1.1f); }
void Form11::Command9_Click() { Image1.setStretch(false); }
void Form11::Command12_Click() { vx::instance<Form29>().Show(1); }

void Form11::Command6_Click()
{
    if (!vx::instance<Form13>().Visible())
        vx::instance<Form13>().Show();
    else
        vx::unload<Form13>();
}

void Form11::Command5_Click()
{
    // The unload handler closes the magnifier and empties the clipboard.
    Unload();
}
