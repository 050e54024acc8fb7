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

#include <algorithm>
#include <optional>

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
    QByteArray block; // the ID3v1 block behind the audio, if any
    int encoding = -1;
    try {
        kind = DetectTagType(file);
        if (kind == KindV1) {
            v1 = ReadID3v1Tag(file);
            block = ReadID3v1Bytes(file, 1);
        } else if (kind == KindV22) {
            v2 = ReadID3v2Tag(file, &extent);
            const qint64 start = extent.AudioStart > 0 ? extent.AudioStart : qint64(v2.TagSize) + 11;
            block = ReadID3v1Bytes(file, start);
            if (!block.isEmpty())
                v1 = ReadID3v1Tag(file);
            encoding = TagTextEncoding(file, start);
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
    v1BehindTag_ = false;
    if (kind == KindV1) {
        CurrentTagKind = v1.IsV11 ? KindV11 : KindV1;
        AudioStart = 1;
        VersionCombo.setListIndex(CurrentTagKind);
        fillV1(v1, block);
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
        v1BehindTag_ = !block.isEmpty();
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
        // No frame, no year; a year the record cannot hold, or text with no
        // number, is shown as written, never as 0 that a save would keep.
        const QString year = v2.YearText.trimmed();
        const bool number = NumericValue(v2.YearText) == v2.Year &&
                            (v2.Year != 0 || std::any_of(year.begin(), year.end(), [](QChar c) { return c.isDigit(); }));
        YearText2.setText(year.isEmpty() || !number ? year : QString::number(v2.Year));
        CommentText2.setText(v2.CommentDescription);
        CommentText3.setText(v2.CommentBody);
        UnsynchronisationCheck.setValue(v2.Unsynchronisation ? 1 : 0);
        // Edits are written in the encoding the tag's texts have.
        if (encoding == 1)
            OptionUnicode.setValue(true);
        else if (encoding == 0)
            OptionLatin.setValue(true);
        if (!block.isEmpty())
            fillV1(v1, block);
    } else {
        CurrentTagKind = KindNone;
        AudioStart = 1;
        VersionCombo.setListIndex(KindNone);
    }
    shownV2_ = v2FromBoxes(false);
    modified_ = false;
}

// The ID3v1 boxes from a block; a year field with no digit (blank) shows
// empty, so that a save keeps it blank.
void Form31::fillV1(const ID3v1TagRecord &v1, const QByteArray &block)
{
    TitleText.setText(v1.Title);
    ArtistText.setText(v1.Artist);
    AlbumText.setText(v1.Album);
    TrackText.setText(QString::number(v1.Track));
    const QByteArray year = block.mid(93, 4);
    const bool blank = v1.Year == 0 && std::none_of(year.begin(), year.end(), [](char c) { return c >= '0' && c <= '9'; });
    YearText.setText(blank ? QString() : QString::number(v1.Year));
    // Genres past the list (255 is common) show none and are kept as they were.
    loadedGenre_ = v1.Genre;
    GenreCombo.setListIndex(v1.Genre < GenreCombo.ListCount() ? v1.Genre : -1);
    CommentText.setText(v1.Comment);
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

// The year a box holds, as far as a tag can hold it: none for an empty box,
// else digits (full-width ones, as a Japanese input method types them, too)
// for 0 to 9999. Anything else is no year and refused.
std::optional<qint16> yearOf(const QString &typed)
{
    const QString text = typed.trimmed();
    if (text.isEmpty())
        return std::nullopt;
    int year = 0;
    bool digits = true;
    for (QChar c : text) {
        const char16_t u = c.unicode();
        const int d = u >= u'0' && u <= u'9' ? u - u'0' : u >= u'０' && u <= u'９' ? u - u'０' : -1;
        if (d < 0) {
            digits = false;
            break;
        }
        year = std::min(year * 10 + d, 10000);
    }
    if (!digits)
        throw vx::RuntimeError(vx::err::TypeMismatch,
                               QStringLiteral("年「%1」は年として読めません。0 から 9999 までの数を数字で入力してください。")
                                   .arg(typed));
    if (year > 9999)
        throw vx::RuntimeError(vx::err::Overflow,
                               QStringLiteral("年「%1」はタグに書けません。0 から 9999 までの数を入力してください。")
                                   .arg(typed));
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

ID3v2TagRecord Form31::v2FromBoxes(bool checkYear) const
{
    ID3v2TagRecord r;
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
    r.YearText = YearText2.Text();
    r.Year = checkYear ? yearOf(r.YearText).value_or(0) : NumericValue16(r.YearText);
    r.CommentDescription = CommentText2.Text();
    r.CommentBody = CommentText3.Text();
    return r;
}

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
        const std::optional<qint16> year = yearOf(YearText.Text());
        r.Year = year.value_or(0);
        r.NoYear = !year;
        WriteID3v1Tag(target, source, version == KindV11, currentKind, r, audioStart);
        return audioStart; // an ID3v2 tag before the audio stays
    }
    case KindV22:
    case KindV23: {
        // A year left as it was is not checked: its frame stays as it is.
        ID3v2TagRecord r = v2FromBoxes(YearText2.Text() != shownV2_.YearText);
        r.MajorVersion = static_cast<quint8>(version);
        r.Revision = 0;
        r.Unsynchronisation = UnsynchronisationCheck.Value() == 1;
        r.Compression = CompressCheck.Value() == 1;
        r.Encoding = OptionUnicode.Value() ? 1 : 0;
        return WriteID3v2Tag(target, source, r, audioStart, &shownV2_);
    }
    case KindNone:
        RemoveTag(target, source, audioStart);
        return 1;
    default:
        vx::raise(vx::err::InvalidCall);
    }
}

