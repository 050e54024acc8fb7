#include "form4.h"
#include "platform/forms/events.h"

#include "form27.h"
#include "form37.h"
#include "form38.h"
#include "keys.h"
#include "platform/core/convert.h"
#include "platform/core/errors.h"
#include "suite/ending.h"
#include "suite/folders.h"
#include "suite/settings.h"

#include <QPainter>

#include <cmath>

using namespace editor;
using namespace editor::keys;

namespace {

// A small picture for the picture buttons: one glyph on a tinted tile.
QPixmap glyphPicture(const QString &glyph, const QColor &tint)
{
    QPixmap pm(22, 22);
    pm.fill(Qt::transparent);
    QPainter p(&pm);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(tint.darker(160));
    p.setBrush(tint);
    p.drawRoundedRect(QRectF(1, 1, 20, 20), 4, 4);
    QFont f = p.font();
    f.setPixelSize(14);
    f.setBold(true);
    p.setFont(f);
    p.setPen(Qt::black);
    p.drawText(QRect(0, 0, 22, 22), Qt::AlignCenter, glyph);
    return pm;
}

void pictureButton(vx::CommandButton &b, const QString &glyph, const QColor &tint, const QString &tip)
{
    b.setPicture(glyphPicture(glyph, tint));
    b.setToolTipText(tip);
    b.setAccessibleName(tip);
}

} // namespace

bool editor::confirmEnd()
{
    if (!vx::isLoaded<Form4>())
        return true;
    Form4 &f = vx::instance<Form4>();
    if (!f.hasUnsavedChanges())
        return true;
    if (vx::MsgBox(kAskSave, vx::vbYesNo) != vx::vbYes)
        return true;
    return f.SaveEditorFile();
}

Form4::Form4() : vx::Form(QStringLiteral("Form4"))
{
    suite::registerEndCheck(QStringLiteral("Form4"), &editor::confirmEnd);
    setCaption(kEditCaption);
    setClientSize(12600, 7920);
    const QColor edit(0xE3, 0xEE, 0xFA), format(0xFB, 0xEE, 0xD9), tool(0xE4, 0xF4, 0xE1);
    pictureButton(Command10, QStringLiteral("写"), edit, QStringLiteral("コピーします"));
    pictureButton(Command11, QStringLiteral("貼"), edit, QStringLiteral("貼り付けします"));
    pictureButton(Command12, QStringLiteral("切"), edit, QStringLiteral("切り取りします"));
    pictureButton(Command13, QStringLiteral("戻"), edit, QStringLiteral("やり直しします"));
    pictureButton(Command14, QStringLiteral("左"), format, QStringLiteral("左揃えします"));
    pictureButton(Command15, QStringLiteral("中"), format, QStringLiteral("中揃えします"));
    pictureButton(Command160, QStringLiteral("右"), format, QStringLiteral("右揃えします"));
    pictureButton(Command4, QStringLiteral("字"), format, QStringLiteral("フォントを変更します"));
    pictureButton(Command9, QStringLiteral("色"), format, QStringLiteral("フォントの色を変更します"));
    pictureButton(Command7, QStringLiteral("紙"), format, QStringLiteral("紙の色を変更します"));
    pictureButton(Command5, QStringLiteral("印"), tool, QStringLiteral("印刷します"));
    pictureButton(Command8, QStringLiteral("新"), tool, QStringLiteral("新しく作成します"));
    pictureButton(Command20, QStringLiteral("検"), tool, QStringLiteral("文字を検索します"));
    Command21.setToolTipText(QStringLiteral("前へ戻ります"));
    Command22.setToolTipText(QStringLiteral("次へ進みます"));
    Command1.setToolTipText(QStringLiteral("Scrivoltを終わります"));
    Command2.setToolTipText(QStringLiteral("HTMLソースなどをIEで表示します"));
    Command16.setToolTipText(QStringLiteral("文字の入力を支援するコントローラーを起動します"));
    Command19.setToolTipText(QStringLiteral("すべて選択します"));
    Command24.setToolTipText(QStringLiteral("右端折り返しとそうでないの切り替え"));
    Check1.setToolTipText(QStringLiteral("ON：システム属性を読み込まないので安全です"));
    Check1.setValue(1);
    IDMSYSTEMSAFETY.setChecked(true);
    File1.setPattern(kSafePattern);
    Command21.setEnabled(false);
    Command22.setEnabled(false);
    Toolbar1.setMovable(false);
    Toolbar1.setFocusPolicy(Qt::NoFocus);
    RichTextBox1.setAccessibleName(QStringLiteral("本文"));
    RichTextBox1.setBackColor(vx::syscolor::WindowBackground);
    RichTextBox1.setFontName(kFontDefault);

    StatusBar1.addPanel(PanelStyle::Text, 1500, QStringLiteral("one"));
    StatusBar1.addPanel(PanelStyle::Text, 3600);
    StatusBar1.addPanel(PanelStyle::Kana, 700);
    StatusBar1.addPanel(PanelStyle::Caps, 700);
    StatusBar1.addPanel(PanelStyle::Num, 700);
    StatusBar1.addPanel(PanelStyle::Ins, 700);
    StatusBar1.addPanel(PanelStyle::Scroll, 700);
    StatusBar1.addPanel(PanelStyle::Date, 1300);
    StatusBar1.addPanel(PanelStyle::Time, 900);
    StatusBar1.insertMode = [this] { return !RichTextBox1.overwriteMode(); };

    CommonDialog1.FileName = QStringLiteral("noname.wri");
    CommonDialog7.FileName = QStringLiteral("noname.txt");
    layoutControls();
    vx::bindEvents(*this);
    // Every edit of the text marks the document, not only typed characters.
    RichTextBox1.Edited = [this] {
        if (Caption() == kEditCaption)
            setCaption(kModifiedCaption);
    };
}

