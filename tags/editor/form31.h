#pragma once
// The ID3 tag editor: one file's ID3v1/v1.1 or ID3v2.2/2.3 tag in two field
// sets, saved in place (and the player moved on), under another name, or
// removed. Opened by the second media player on its current entry.
#include "platform/dialogs/dialogs.h"
#include "platform/forms/controls.h"
#include "platform/forms/form.h"
#include "platform/forms/menu.h"
#include "platform/imaging/imagebox.h"
#include "tags/id3/id3.h"

namespace tags {
// Before the program ends: when the tag editor holds changes not yet saved,
// asks whether to save them. False when the user cancels or the save failed
// (the program must not end then).
bool confirmEnd();
} // namespace tags

class Form31 : public vx::Form {
    Q_OBJECT
public:
    Form31();

    vx::Placed<vx::ImageBox> Image1{{0, 0, 11280, 7800}, this, QStringLiteral("Image1")};
    vx::Label Label6{this, QStringLiteral("Label6"), QStringLiteral("Multimedia Rondix Ⅱ Tag Editor Ver.1.0β")};
    vx::Placed<vx::Label> Label1{{120, 570, 1100, 255}, this, QStringLiteral("Label1"), QStringLiteral("バージョン")};
    vx::Placed<vx::ComboBox> VersionCombo{{1320, 510, 2000, 330}, this, QStringLiteral("VersionCombo"), 2};

    vx::Placed<vx::Frame> ID3v1Frame{{120, 960, 5265, 2760}, this, QStringLiteral("ID3v1Frame"),
                                     QStringLiteral("ID3v1")};
    vx::Label Label3{this, QStringLiteral("Label3"), QStringLiteral("タイトル"), &ID3v1Frame};
    vx::TextBox TitleText{this, QStringLiteral("TitleText"), false, &ID3v1Frame};
    vx::Label Label2{this, QStringLiteral("Label2"), QStringLiteral("アーティスト"), &ID3v1Frame};
    vx::TextBox ArtistText{this, QStringLiteral("ArtistText"), false, &ID3v1Frame};
    vx::Label Label4{this, QStringLiteral("Label4"), QStringLiteral("アルバム"), &ID3v1Frame};
    vx::TextBox AlbumText{this, QStringLiteral("AlbumText"), false, &ID3v1Frame};
    vx::Label Label5{this, QStringLiteral("Label5"), QStringLiteral("年"), &ID3v1Frame};
    vx::TextBox YearText{this, QStringLiteral("YearText"), false, &ID3v1Frame};
    vx::Placed<vx::Label> TrackLabel{{2400, 1410, 1095, 255}, this, QStringLiteral("TrackLabel"),
                                     QStringLiteral("トラック"), &ID3v1Frame};
    vx::Placed<vx::TextBox> TrackText{{3500, 1380, 600, 300}, this, QStringLiteral("TrackText"), false, &ID3v1Frame};
    vx::Label Label8{this, QStringLiteral("Label8"), QStringLiteral("ジャンル"), &ID3v1Frame};
    vx::ComboBox GenreCombo{this, QStringLiteral("GenreCombo"), 2, &ID3v1Frame};
    vx::Label Label7{this, QStringLiteral("Label7"), QStringLiteral("コメント"), &ID3v1Frame};
    vx::TextBox CommentText{this, QStringLiteral("CommentText"), false, &ID3v1Frame};

