#pragma once
// The archive window: eight panes (LZH, ZIP, CAB, GCA, ARJ, RAR, TAR, YZ1),
// each with drive, folder and file lists, a select button and a drop box;
// extraction through our archiver libraries, compression in five of them.
#include "controls.h"
#include "libraries.h"

#include "platform/dialogs/dialogs.h"
#include "platform/forms/controls.h"
#include "platform/forms/filelists.h"
#include "platform/forms/form.h"
#include "platform/forms/scrollbar.h"

#include <array>

class Form9 : public vx::Form {
    Q_OBJECT
public:
    Form9();

    vx::Placed<vx::Label> Label1_0{{120, 120, 6000, 300}, this, QStringLiteral("Label1(0)"),
                                   QStringLiteral("Cramlet＆Loosel Version4.1")};
    archive::SSTab SSTab1{this, QStringLiteral("SSTab1"),
                          {QStringLiteral("LZH"), QStringLiteral("ZIP"), QStringLiteral("CAB"), QStringLiteral("GCA"),
                           QStringLiteral("ARJ"), QStringLiteral("RAR"), QStringLiteral("TAR"), QStringLiteral("YZ1")}};
    vx::Placed<vx::CheckBox> Check1{{120, 6240, 2400, 300}, this, QStringLiteral("Check1"),
                                    QStringLiteral("デスクトップに解凍")};
    vx::Label Label5{this, QStringLiteral("Label5"),
                     QStringLiteral("通常は処理したファイルは処理ファイルと同じ場所に処理ファイル名と同じ名前で作成されます。")};
    vx::Placed<vx::CommandButton> Command1{{8400, 6900, 1200, 375}, this, QStringLiteral("Command1"),
                                           QStringLiteral("閉じる")};

    // Title labels of the panes.
    vx::Label Label2{this, QStringLiteral("Label2"), QStringLiteral("LZH Cramlet＆Loosel Version3.0"), SSTab1.page(0)};
    vx::Label Label3{this, QStringLiteral("Label3"), QStringLiteral("ZIP Cramlet＆Loosel Version2.7"), SSTab1.page(1)};
    vx::Label Label4{this, QStringLiteral("Label4"), QStringLiteral("CAB Cramlet＆Loosel Version2.5"), SSTab1.page(2)};
    vx::Label Label6{this, QStringLiteral("Label6"), QStringLiteral("GCA Loosel Version1.7"), SSTab1.page(3)};
    vx::Label Label7{this, QStringLiteral("Label7"), QStringLiteral("ARJ Loosel Version1.7"), SSTab1.page(4)};
    vx::Label Label8{this, QStringLiteral("Label8"), QStringLiteral("RAR Loosel Version1.8"), SSTab1.page(5)};
    vx::Label Label9{this, QStringLiteral("Label9"), QStringLiteral("TAR Cramlet＆Loosel Version3.0"), SSTab1.page(6)};
    vx::Label Label10{this, QStringLiteral("Label10"), QStringLiteral("YZ1 Cramlet＆Loosel Version2.5"), SSTab1.page(7)};

#define VX_PANE(N, SEL, VER, POS)                                                                                     \
    vx::Label Label##VER{this, QStringLiteral("Label" #VER), QString(), SSTab1.page(N - 1)};                       \
    vx::DriveListBox Drive##N{this, QStringLiteral("Drive" #N), SSTab1.page(N - 1)};                               \
    vx::DirListBox Dir##N{this, QStringLiteral("Dir" #N), SSTab1.page(N - 1)};                                     \
    vx::FileListBox File##N{this, QStringLiteral("File" #N), SSTab1.page(N - 1)};                                  \
    archive::DropBox Text##N{this, QStringLiteral("Text" #N), SSTab1.page(N - 1)};                                 \
    vx::CommandButton Command##SEL{this, QStringLiteral("Command" #SEL), QString(), SSTab1.page(N - 1)};           \
    vx::CommonDialog CommonDialog##N{this};                                                                         \
    vx::Label Label##POS{this, QStringLiteral("Label" #POS), QString(), SSTab1.page(N - 1)};
    VX_PANE(1, 2, 11, 21)
    VX_PANE(2, 3, 12, 22)
    VX_PANE(3, 4, 13, 23)
    VX_PANE(4, 5, 14, 24)
    VX_PANE(5, 6, 15, 25)
    VX_PANE(6, 7, 16, 26)
    VX_PANE(7, 8, 17, 27)
    VX_PANE(8, 9, 18, 28)
#undef VX_PANE

