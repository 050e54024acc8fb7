#include "form31.h"

#include "player.h"
#include "suite/ending.h"
#include "suite/settings.h"
#include "tags/id3/id3.h"
#include "tags/keys.h"
#include "platform/core/convert.h"
#include "platform/core/errors.h"
#include "platform/imaging/picture.h"
#include "platform/system/system.h"

#include <QApplication>
#include <QFileInfo>
#include <QLineEdit>
#include <QPlainTextEdit>

using namespace ID3Module;

bool tags::confirmEnd()
{
    if (!vx::isLoaded<Form31>())
        return true;
    return vx::instance<Form31>().AskToSave();
}

bool Form31::AskToSave()
{
    if (!HasUnsavedChanges())
        return true;
    switch (vx::MsgBox(QStringLiteral("変更を保存しますか?"), vx::vbYesNoCancel)) {
    case vx::vbYes: return SaveCurrentFile();
    case vx::vbNo: return true;
    default: return false;
    }
}

// The close button, the close box and any other unload: edits are not lost
// without the question the program's end asks.
void Form31::Form_QueryUnload(int &cancel, int)
{
    if (!AskToSave())
        cancel = 1;
}

void Form31::Form_Load()
{
    suite::applyPointer(*this);
    // A missing or broken skin costs only the skin.
    try {
        const QString skin = suite::GetSetting(tags::keys::kPlayerSection, tags::keys::kSkin,
                                               vx::joinPath(vx::AppPath(), tags::keys::kDefaultSkinFile));
        Image1.setPicture(vx::LoadPicture(skin));
    } catch (const vx::RuntimeError &) {
    }
    VersionCombo.setListIndex(KindV1);
    if (tags::TagPlayer *p = tags::player()) {
        try {
            const QString entry = p->fileName();
            CommonDialog1.FileName = entry.isEmpty() ? QString() : vx::joinPath(p->folderPath(), entry);
        } catch (const vx::RuntimeError &) {
            CommonDialog1.FileName.clear();
        }
    }
    if (!CommonDialog1.FileName.isEmpty())
        loadFile(CommonDialog1.FileName);
    modified_ = false;
}

void Form31::clearBoxes()
{
    for (vx::TextBox *box : std::initializer_list<vx::TextBox *>{&TitleText, &ArtistText, &AlbumText, &YearText, &TrackText, &CommentText, &SeriesText,
                             &TitleText2, &SubtitleText, &PerformerText, &BandText, &Conductortext, &RemixText,
                             &AlbumText2, &TrackText2, &TrackText3, &YearText2, &GenreText, &CommentText2,
                             &CommentText3})
        box->setText(QString());
    GenreCombo.setListIndex(0);
    loadedGenre_ = 0;
}