    vx::Placed<vx::Frame> ID3v2Frame{{5520, 120, 5640, 7560}, this, QStringLiteral("ID3v2Frame"),
                                     QStringLiteral("ID3v2")};
    vx::Label Label10{this, QStringLiteral("Label10"), QStringLiteral("シリーズ"), &ID3v2Frame};
    vx::TextBox SeriesText{this, QStringLiteral("SeriesText"), false, &ID3v2Frame};
    vx::Label Label11{this, QStringLiteral("Label11"), QStringLiteral("タイトル"), &ID3v2Frame};
    vx::TextBox TitleText2{this, QStringLiteral("TitleText2"), false, &ID3v2Frame};
    vx::Label Label12{this, QStringLiteral("Label12"), QStringLiteral("サブタイトル"), &ID3v2Frame};
    vx::TextBox SubtitleText{this, QStringLiteral("SubtitleText"), false, &ID3v2Frame};
    vx::Label Label13{this, QStringLiteral("Label13"), QStringLiteral("主なアーティストソリスト"), &ID3v2Frame};
    vx::TextBox PerformerText{this, QStringLiteral("PerformerText"), false, &ID3v2Frame};
    vx::Label Label14{this, QStringLiteral("Label14"), QStringLiteral("バンド　　　　　オーケストラ"), &ID3v2Frame};
    vx::TextBox BandText{this, QStringLiteral("BandText"), false, &ID3v2Frame};
    vx::Label Label15{this, QStringLiteral("Label15"), QStringLiteral("指揮者"), &ID3v2Frame};
    vx::TextBox Conductortext{this, QStringLiteral("Conductortext"), false, &ID3v2Frame};
    vx::Label Label16{this, QStringLiteral("Label16"), QStringLiteral("リミックス"), &ID3v2Frame};
    vx::TextBox RemixText{this, QStringLiteral("RemixText"), false, &ID3v2Frame};
    vx::Label Label17{this, QStringLiteral("Label17"), QStringLiteral("アルバム"), &ID3v2Frame};
    vx::TextBox AlbumText2{this, QStringLiteral("AlbumText2"), false, &ID3v2Frame};
    vx::Label Label18{this, QStringLiteral("Label18"), QStringLiteral("トラック"), &ID3v2Frame};
    vx::TextBox TrackText2{this, QStringLiteral("TrackText2"), false, &ID3v2Frame};
    vx::Placed<vx::TextBox> TrackText3{{3600, 3420, 900, 300}, this, QStringLiteral("TrackText3"), false, &ID3v2Frame};
    vx::Label Label21{this, QStringLiteral("Label21"), QStringLiteral("年"), &ID3v2Frame};
    vx::TextBox YearText2{this, QStringLiteral("YearText2"), false, &ID3v2Frame};
    vx::Label Label19{this, QStringLiteral("Label19"), QStringLiteral("ジャンル"), &ID3v2Frame};
    vx::TextBox GenreText{this, QStringLiteral("GenreText"), false, &ID3v2Frame};
    vx::Label Label20{this, QStringLiteral("Label20"), QStringLiteral("コメント"), &ID3v2Frame};
    vx::TextBox CommentText2{this, QStringLiteral("CommentText2"), false, &ID3v2Frame};
    vx::Placed<vx::TextBox> CommentText3{{2580, 4860, 2940, 1140}, this, QStringLiteral("CommentText3"), true,
                                         &ID3v2Frame};
    vx::CheckBox UnsynchronisationCheck{this, QStringLiteral("UnsynchronisationCheck"), QStringLiteral("非同期化"),
                                        &ID3v2Frame};
    vx::Placed<vx::CheckBox> CompressCheck{{2880, 6120, 2600, 300}, this, QStringLiteral("CompressCheck"),
                                           QStringLiteral("フレームの圧縮"), &ID3v2Frame};
    vx::Placed<vx::Frame> EncodingFrame{{120, 6480, 5400, 900}, this, QStringLiteral("EncodingFrame"),
                                        QStringLiteral("エンコード"), &ID3v2Frame};
    vx::OptionButton OptionUnicode{this, QStringLiteral("OptionUnicode"), QStringLiteral("Unicode(ISO10646-1)"),
                                   &EncodingFrame};
    vx::OptionButton OptionLatin{this, QStringLiteral("OptionLatin"), QStringLiteral("Latin1(ISO8859-1)"),
                                 &EncodingFrame};

    vx::Placed<vx::Label> Label9{{120, 3840, 1095, 255}, this, QStringLiteral("Label9"), QStringLiteral("ファイル")};
    vx::Placed<vx::Label> FileNameText{{120, 4140, 5265, 1000}, this, QStringLiteral("FileNameText")};
    vx::Placed<vx::CommandButton> Command2{{120, 5280, 2580, 450}, this, QStringLiteral("Command2"),
                                           QStringLiteral("編集内容を保存")};
    vx::Placed<vx::CommandButton> Command1{{2805, 5280, 2580, 450}, this, QStringLiteral("Command1"),
                                           QStringLiteral("閉じる")};
    vx::CommonDialog CommonDialog1{this};