    // Compression options: LZH header and method, ZIP level, TAR format and level.
    vx::Placed<vx::Label> Label1_7{{3480, 3900, 1320, 255}, this, QStringLiteral("Label1(7)"),
                                   QStringLiteral("ヘッダ形式："), SSTab1.page(0)};
    vx::Placed<vx::ComboBox> Combo3{{4800, 3840, 2400, 300}, this, QStringLiteral("Combo3"), 2, SSTab1.page(0)};
    vx::Placed<vx::Label> Label1_8{{3480, 4320, 1320, 255}, this, QStringLiteral("Label1(8)"),
                                   QStringLiteral("圧縮レベル："), SSTab1.page(0)};
    vx::Placed<vx::ComboBox> Combo2{{4800, 4260, 3000, 300}, this, QStringLiteral("Combo2"), 2, SSTab1.page(0)};
    vx::Placed<vx::Label> Label1_1{{3480, 3900, 1320, 255}, this, QStringLiteral("Label1(1)"),
                                   QStringLiteral("圧縮レベル："), SSTab1.page(1)};
    vx::Placed<vx::Label> Label1_3{{4800, 3900, 300, 255}, this, QStringLiteral("Label1(3)"), QStringLiteral("低"),
                                   SSTab1.page(1)};
    vx::Placed<vx::HScrollBar> HScroll2{{5100, 3900, 2400, 255}, this, QStringLiteral("HScroll2"), Qt::Horizontal,
                                        SSTab1.page(1)};
    vx::Placed<vx::Label> Label1_2{{7560, 3900, 300, 255}, this, QStringLiteral("Label1(2)"), QStringLiteral("高"),
                                   SSTab1.page(1)};
    vx::Placed<vx::Label> Label19{{3480, 3900, 1320, 255}, this, QStringLiteral("Label19"), QStringLiteral("圧縮形式"),
                                  SSTab1.page(6)};
    vx::Placed<vx::ComboBox> Combo1{{4800, 3840, 2400, 300}, this, QStringLiteral("Combo1"), 2, SSTab1.page(6)};
    vx::Placed<vx::Label> Label1_6{{3480, 4320, 1320, 255}, this, QStringLiteral("Label1(6)"),
                                   QStringLiteral("圧縮レベル"), SSTab1.page(6)};
    vx::Placed<vx::Label> Label1_4{{4800, 4320, 300, 255}, this, QStringLiteral("Label1(4)"), QStringLiteral("低"),
                                   SSTab1.page(6)};
    vx::Placed<vx::HScrollBar> HScroll1{{5100, 4320, 2400, 255}, this, QStringLiteral("HScroll1"), Qt::Horizontal,
                                        SSTab1.page(6)};
    vx::Placed<vx::Label> Label1_5{{7560, 4320, 300, 255}, this, QStringLiteral("Label1(5)"), QStringLiteral("高"),
                                   SSTab1.page(6)};

    // "" or "/" after the program's folder.
    QString ProgramFolderSeparator;

    void Form_Load() override;
    void Form_Unload(int &cancel) override;
    Q_SLOT void Command1_Click();

    // Browsing chain of pane n (1 to 8).
    void DriveChange(int n);
    void DirChange(int n);
    void PositionLabelClick(int n);
#define VX_BROWSE(N, POS)                                                                                  \
    void Drive##N##_Change() { DriveChange(N); }                                                             \
    void Dir##N##_Change() { DirChange(N); }                                                                 \
    void Label##POS##_Click() { PositionLabelClick(N); }
    VX_BROWSE(1, 21)
    VX_BROWSE(2, 22)
    VX_BROWSE(3, 23)
    VX_BROWSE(4, 24)
    VX_BROWSE(5, 25)
    VX_BROWSE(6, 26)
    VX_BROWSE(7, 27)
    VX_BROWSE(8, 28)
#undef VX_BROWSE

