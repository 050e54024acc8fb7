// Loading a file into the boxes: the tag kind, the audio start and what a save
// would lose are settled here; the boxes follow.
#include "form31.h"

#include "tags/id3/id3.h"
#include "platform/core/errors.h"

#include <algorithm>

using namespace ID3Module;

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