void Form4::layoutControls()
{
    // The top strip: the toolbar with the command buttons over it.
    Toolbar1.Move(0, 0, 12600, 480);
    vx::CommandButton *pictures[] = {&Command8, &Command10, &Command11, &Command12, &Command13, &Command14,
                                     &Command15, &Command160, &Command4, &Command9, &Command7, &Command5, &Command20};
    double x = 60;
    for (vx::CommandButton *b : pictures) {
        b->Move(x, 60, 420, 360);
        x += 435;
    }
    x += 60;
    struct Wide {
        vx::CommandButton *b;
        double w;
    } words[] = {{&Command19, 540}, {&Command24, 420}, {&Command25, 660}, {&Command16, 1320}, {&Command3, 660},
                 {&Command2, 1020}, {&Command23, 1020}};
    for (const Wide &w : words) {
        w.b->Move(x, 60, w.w, 360);
        x += w.w + 15;
    }
    // The file pane on the left.
    StatusBar1.Move(0, 7600, 12600, 320);
}

void Form4::Form_Load()
{
    RichTextBox1.setReadOnly(false);
    setCaption(kEditCaption);
    suite::applyPointer(*this);
    Move(suite::GetSingle(kSection, kFormLeft, kPositionDefault), suite::GetSingle(kSection, kFormTop, kPositionDefault));
    CommonDialog5.Font.name = RichTextBox1.FontName();
    suite::restoreFolder(Drive1, Dir1, kSection, kDir, kDirDefault, kDrive, kDriveDefault);
}

void Form4::Form_Resize()
{
    const double w = Width() - 2800;
    const double h = Height() - 1600;
    if (w < 0 || h < 0)
        return;
    RichTextBox1.setWidth(w);
    RichTextBox1.setHeight(h);
    StatusBar1.Move(0, ScaleHeight() - 320, ScaleWidth(), 320);
    Toolbar1.setWidth(ScaleWidth());
}