    // Extraction through the select buttons and the file lists.
    void SelectClick(int n);
    void FileClick(int n);
    void Command2_Click() { SelectClick(1); }
    void Command3_Click() { SelectClick(2); }
    void Command4_Click() { SelectClick(3); }
    void Command5_Click() { SelectClick(4); }
    void Command6_Click() { SelectClick(5); }
    void Command7_Click() { SelectClick(6); }
    void Command8_Click() { SelectClick(7); }
    void Command9_Click() { SelectClick(8); }
    void File1_Click() { FileClick(1); }
    void File2_Click() { FileClick(2); }
    void File3_Click() { FileClick(3); }
    void File4_Click() { FileClick(4); }
    void File5_Click() { FileClick(5); }
    void File6_Click() { FileClick(6); }
    void File7_Click() { FileClick(7); }
    void File8_Click() { FileClick(8); }

    // Drop boxes.
    Q_SLOT void Text1_OLEDragDrop(const QStringList &items);
    Q_SLOT void Text2_OLEDragDrop(const QStringList &items);
    Q_SLOT void Text3_OLEDragDrop(const QStringList &items);
    Q_SLOT void Text4_OLEDragDrop(const QStringList &items);
    Q_SLOT void Text5_OLEDragDrop(const QStringList &items);
    Q_SLOT void Text6_OLEDragDrop(const QStringList &items);
    Q_SLOT void Text7_OLEDragDrop(const QStringList &items);
    Q_SLOT void Text8_OLEDragDrop(const QStringList &items);

    // Options.
    Q_SLOT void Combo1_Click();
    Q_SLOT void Combo2_Click();
    Q_SLOT void Combo3_Click();
    QString GetLhaOptions(int header, int method) const;
    QString GetZipLevelOption() const;
    QString GetTarOptions(int format) const;
    QString TarExtension() const;

    // The extraction destination of archive `a` in pane n: folder d (ending
    // in '/') and base name b. Raises error 5 for a path without '/'.
    void ExtractionDestination(const QString &a, int n, QString &d, QString &b) const;

    // Extraction of one dropped archive in the two-way boxes.
    void ExtractDroppedLzh(const QString &a) { ExtractDropped(1, a); }
    void ExtractDroppedZip(const QString &a) { ExtractDropped(2, a); }
    void ExtractDroppedCab(const QString &a) { ExtractDropped(3, a); }
    void ExtractDroppedTar(const QString &a) { ExtractDropped(7, a); }
    void ExtractDroppedYz1(const QString &a) { ExtractDropped(8, a); }

    // Compression (the drop boxes call them).
    void CompressLzhFolder(QString &d);
    void CompressLzhList(QString &first, const QString &l);
    void CompressLzhFile(QString &a);
    void CompressZipFolder(QString &d);
    void CompressZipList(QString &first, QString &l);
    void CompressZipFile(QString &a);
    void CompressCabFolder(QString &d);
    void CompressCabList(QString &first, const QString &baseFolder, QString &l);
    void CompressCabFile(QString &a);
    void CompressTarFolder(QString &d);
    void CompressTarList(QString &first, const QString &l);
    void CompressTarFile(QString &a);
    void CompressYz1Folder(QString &d);
    void CompressYz1List(QString &first, const QString &baseFolder, const QString &nameList);
    void CompressYz1File(QString &a);

    // The window's own handle as an owner window.
    uint32_t ownHandle() const;

private:
    struct Pane {
        vx::DriveListBox *drive;
        vx::DirListBox *dir;
        vx::FileListBox *file;
        archive::DropBox *text;
        vx::CommandButton *select;
        vx::CommonDialog *dialog;
        vx::Label *version;
        vx::Label *position;
    };
    Pane pane(int n);
    void layoutPanes();
    void wireHandlers();
    void SetVersionLabel(int n);
    void FillLhaCombos();
    void FillTarFormatCombo();
    void SetDefaultZipLevel();
    void SaveClosingValues();
    void ExtractByList(int n, const QString &a, bool fromDialog);

    void ExtractDropped(int n, const QString &a);
    void DropTwoWay(int n, const QStringList &items);
    void RunLzhCompress(QString command, const QString &archivePath);
    void RunTarCompress(const QString &command, const QString &archivePath);
    void RunCompress(archive::Lib lib, const QString &command, const QString &archivePath);
    void RunReplacing(archive::Lib lib, const QString &command, const QString &archivePath, bool replace);

    std::array<QString, 4> lhaHeader_;
    std::array<QString, 6> lhaMethod_;
    std::array<QString, 3> tarFormat_;
    std::array<QString, 3> tarExtension_;
    int lastHeader_ = 2;
    int lastMethod_ = 2;
};
