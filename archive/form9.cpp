#include "form9.h"
#include "platform/forms/events.h"

#include "arcsmpcommon.h"
#include "keys.h"

#include "platform/core/errors.h"
#include "platform/forms/program.h"
#include "platform/system/system.h"
#include "suite/settings.h"

#include <QDir>
#include <QKeyEvent>

using namespace archive;

namespace {

const char *const kFormats[8] = {"LZH", "ZIP", "CAB", "GCA", "ARJ", "RAR", "TAR", "YZ1"};
// Panes that also compress.
bool compresses(int n) { return n == 1 || n == 2 || n == 3 || n == 7 || n == 8; }

const QString kVersionPrefix[8] = {
    QStringLiteral("UNLHA32.DLL Version"), QStringLiteral("UNZIP32.DLL Version"), QStringLiteral("CAB32.DLL Version"),
    QStringLiteral("UNGCA32.DLL Version"), QStringLiteral("UNARJ32J.DLL Version"), QStringLiteral("UNRAR32.DLL Version"),
    QStringLiteral("TAR32.DLL Version"), QStringLiteral("YZ1.DLL Version")};
const QString kNotFound[8] = {
    QStringLiteral("UNLHA32.DLLが見つかりません"), QStringLiteral("UNZIP32.DLLが見つかりません"),
    QStringLiteral("CAB32.DLLが見つかりません"), QStringLiteral("UNGCA32.DLLが見つかりません"),
    QStringLiteral("UNARJ32J.DLLが見つかりません"), QStringLiteral("UNRAR32.DLLが見つかりません"),
    QStringLiteral("TAR32.DLLが見つかりません"), QStringLiteral("YZ1.DLLが見つかりません")};
// Libraries whose version each pane shows.
const Lib kVersionLib[8] = {Lib::Unlha32, Lib::Unzip32, Lib::Cab32, Lib::Ungca32,
                            Lib::Unarj32j, Lib::Unrar32, Lib::Tar32, Lib::Yz1};
const QString kCredit = QStringLiteral("(c) VX2002 archiver libraries");

// Enter or space on a focused control runs its action, as a click does.
class KeyActivate : public QObject {
public:
    KeyActivate(QObject *parent, std::function<void()> action) : QObject(parent), action_(std::move(action)) {}

protected:
    bool eventFilter(QObject *, QEvent *e) override
    {
        if (e->type() != QEvent::KeyPress)
            return false;
        const int key = static_cast<QKeyEvent *>(e)->key();
        if (key != Qt::Key_Return && key != Qt::Key_Enter && key != Qt::Key_Space)
            return false;
        vx::dispatch(action_);
        return true;
    }

private:
    std::function<void()> action_;
};

} // namespace

Form9::Form9() : vx::Form(QStringLiteral("Form9"))
{
    setCaption(QStringLiteral("Cramlet＆Loosel Version4.1"));
    setClientSize(9720, 7440);
    SSTab1.Move(120, 480, 9480, 5640);
    Label5.Move(2640, 6240, 5640, 495);
    Label1_0.setAccessibleName(Label1_0.Caption());
    layoutPanes();
    wireHandlers();
}

Form9::Pane Form9::pane(int n)
{
    switch (n) {
    case 1: return {&Drive1, &Dir1, &File1, &Text1, &Command2, &CommonDialog1, &Label11, &Label21};
    case 2: return {&Drive2, &Dir2, &File2, &Text2, &Command3, &CommonDialog2, &Label12, &Label22};
    case 3: return {&Drive3, &Dir3, &File3, &Text3, &Command4, &CommonDialog3, &Label13, &Label23};
    case 4: return {&Drive4, &Dir4, &File4, &Text4, &Command5, &CommonDialog4, &Label14, &Label24};
    case 5: return {&Drive5, &Dir5, &File5, &Text5, &Command6, &CommonDialog5, &Label15, &Label25};
    case 6: return {&Drive6, &Dir6, &File6, &Text6, &Command7, &CommonDialog6, &Label16, &Label26};
    case 7: return {&Drive7, &Dir7, &File7, &Text7, &Command8, &CommonDialog7, &Label17, &Label27};
    default: return {&Drive8, &Dir8, &File8, &Text8, &Command9, &CommonDialog8, &Label18, &Label28};
    }
}