// The file steps: the kind and audio start are settled from the file before
// any box is filled, so a read that fails part-way cannot leave the previous
// file's values to cut the next save's audio.
void Form31::loadFile(const QString &file)
{
    clearBoxes();
    int kind;
    ID3v1TagRecord v1;
    ID3v2TagRecord v2;
    ID3v2Extent extent;
    bool v1Behind = false;
    try {
        kind = DetectTagType(file);
        if (kind == KindV1)
            v1 = ReadID3v1Tag(file);
        else if (kind == KindV22) {
            v2 = ReadID3v2Tag(file, &extent);
            v1Behind = HasID3v1Block(file);
        }
    } catch (const vx::RuntimeError &e) {
        CurrentFile.clear();
        FileNameText.setCaption(QString());
        modified_ = false;
        vx::MsgBox(QStringLiteral("ファイルを読み込めませんでした。\n") + e.description(), vx::vbExclamation);
        return;
    }
    CurrentFile = file;
    FileNameText.setCaption(file);
    lossWarning_.clear();
    if (kind == KindV1) {
        CurrentTagKind = v1.IsV11 ? KindV11 : KindV1;
        AudioStart = 1;
        VersionCombo.setListIndex(CurrentTagKind);
        TitleText.setText(v1.Title);
        ArtistText.setText(v1.Artist);
        AlbumText.setText(v1.Album);
        TrackText.setText(QString::number(v1.Track));
        YearText.setText(QString::number(v1.Year));
        // Genres past the list (255 is common) show none and are kept as they were.
        loadedGenre_ = v1.Genre;
        GenreCombo.setListIndex(v1.Genre < GenreCombo.ListCount() ? v1.Genre : -1);
        CommentText.setText(v1.Comment);
    } else if (kind == KindV22) {
        // Versions the list cannot write (later ones keep only their header) load as "no tag".
        const bool known = v2.MajorVersion == KindV22 || v2.MajorVersion == KindV23;
        CurrentTagKind = known ? int(v2.MajorVersion) : int(KindNone);
        const QString name = QStringLiteral("ID3v2.%1").arg(v2.MajorVersion);
        if (!known)
            lossWarning_ = QStringLiteral("このファイルには、このエディタでは読めない %1 タグがあります。\n"
                                          "保存すると、そのタグは削除されます。")
                               .arg(name);
        else if (!extent.Whole && extent.AudioStart > 0) // else every save is refused
            lossWarning_ = QStringLiteral("このファイルの %1 タグは壊れていて、一部しか読めませんでした。\n"
                                          "保存すると、読めなかった部分は失われます。")
                               .arg(name);
        v1BehindTag_ = v1Behind;
        // Unknown (a size past the file's end, no audio found): left past the
        // end, where the writer refuses to copy nothing.
        AudioStart = extent.AudioStart > 0 ? extent.AudioStart : qint64(v2.TagSize) + 11;
        VersionCombo.setListIndex(CurrentTagKind);
        SeriesText.setText(v2.Series);
        TitleText2.setText(v2.Title);
        SubtitleText.setText(v2.Subtitle);
        PerformerText.setText(v2.Performer);
        BandText.setText(v2.Band);
        Conductortext.setText(v2.Conductor);
        RemixText.setText(v2.Remixer);
        GenreText.setText(v2.Genre);
        AlbumText2.setText(v2.Album);
        const qsizetype slash = v2.Track.indexOf(QLatin1Char('/'));
        if (slash >= 1) {
            TrackText2.setText(v2.Track.left(slash));
            TrackText3.setText(v2.Track.mid(slash + 1));
        } else {
            TrackText2.setText(v2.Track);
        }
        // A year the record cannot hold is shown as written, never as 0 that a save would keep.
        YearText2.setText(NumericValue(v2.YearText) == v2.Year ? QString::number(v2.Year) : v2.YearText.trimmed());
        CommentText2.setText(v2.CommentDescription);
        CommentText3.setText(v2.CommentBody);
        UnsynchronisationCheck.setValue(v2.Unsynchronisation ? 1 : 0);
    } else {
        CurrentTagKind = KindNone;
        AudioStart = 1;
        VersionCombo.setListIndex(KindNone);
    }
    modified_ = false;
}

// Enabled, not visible: both sets stay in sight, the one that will not be
// written is greyed.
void Form31::VersionCombo_Click()
{
    const int index = VersionCombo.ListIndex();
    if (index == KindV1 || index == KindV11) {
        ID3v1Frame.setEnabled(true);
        ID3v2Frame.setEnabled(false);
    } else if (index == KindV22 || index == KindV23) {
        ID3v1Frame.setEnabled(false);
        ID3v2Frame.setEnabled(true);
    }
}

void Form31::limitBytes(vx::TextBox &box)
{
    const QString text = box.Text();
    if (CodePageLength(text) <= 30)
        return;
    QString cut = text;
    cut.chop(cut.size() >= 2 && cut.at(cut.size() - 1).isLowSurrogate() ? 2 : 1);
    box.setText(cut); // runs this again until the text fits
    box.setSelStart(static_cast<int>(box.Text().size()));
}