    vx::Menu File{this, QStringLiteral("File"), QStringLiteral("ファイル")};
    vx::Menu Open{&File, QStringLiteral("Open"), QStringLiteral("開く...")};
    vx::Menu FileSave{&File, QStringLiteral("FileSave"), QStringLiteral("保存")};
    vx::Menu FileSep1{&File, QStringLiteral("FileSep1"), QStringLiteral("-")};
    vx::Menu FileSaveAs{&File, QStringLiteral("FileSaveAs"), QStringLiteral("名前をつけて保存...")};
    vx::Menu FileSep2{&File, QStringLiteral("FileSep2"), QStringLiteral("-")};
    vx::Menu Quit{&File, QStringLiteral("Quit"), QStringLiteral("終了")};
    vx::Menu Edit{this, QStringLiteral("Edit"), QStringLiteral("編集")};
    vx::Menu Cut{&Edit, QStringLiteral("Cut"), QStringLiteral("切り取り")};
    vx::Menu Copy{&Edit, QStringLiteral("Copy"), QStringLiteral("コピー")};
    vx::Menu Paste{&Edit, QStringLiteral("Paste"), QStringLiteral("貼り付け")};

    // Window state: the file being edited, its tag kind (as loaded or last
    // saved) and the position of its first audio byte (never below 1).
    QString CurrentFile;
    int CurrentTagKind = 4;
    qint64 AudioStart = 1;

    // Writes the boxes' tag of `version` to target (from source); returns the
    // audio start of the saved file. Raises vx::RuntimeError on failure.
    qint64 SaveID3Tag(const QString &target, const QString &source, int version, int currentKind,
                      qint64 audioStart);

    void Form_Load() override;
    void Form_QueryUnload(int &cancel, int unloadMode) override;
    void VersionCombo_Click();
    void TitleText_Change() { limitBytes(TitleText); }
    void ArtistText_Change() { limitBytes(ArtistText); }
    void AlbumText_Change() { limitBytes(AlbumText); }
    void CommentText_Change() { limitBytes(CommentText); }
    Q_SLOT void Command2_Click();
    Q_SLOT void Command1_Click();
    Q_SLOT void FileSave_Click();
    Q_SLOT void FileSaveAs_Click();
    Q_SLOT void Open_Click();
    Q_SLOT void Quit_Click();
    Q_SLOT void Cut_Click();
    Q_SLOT void Copy_Click();
    Q_SLOT void Paste_Click();

    // A change to any field, the version or an option since the file was
    // loaded or last saved.
    bool HasUnsavedChanges() const { return !CurrentFile.isEmpty() && modified_; }
    // Saves in place as the save menu command does; false (after saying why) when it failed.
    bool SaveCurrentFile() { return save(CurrentFile); }
    // With unsaved edits, asks whether to save them: true when they are saved
    // or not wanted, false when the user cancels or the save failed.
    bool AskToSave();

    // The genre list, item index = ID3v1 genre number.
    static const QStringList &genres();

private:
    void layout();
    void wire();
    void loadFile(const QString &file);
    void clearBoxes();
    // Saves to target; false (after saying why) when it failed or the user
    // declined.
    bool save(const QString &target);
    bool readyToSave(const QString &target, int version);
    // The ID3v2 fields as the boxes hold them; the year as typed, its value
    // only when `checkYear` (else the loose number).
    ID3Module::ID3v2TagRecord v2FromBoxes(bool checkYear) const;
    void fillV1(const ID3Module::ID3v1TagRecord &v1, const QByteArray &block);
    bool write(const QString &target, int version);
    static void limitBytes(vx::TextBox &box);

    // The genre byte of the loaded ID3v1 block, written back when the list
    // could not show it and the user chose none.
    quint8 loadedGenre_ = 0;
    bool modified_ = false;
    // What a save in place would drop of a tag this window could not read
    // (a later version, a damaged one): said before it goes. Whether an ID3v1
    // block follows the audio behind that tag.
    QString lossWarning_;
    bool v1BehindTag_ = false;
    // The ID3v2 fields as the file's tag has them (as loaded or last saved):
    // a field still equal keeps its frame as it is.
    ID3Module::ID3v2TagRecord shownV2_;
};