void Form9::layoutPanes()
{
    vx::Label *titles[8] = {&Label2, &Label3, &Label4, &Label6, &Label7, &Label8, &Label9, &Label10};
    const QString patterns[8] = {QStringLiteral("*.lzh"), QStringLiteral("*.zip"), QStringLiteral("*.cab"),
                                 QStringLiteral("*.gca"), QStringLiteral("*.arj"), QStringLiteral("*.rar"),
                                 QStringLiteral("*.tar;*.tgz;*.tbz"), QStringLiteral("*.yz1")};
    for (int n = 1; n <= 8; ++n) {
        Pane p = pane(n);
        const QString fmt = QString::fromLatin1(kFormats[n - 1]);
        titles[n - 1]->Move(120, 120, 6000, 300);
        p.version->Move(120, 450, 9000, 255);
        p.drive->Move(120, 780, 3240, 300);
        p.dir->Move(120, 1140, 3240, 2100);
        p.file->Move(120, 3300, 3240, 1500);
        p.file->setPattern(patterns[n - 1]);
        p.position->Move(120, 4860, 3240, 255);
        p.position->setFocusPolicy(Qt::TabFocus);
        p.position->setAccessibleDescription(QStringLiteral("%1 の一覧を更新").arg(fmt));
        p.text->Move(3480, 780, 5760, 2460);
        QString prompt = QStringLiteral("\n\n\nこのボックスに%1ファイルをドロップしてください。").arg(fmt);
        if (compresses(n))
            prompt += QStringLiteral("\nまたは、%1形式で圧縮したいファイル、フォルダを\nドロップしてください。").arg(fmt);
        p.text->setText(prompt);
        p.text->setToolTipText(QStringLiteral("ここに%1ファイルをドロップしてください").arg(fmt));
        p.text->setAccessibleName(p.text->ToolTipText());
        p.select->Move(3480, 3360, 3000, 375);
        p.select->setCaption(n == 1 ? QStringLiteral("ファイルを選択（解凍専用）")
                             : compresses(n) ? QStringLiteral("ファイルを選択(解凍専用)")
                                             : QStringLiteral("ファイルを選択"));
    }
    HScroll2.setMin(0);
    HScroll2.setMax(9);
    HScroll2.setAccessibleName(QStringLiteral("ZIP 圧縮レベル"));
    HScroll1.setMin(0);
    HScroll1.setMax(9);
    HScroll1.setAccessibleName(QStringLiteral("TAR 圧縮レベル"));
    Combo3.setAccessibleName(Label1_7.Caption());
    Combo2.setAccessibleName(Label1_8.Caption());
    Combo1.setAccessibleName(Label19.Caption());
}

void Form9::wireHandlers()
{
    vx::bindEvents(*this);
    for (int n = 1; n <= 8; ++n) {
        Pane p = pane(n);
        p.drive->Change = [this, n] { DriveChange(n); }; // Drive1_Change ... Drive8_Change
        p.dir->Change = [this, n] { DirChange(n); };
        p.position->Click = [this, n] { PositionLabelClick(n); };
        p.position->installEventFilter(new KeyActivate(p.position, [this, n] { PositionLabelClick(n); }));
        p.select->Click = [this, n] { SelectClick(n); };
        // Moving through the list only selects; a click or Enter extracts.
        vx::FileListBox *file = p.file;
        connect(file, &QListWidget::itemClicked, this, [this, n] { vx::dispatch([this, n] { FileClick(n); }); });
        file->installEventFilter(new KeyActivate(file, [this, n, file] {
            if (file->ListIndex() >= 0)
                FileClick(n);
        }));
    }
}