void Form4::RichTextBox1_KeyPress(int keyAscii)
{
    (void)keyAscii;
    if (Caption() == kEditCaption)
        setCaption(kModifiedCaption);
}

void Form4::RichTextBox1_Change()
{
    const bool can = RichTextBox1.CanUndo();
    Command13.setEnabled(can);
    IDMTXTBACK.setEnabled(can);
}

void Form4::Command3_Click()
{
    if (Caption() == kReadCaption) {
        RichTextBox1.setReadOnly(false);
        setCaption(markedInRead_ ? kModifiedCaption : kEditCaption);
        markedInRead_ = false;
    } else {
        // Read mode shows its own caption; the unsaved changes are still there.
        markedInRead_ = Caption() == kModifiedCaption;
        RichTextBox1.setReadOnly(true);
        setCaption(kReadCaption);
    }
}

bool Form4::hasUnsavedChanges() const
{
    return Caption() == kModifiedCaption || (Caption() == kReadCaption && markedInRead_);
}

void Form4::clearMarker()
{
    markedInRead_ = false;
    if (Caption() == kModifiedCaption)
        setCaption(kEditCaption);
}

void Form4::Timer1_Timer()
{
    const vx::RichTextBox &r = RichTextBox1;
    const int line = r.GetLineFromChar(r.SelStart()) + 1;
    const int lineStart = r.CaretLineStart();
    const int length = r.LineLength(lineStart);
    const int selEnd = r.SelEnd();
    const int lines = r.LineCount();
    // Both counts halved, rounded half to even, as the display has always shown them.
    const auto col = static_cast<long long>(std::nearbyint((selEnd - lineStart) / 2.0 + 1));
    const auto len = static_cast<long long>(std::nearbyint(length / 2.0 + 1));
    if (lines < 1) {
        StatusBar1.setPanelText(2, QStringLiteral("取得失敗"));
        return;
    }
    StatusBar1.setPanelText(2, QStringLiteral("縦:%1行/%2行 横:%3列/%4列").arg(line).arg(lines).arg(col).arg(len));
}

void Form4::Command1_Click() { closeSteps(); }

void Form4::Form_Unload(int &cancel)
{
    // A save the user asked for that did not happen keeps the window and text.
    if (!closeSteps())
        cancel = 1;
}

bool Form4::closeSteps()
{
    storeFormatting();
    bool ok = true;
    if (hasUnsavedChanges()) {
        if (vx::MsgBox(kAskSave, vx::vbYesNo) == vx::vbYes)
            ok = SaveEditorFile();
        else
            Hide();
    } else {
        Hide();
    }
    storePlace();
    vx::unload<Form27>();
    vx::unload<Form37>();
    vx::unload<Form38>();
    return ok;
}

void Form4::storeFormatting()
{
    try {
        suite::SaveSetting(kSection, kPaparColor, QString::number(RichTextBox1.BackColor()));
        suite::SaveSetting(kSection, kFont, RichTextBox1.SelFontName());
        suite::SaveSetting(kSection, kFontSize, vx::numText(RichTextBox1.SelFontSize()));
        suite::SaveSetting(kSection, kFontBold, RichTextBox1.SelBold() ? QStringLiteral("True") : QStringLiteral("False"));
        suite::SaveSetting(kSection, kFontItalic,
                           RichTextBox1.SelItalic() ? QStringLiteral("True") : QStringLiteral("False"));
        suite::SaveSetting(kSection, kFontColor, QString::number(RichTextBox1.SelColor()));
    } catch (const vx::RuntimeError &e) {
        vx::MsgBox(e.description(), vx::vbExclamation);
    }
}

void Form4::storePlace()
{
    try {
        suite::SaveSetting(kSection, kDir, Dir1.Path());
        suite::SaveSetting(kSection, kDrive, Drive1.Drive());
        suite::savePosition(*this, kSection);
    } catch (const vx::RuntimeError &e) {
        vx::MsgBox(e.description(), vx::vbExclamation);
    }
}