namespace {

// The year a box holds, as far as a tag can hold it: four digits.
qint16 yearOf(const vx::TextBox &box)
{
    const double year = NumericValue(box.Text());
    if (year < 0 || year > 9999)
        throw vx::RuntimeError(vx::err::Overflow,
                               QStringLiteral("年「%1」はタグに書けません。0 から 9999 までの数を入力してください。")
                                   .arg(box.Text()));
    return static_cast<qint16>(year);
}

void tellSaveFailed(const vx::RuntimeError &e)
{
    vx::MsgBox(QStringLiteral("タグを保存できませんでした。ファイルは元のままです。\n") + e.description(),
               vx::vbExclamation);
}

bool sameFile(const QString &a, const QString &b)
{
    if (a == b)
        return true;
    const QString ca = QFileInfo(a).canonicalFilePath();
    return !ca.isEmpty() && ca == QFileInfo(b).canonicalFilePath();
}

} // namespace

qint64 Form31::SaveID3Tag(const QString &target, const QString &source, int version, int currentKind,
                          qint64 audioStart)
{
    if (source.isEmpty() || target.isEmpty())
        vx::raise(vx::err::BadFileName, QStringLiteral("編集中のファイルがありません。"));
    audioStart = std::max<qint64>(audioStart, 1);
    switch (version) {
    case KindV1:
    case KindV11: {
        ID3v1TagRecord r;
        r.Title = TitleText.Text();
        r.Artist = ArtistText.Text();
        r.Album = AlbumText.Text();
        r.Comment = CommentText.Text();
        const int genre = GenreCombo.ListIndex();
        r.Genre = genre >= 0 ? static_cast<quint8>(genre) : loadedGenre_;
        r.Track = NumericValue16(TrackText.Text());
        r.Year = yearOf(YearText);
        WriteID3v1Tag(target, source, version == KindV11, currentKind, r, audioStart);
        return 1;
    }
    case KindV22:
    case KindV23: {
        ID3v2TagRecord r;
        r.MajorVersion = static_cast<quint8>(version);
        r.Revision = 0;
        r.Series = SeriesText.Text();
        r.Title = TitleText2.Text();
        r.Subtitle = SubtitleText.Text();
        r.Performer = PerformerText.Text();
        r.Band = BandText.Text();
        r.Conductor = Conductortext.Text();
        r.Remixer = RemixText.Text();
        r.Album = AlbumText2.Text();
        r.Genre = GenreText.Text();
        r.Track = TrackText3.Text().isEmpty() ? TrackText2.Text()
                                              : TrackText2.Text() + QLatin1Char('/') + TrackText3.Text();
        r.Year = yearOf(YearText2);
        r.CommentDescription = CommentText2.Text();
        r.CommentBody = CommentText3.Text();
        r.Unsynchronisation = UnsynchronisationCheck.Value() == 1;
        r.Compression = CompressCheck.Value() == 1;
        r.Encoding = OptionUnicode.Value() ? 1 : 0;
        return WriteID3v2Tag(target, source, r, audioStart);
    }
    case KindNone:
        RemoveTag(target, source, audioStart);
        return 1;
    default:
        vx::raise(vx::err::InvalidCall);
    }
}

// What must hold before anything moves: a year the tag can take, and the
// user's word before a tag this window could not read (wholly) goes.
bool Form31::readyToSave(const QString &target, int version)
{
    try {
        if (version == KindV1 || version == KindV11)
            yearOf(YearText);
        else if (version == KindV22 || version == KindV23)
            yearOf(YearText2);
    } catch (const vx::RuntimeError &e) {
        tellSaveFailed(e);
        return false;
    }
    if (lossWarning_.isEmpty() || !sameFile(target, CurrentFile))
        return true;
    QString text = lossWarning_;
    if (v1BehindTag_)
        text += version == KindV1 || version == KindV11
                    ? QStringLiteral("\nファイルの末尾の ID3v1 タグは、ここで入力した内容に置き換わります。")
                    : QStringLiteral("\nファイルの末尾の ID3v1 タグも削除されます。");
    text += QStringLiteral("\n保存しますか?");
    return vx::MsgBox(text, vx::vbYesNo | vx::vbExclamation) == vx::vbYes;
}