// What must hold before anything moves: a year the tag can take, and the
// user's word before anything the boxes do not show goes: a tag this window
// could not read (wholly), frames another version has no place for.
bool Form31::readyToSave(const QString &target, int version)
{
    const bool v2 = version == KindV22 || version == KindV23;
    QStringList lost;
    try {
        if (version == KindV1 || version == KindV11)
            yearOf(YearText.Text());
        else if (v2 && YearText2.Text() != shownV2_.YearText)
            yearOf(YearText2.Text());
        if (v2 || version == KindNone) {
            ID3v2TagRecord r = v2FromBoxes(false);
            r.MajorVersion = static_cast<quint8>(v2 ? version : 0);
            r.Encoding = OptionUnicode.Value() ? 1 : 0;
            lost = PlanID3v2Tag(CurrentFile, std::max<qint64>(AudioStart, 1), r, &shownV2_).lost;
        }
    } catch (const vx::RuntimeError &e) {
        tellSaveFailed(e);
        return false;
    }
    QString text;
    if (!lossWarning_.isEmpty() && sameFile(target, CurrentFile) && (v2 || version == KindNone))
        text = lossWarning_;
    if (!lost.isEmpty()) {
        lost.removeDuplicates();
        if (!text.isEmpty())
            text += QLatin1Char('\n');
        text += (v2 ? QStringLiteral("ID3v2.%1 タグには入らないため、次の情報は保存されません。\n").arg(version)
                    : QStringLiteral("タグを削除すると、画面に表示されていない次の情報も失われます。\n")) +
                lost.join(QStringLiteral("、"));
    }
    if (text.isEmpty())
        return true;
    if (v1BehindTag_ && version == KindNone)
        text += QStringLiteral("\nファイルの末尾の ID3v1 タグも削除されます。");
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
    if (version == KindV22 || version == KindV23) {
        shownV2_ = v2FromBoxes(false);
        lossWarning_.clear(); // replaced
    } else if (version == KindNone) {
        shownV2_ = ID3v2TagRecord(); // no tag: every box that holds text is new
        lossWarning_.clear();
        v1BehindTag_ = false;
    } else {
        v1BehindTag_ = AudioStart > 1; // the ID3v2 tag and what was said of it stay
    }
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