uint32_t Form9::ownHandle() const { return static_cast<uint32_t>(const_cast<Form9 *>(this)->winId()); }

void Form9::SetVersionLabel(int n)
{
    Pane p = pane(n);
    const auto v = LibraryVersion(kVersionLib[n - 1]);
    if (!v) {
        p.version->setCaption(kNotFound[n - 1]);
        return;
    }
    QString text = QString::number(*v / 100.0, 'f', 2);
    text = text.left(4).leftJustified(4, QLatin1Char(' '));
    p.version->setCaption(kVersionPrefix[n - 1] + text + QLatin1Char(' ') + kCredit);
}

void Form9::Form_Load()
{
    // Each step stands alone: one that fails leaves the rest to run.
    auto step = [](const std::function<void()> &f) {
        try {
            f();
        } catch (const vx::RuntimeError &) {
        }
    };
    step([this] { SetVersionLabel(1); });
    step([this] { ProgramFolderSeparator = ArcsmpCommon::PathSeparatorFor(vx::AppPath()); });
    step([this] { FillLhaCombos(); });
    for (int n = 2; n <= 8; ++n)
        step([this, n] { SetVersionLabel(n); });
    step([this] {
        bool ok = false;
        const int p = suite::GetSetting(keys::kMainFormSection, keys::kPointer, QStringLiteral("99")).trimmed().toInt(&ok);
        if (ok)
            setMousePointer(p);
    });
    step([this] { FillTarFormatCombo(); });
    step([this] { SetDefaultZipLevel(); });
    step([this] {
        const double v = suite::GetDouble(keys::kSection, keys::kDesktopRead, QStringLiteral("0"));
        Check1.setValue(v == 1 ? 1 : 0);
    });
    step([this] { suite::applyPointer(*this); });
}

void Form9::SaveClosingValues()
{
    try {
        suite::SaveSetting(keys::kPlayerSection, keys::kPlayerDir, Dir1.Path());
        suite::SaveSetting(keys::kSection, keys::kDesktopWrite,
                           Check1.Value() == 1 ? QStringLiteral("1") : QStringLiteral("0"));
    } catch (const vx::RuntimeError &e) {
        vx::MsgBox(e.description(), vx::vbOKOnly | vx::vbCritical);
    }
}

void Form9::Command1_Click()
{
    SaveClosingValues();
    Unload();
}

void Form9::Form_Unload(int &cancel)
{
    // A library call still runs for one of this window's handlers.
    if (CallInProgress()) {
        cancel = 1;
        return;
    }
    SaveClosingValues();
}

void Form9::DriveChange(int n)
{
    Pane p = pane(n);
    try {
        p.dir->setPath(p.drive->Drive());
    } catch (const vx::RuntimeError &e) {
        vx::MsgBox(e.description(), vx::vbOKOnly);
    }
}

void Form9::DirChange(int n)
{
    Pane p = pane(n);
    try {
        p.file->setPath(p.dir->Path());
    } catch (const vx::RuntimeError &) {
        // The folder vanished meanwhile: the file list keeps its entries.
    }
}

void Form9::PositionLabelClick(int n)
{
    Pane p = pane(n);
    p.dir->Refresh();
    p.file->Refresh();
}

// Options.