bool Form31::write(const QString &target, int version)
{
    try {
        AudioStart = SaveID3Tag(target, CurrentFile, version, CurrentTagKind, AudioStart);
    } catch (const vx::RuntimeError &e) {
        tellSaveFailed(e);
        return false;
    }
    CurrentTagKind = version;
    modified_ = false;
    lossWarning_.clear(); // replaced in place, or the file saved to has none
    return true;
}

bool Form31::save(const QString &target)
{
    const int version = VersionCombo.ListIndex();
    return readyToSave(target, version) && write(target, version);
}

// Save and close: the player moves off the edited file to the next entry (when
// there is one) before the file is rewritten, once nothing stands in the way.
void Form31::Command2_Click()
{
    const int version = VersionCombo.ListIndex();
    if (!readyToSave(CurrentFile, version))
        return;
    if (tags::TagPlayer *p = tags::player()) {
        try {
            p->setStatusText(QString());
            const int next = p->listIndex() + 1;
            if (next >= 0 && next < p->listCount()) {
                p->setListIndex(next);
                if (next == p->listCount() - 1) {
                    p->setNextEnabled(false);
                } else {
                    p->setNextEnabled(true);
                    p->setListsEnabled(true);
                    p->stop();
                    p->setMediaFileName(vx::joinPath(p->folderPath(), p->fileName()));
                    const std::optional<double> rate = vx::toDouble(p->playSpeedText());
                    if (!rate)
                        vx::raise(vx::err::TypeMismatch);
                    p->setRate(*rate);
                    QString info = p->mediaInfoString(8) + QStringLiteral(" / ") + p->mediaInfoString(9);
                    if (info == QLatin1String(" / "))
                        info = p->fileName();
                    p->setStatusText(info);
                    p->play();
                }
            }
        } catch (const vx::RuntimeError &) {
            // The player's trouble is the player's: the edit is still saved.
        }
    }
    if (write(CurrentFile, version))
        Unload();
}

void Form31::Command1_Click()
{
    Unload();
}

void Form31::FileSave_Click()
{
    save(CurrentFile);
}

void Form31::FileSaveAs_Click()
{
    CommonDialog1.FileName = CurrentFile;
    CommonDialog1.Filter.clear();
    if (!CommonDialog1.ShowSave() || CommonDialog1.FileName.isEmpty())
        return;
    const QString target = CommonDialog1.FileName;
    if (!save(target))
        return;
    CurrentFile = target;
    FileNameText.setCaption(target);
}

void Form31::Open_Click()
{
    CommonDialog1.FileName = CurrentFile;
    CommonDialog1.Filter.clear();
    if (!CommonDialog1.ShowOpen() || CommonDialog1.FileName.isEmpty())
        return;
    loadFile(CommonDialog1.FileName);
}

// The whole program ends, once every tool with unsaved work agreed (this
// window's own edits included).
void Form31::Quit_Click()
{
    if (!suite::toolsAgreeToEnd())
        return;
    vx::End();
}

namespace {

// The text box that has the keyboard, if any.
template <class F>
void onFocusedBox(F &&f)
{
    QWidget *w = QApplication::focusWidget();
    if (auto *line = qobject_cast<QLineEdit *>(w))
        f(line);
    else if (auto *plain = qobject_cast<QPlainTextEdit *>(w))
        f(plain);
}

} // namespace

void Form31::Cut_Click()
{
    onFocusedBox([](auto *box) { box->cut(); });
}

void Form31::Copy_Click()
{
    onFocusedBox([](auto *box) { box->copy(); });
}

void Form31::Paste_Click()
{
    onFocusedBox([](auto *box) { box->paste(); });
}
