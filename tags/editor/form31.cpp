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