void Form9::FillLhaCombos()
{
    lhaHeader_ = {QStringLiteral("-h0 "), QStringLiteral("-h1 "), QStringLiteral("-h2 "), QStringLiteral("-h3 ")};
    lhaMethod_ = {QStringLiteral("-jm0 "), QStringLiteral("-jm1 "), QStringLiteral("-jm2 "),
                  QStringLiteral("-jm3 "), QStringLiteral("-jm4 "), QStringLiteral("-jma ")};
    const auto clickHeader = Combo3.Click;
    const auto clickMethod = Combo2.Click;
    Combo3.Click = nullptr;
    Combo2.Click = nullptr;
    Combo3.Clear();
    for (const char *s : {"h0形式", "h1形式", "h2形式(標準)", "h3形式"})
        Combo3.AddItem(QString::fromUtf8(s));
    Combo3.setListIndex(2);
    Combo2.Clear();
    for (const char *s : {"-lh0-：無圧縮", "-lh1-：LHarc互換", "-lh5-：LHA 2.00互換(標準)", "-lh6-：LHA 2.5x互換",
                          "-lh7-：LHA 2.6x互換", " Auto：データ率により決定"})
        Combo2.AddItem(QString::fromUtf8(s));
    Combo2.setListIndex(2);
    Combo3.Click = clickHeader;
    Combo2.Click = clickMethod;
    lastHeader_ = 2;
    lastMethod_ = 2;
}

void Form9::FillTarFormatCombo()
{
    tarFormat_ = {QString(), QStringLiteral("-z"), QStringLiteral("-B")};
    tarExtension_ = {QStringLiteral(".tar"), QStringLiteral(".tgz"), QStringLiteral(".tbz")};
    Combo1.Clear();
    for (const char *s : {"TAR形式(非圧縮)", "GZIP形式(*.tgz)", "BZIP形式(*.tbz)"})
        Combo1.AddItem(QString::fromUtf8(s));
    Combo1.setListIndex(0);
    HScroll1.setValue(9);
}

void Form9::SetDefaultZipLevel() { HScroll2.setValue(9); }

void Form9::Combo1_Click()
{
    const bool on = Combo1.ListIndex() != 0;
    for (QWidget *w : std::initializer_list<QWidget *>{&HScroll1, &Label1_4, &Label1_5, &Label1_6})
        w->setEnabled(on);
}

void Form9::Combo2_Click()
{
    const int index = Combo2.ListIndex();
    if (index >= 3 && lastMethod_ < 3) {
        const QString name = index == 3 ? QStringLiteral("lh6") : index == 4 ? QStringLiteral("lh7") : QStringLiteral("Auto");
        const int answer = vx::MsgBox(
            QStringLiteral("この圧縮形式は配布が禁止されていますので、通常の圧縮には利用しないことを推奨します。\r\n") + name +
                QStringLiteral("形式を利用しますか？"),
            vx::vbYesNo | vx::vbExclamation, QStringLiteral("Warning"));
        if (answer == vx::vbNo)
            Combo2.setListIndex(lastMethod_);
        return;
    }
    lastMethod_ = index;
}

void Form9::Combo3_Click()
{
    const int index = Combo3.ListIndex();
    if (index == 3 && lastHeader_ != 3) {
        const int answer = vx::MsgBox(
            QStringLiteral("このヘッダ形式は現在開発中のヘッダですので、通常の圧縮には利用しないことを推奨します。\r\nh3形式を利用しますか？"),
            vx::vbYesNo | vx::vbExclamation, QStringLiteral("Warning"));
        if (answer == vx::vbNo)
            Combo3.setListIndex(lastHeader_);
        return;
    }
    lastHeader_ = index;
}

QString Form9::GetLhaOptions(int header, int method) const
{
    if (header < 0 || header > 3 || method < 0 || method > 5)
        vx::raise(vx::err::Subscript);
    return lhaHeader_[header] + lhaMethod_[method];
}

QString Form9::GetZipLevelOption() const { return QStringLiteral(" -%1 ").arg(HScroll2.Value()); }

QString Form9::GetTarOptions(int format) const
{
    if (format < 0 || format > 2)
        vx::raise(vx::err::Subscript);
    if (format == 0)
        return QString();
    return tarFormat_[format] + QString::number(HScroll1.Value());
}

QString Form9::TarExtension() const
{
    const int format = Combo1.ListIndex();
    if (format < 0 || format > 2)
        vx::raise(vx::err::Subscript);
    return tarExtension_[format];
}
