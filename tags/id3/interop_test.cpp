// Our tags read by TagLib and mutagen, and theirs (saved as ID3v2.3) read by ours.
#include "fixture_test.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>

#include <taglib/attachedpictureframe.h>
#include <taglib/commentsframe.h>
#include <taglib/id3v1tag.h>
#include <taglib/id3v2framefactory.h>
#include <taglib/id3v2tag.h>
#include <taglib/mpegfile.h>
#include <taglib/privateframe.h>
#include <taglib/textidentificationframe.h>
#include <taglib/unsynchronizedlyricsframe.h>

using namespace ID3Module;
using namespace id3test;

namespace {

class InteropTest : public Files {};

// Debian's own interpreter: the packaged mutagen lives there.
const QString kPython = QStringLiteral("/usr/bin/python3");

QString fromTag(const TagLib::String &s)
{
    return QString::fromStdWString(s.toWString());
}

TagLib::String toTag(const QString &s)
{
    return TagLib::String(s.toStdWString());
}

QString frameText(TagLib::ID3v2::Tag *tag, const char *id)
{
    const TagLib::ID3v2::FrameList &list = tag->frameListMap()[id];
    return list.isEmpty() ? QString() : fromTag(list.front()->toString());
}

// One JSON object per file: the frames as mutagen reads them.
QJsonObject mutagenRead(const QString &file)
{
    static const char *script = R"(
import json, sys
from mutagen.id3 import ID3, ParseID3v1, ID3NoHeaderError
p = sys.argv[1]
out = {}
try:
    t = ID3(p, load_v1=False)
    out['version'] = t.version[1]
    frames = t
except ID3NoHeaderError:
    with open(p, 'rb') as f:
        f.seek(-128, 2)
        frames = ParseID3v1(f.read(128))
for k in ['TIT1', 'TIT2', 'TIT3', 'TPE1', 'TPE2', 'TPE3', 'TPE4', 'TALB', 'TRCK', 'TCON']:
    if k in frames:
        out[k] = str(frames[k].text[0])
if 'TDRC' in frames:
    out['year'] = str(frames['TDRC'].text[0])
comms = [v for k, v in frames.items() if k.startswith('COMM')]
if comms:
    out['COMM.desc'] = comms[0].desc
    out['COMM'] = comms[0].text[0] if comms[0].text else ''
print(json.dumps(out))
)";
    QProcess py;
    py.start(kPython, {QStringLiteral("-c"), QString::fromUtf8(script), file});
    EXPECT_TRUE(py.waitForFinished(20000));
    EXPECT_EQ(py.exitCode(), 0) << py.readAllStandardError().toStdString();
    return QJsonDocument::fromJson(py.readAllStandardOutput()).object();
}

void mutagenWrite(const QString &file, int encoding, const QJsonObject &frames)
{
    static const char *script = R"(
import json, sys
from mutagen.id3 import ID3, COMM, Frames
p, enc, frames = sys.argv[1], int(sys.argv[2]), json.loads(sys.argv[3])
t = ID3()
for k, v in frames.items():
    if k == 'COMM':
        t.add(COMM(encoding=enc, lang='jpn', desc=v[0], text=[v[1]]))
    else:
        t.add(Frames[k](encoding=enc, text=[v]))
t.save(p, v2_version=3)
)";
    QProcess py;
    py.start(kPython,
             {QStringLiteral("-c"), QString::fromUtf8(script), file, QString::number(encoding),
              QString::fromUtf8(QJsonDocument(frames).toJson(QJsonDocument::Compact))});
    EXPECT_TRUE(py.waitForFinished(20000));
    EXPECT_EQ(py.exitCode(), 0) << py.readAllStandardError().toStdString();
}

ID3v2TagRecord sample(int major, int encoding, bool unsync)
{
    ID3v2TagRecord r;
    r.MajorVersion = static_cast<quint8>(major);
    r.Encoding = static_cast<quint8>(encoding);
    r.Unsynchronisation = unsync;
    const bool wide = encoding == 1;
    r.Series = QStringLiteral("Series");
    r.Title = wide ? QStringLiteral("夜明けのスキャット～ÿ") : QStringLiteral("Dawn");
    r.Subtitle = QStringLiteral("Sub");
    r.Performer = wide ? QStringLiteral("由紀さおり") : QStringLiteral("Saori");
    r.Band = QStringLiteral("Band");
    r.Conductor = QStringLiteral("Cond");
    r.Remixer = QStringLiteral("Mix");
    r.Album = wide ? QStringLiteral("アルバム") : QStringLiteral("Album");
    r.Year = 1969;
    r.CommentDescription = QStringLiteral("desc");
    r.CommentBody = wide ? QStringLiteral("コメント\n二行目") : QStringLiteral("line\nnext");
    r.Track = QStringLiteral("3/12");
    r.Genre = QStringLiteral("Pop");
    return r;
}

TEST_F(InteropTest, OurID3v2TagsReadTheSameInTagLibAndMutagen)
{
    const QByteArray audio = mpegFrames(20);
    for (int major : {2, 3})
        for (int encoding : {0, 1})
            for (bool unsync : {false, true}) {
                const ID3v2TagRecord r = sample(major, encoding, unsync);
                const QString p = put(QStringLiteral("t%1%2%3.mp3").arg(major).arg(encoding).arg(unsync), audio);
                WriteID3v2Tag(p, p, r, 1);
                const std::string what = p.toStdString();

                TagLib::MPEG::File f(QFile::encodeName(p).constData(), false);
                TagLib::ID3v2::Tag *tag = f.ID3v2Tag();
                ASSERT_TRUE(tag) << what;
                EXPECT_EQ(fromTag(tag->title()), r.Title) << what;
                EXPECT_EQ(fromTag(tag->artist()), r.Performer) << what;
                EXPECT_EQ(fromTag(tag->album()), r.Album) << what;
                EXPECT_EQ(fromTag(tag->comment()), r.CommentBody) << what;
                EXPECT_EQ(tag->year(), 1969u) << what;
                EXPECT_EQ(frameText(tag, "TIT1"), r.Series) << what;
                EXPECT_EQ(frameText(tag, "TPE4"), r.Remixer) << what;
                EXPECT_EQ(frameText(tag, "TRCK"), r.Track) << what;
                EXPECT_TRUE(f.audioProperties() == nullptr);
                TagLib::MPEG::File withAudio(QFile::encodeName(p).constData(), true);
                ASSERT_TRUE(withAudio.audioProperties()) << what;
                EXPECT_EQ(withAudio.audioProperties()->bitrate(), 128) << what;

                const QJsonObject m = mutagenRead(p);
                EXPECT_EQ(m[QStringLiteral("version")].toInt(), major) << what;
                EXPECT_EQ(m[QStringLiteral("TIT2")].toString(), r.Title) << what;
                EXPECT_EQ(m[QStringLiteral("TIT3")].toString(), r.Subtitle) << what;
                EXPECT_EQ(m[QStringLiteral("TPE1")].toString(), r.Performer) << what;
                EXPECT_EQ(m[QStringLiteral("TPE2")].toString(), r.Band) << what;
                EXPECT_EQ(m[QStringLiteral("TPE3")].toString(), r.Conductor) << what;
                EXPECT_EQ(m[QStringLiteral("TALB")].toString(), r.Album) << what;
                EXPECT_EQ(m[QStringLiteral("TRCK")].toString(), r.Track) << what;
                EXPECT_EQ(m[QStringLiteral("year")].toString(), QStringLiteral("1969")) << what;
                EXPECT_EQ(m[QStringLiteral("COMM.desc")].toString(), r.CommentDescription) << what;
                EXPECT_EQ(m[QStringLiteral("COMM")].toString(), r.CommentBody) << what;

                const ID3v2TagRecord back = ReadID3v2Tag(p);
                EXPECT_EQ(back.Title, r.Title);
                EXPECT_EQ(back.CommentBody, r.CommentBody);
            }
}

TEST_F(InteropTest, OurID3v1BlocksReadTheSameInTagLibAndMutagen)
{
    for (bool v11 : {false, true}) {
        ID3v1TagRecord r;
        r.Title = QStringLiteral("Title");
        r.Artist = QStringLiteral("Artist");
        r.Album = QStringLiteral("Album");
        r.Year = 1987;
        r.Comment = QStringLiteral("Comment");
        r.Track = 9;
        r.Genre = 17;
        const QString p = put(QStringLiteral("v1%1.mp3").arg(v11), mpegFrames(5));
        WriteID3v1Tag(p, p, v11, KindNone, r, 1);
        TagLib::MPEG::File f(QFile::encodeName(p).constData(), false);
        ASSERT_TRUE(f.ID3v1Tag());
        EXPECT_EQ(fromTag(f.ID3v1Tag()->title()), r.Title);
        EXPECT_EQ(fromTag(f.ID3v1Tag()->comment()), r.Comment);
        EXPECT_EQ(f.ID3v1Tag()->year(), 1987u);
        EXPECT_EQ(f.ID3v1Tag()->track(), v11 ? 9u : 0u);
        EXPECT_EQ(fromTag(f.ID3v1Tag()->genre()), QStringLiteral("Rock"));
        const QJsonObject m = mutagenRead(p);
        EXPECT_EQ(m[QStringLiteral("TPE1")].toString(), r.Artist);
        EXPECT_EQ(m[QStringLiteral("TALB")].toString(), r.Album);
        EXPECT_EQ(m[QStringLiteral("year")].toString(), QStringLiteral("1987"));
        EXPECT_EQ(m[QStringLiteral("TRCK")].toString(), v11 ? QStringLiteral("9") : QString());
    }
}

TEST_F(InteropTest, TagLibAndMutagenID3v23TagsReadByOurs)
{
    const QByteArray audio = mpegFrames(10);
    for (bool wide : {false, true}) {
        const QString title = wide ? QStringLiteral("花とみつばち") : QStringLiteral("Flowers");
        const QString body = wide ? QStringLiteral("日本語のコメント") : QStringLiteral("A comment");

        const QString t = put(QStringLiteral("taglib%1.mp3").arg(wide), audio);
        TagLib::ID3v2::FrameFactory::instance()->setDefaultTextEncoding(wide ? TagLib::String::UTF16
                                                                              : TagLib::String::Latin1);
        {
            TagLib::MPEG::File f(QFile::encodeName(t).constData(), false);
            TagLib::ID3v2::Tag *tag = f.ID3v2Tag(true);
            tag->setTitle(toTag(title));
            tag->setArtist(toTag(QStringLiteral("Performer")));
            tag->setAlbum(toTag(title));
            tag->setComment(toTag(body));
            tag->setYear(2004);
            tag->setTrack(7);
            auto *band = new TagLib::ID3v2::TextIdentificationFrame("TPE2", wide ? TagLib::String::UTF16
                                                                                  : TagLib::String::Latin1);
            band->setText(toTag(title));
            tag->addFrame(band);
            ASSERT_TRUE(f.save(TagLib::MPEG::File::ID3v2, TagLib::File::StripOthers, TagLib::ID3v2::v3));
        }
        TagLib::ID3v2::FrameFactory::instance()->setDefaultTextEncoding(TagLib::String::Latin1);
        ASSERT_EQ(DetectTagType(t), KindV22);
        ID3v2TagRecord r = ReadID3v2Tag(t);
        EXPECT_EQ(r.MajorVersion, 3);
        EXPECT_EQ(r.Title, title);
        EXPECT_EQ(r.Performer, QStringLiteral("Performer"));
        EXPECT_EQ(r.Band, title);
        EXPECT_EQ(r.Album, title);
        EXPECT_EQ(r.CommentBody, body);
        EXPECT_EQ(r.Year, 2004);
        EXPECT_EQ(r.Track, QStringLiteral("7"));

        const QString m = put(QStringLiteral("mutagen%1.mp3").arg(wide), audio);
        QJsonObject frames{{QStringLiteral("TIT2"), title},  {QStringLiteral("TIT1"), QStringLiteral("S")},
                         {QStringLiteral("TPE3"), title},  {QStringLiteral("TRCK"), QStringLiteral("2/9")},
                         {QStringLiteral("TCON"), QStringLiteral("Jazz")},
                         {QStringLiteral("TYER"), QStringLiteral("1999")}};
        frames[QStringLiteral("COMM")] = QJsonArray{QStringLiteral("d"), body};
        mutagenWrite(m, wide ? 1 : 0, frames);
        r = ReadID3v2Tag(m);
        EXPECT_EQ(r.MajorVersion, 3);
        EXPECT_EQ(r.Title, title);
        EXPECT_EQ(r.Series, QStringLiteral("S"));
        EXPECT_EQ(r.Conductor, title);
        EXPECT_EQ(r.Track, QStringLiteral("2/9"));
        EXPECT_EQ(r.Genre, QStringLiteral("Jazz"));
        EXPECT_EQ(r.Year, 1999);
        EXPECT_EQ(r.CommentDescription, QStringLiteral("d"));
        EXPECT_EQ(r.CommentBody, body);
        EXPECT_EQ(ReadID3v2Tag(m).TagSize + 11, content(m).indexOf(audio.left(4)) + 1);
    }
}

// A tag as common taggers write it, its title edited: TagLib and mutagen read
// the new title, and every frame it did not touch as before.
TEST_F(InteropTest, AnEditedTitleLeavesTheRestOfTheirTagsAsTheyReadIt)
{
    const QByteArray audio = mpegFrames(10);
    for (int flags : {0, 0x80}) {
        const QByteArray body = richFrames(3).join();
        const QString p = put(QStringLiteral("rich%1.mp3").arg(flags), tagV2(3, flags, flags ? unsynced(body) : body) + audio);
        const ID3v2TagRecord shown = ReadID3v2Tag(p);
        ID3v2TagRecord edited = shown;
        edited.Title = QStringLiteral("朝の歌");
        edited.Encoding = 1;
        WriteID3v2Tag(p, p, edited, ReadID3v2Tag(p).TagSize + 11, &shown);

        TagLib::MPEG::File f(QFile::encodeName(p).constData(), false);
        TagLib::ID3v2::Tag *tag = f.ID3v2Tag();
        ASSERT_TRUE(tag);
        EXPECT_EQ(fromTag(tag->title()), QStringLiteral("朝の歌"));
        EXPECT_EQ(fromTag(tag->artist()), QStringLiteral("山田太郎"));
        EXPECT_EQ(frameText(tag, "TCOM"), QStringLiteral("作曲家"));
        EXPECT_EQ(frameText(tag, "TPOS"), QStringLiteral("1/2"));
        EXPECT_EQ(frameText(tag, "TBPM"), QStringLiteral("120"));
        EXPECT_TRUE(tag->frameListMap()["TYER"].isEmpty()) << "no year added";
        const auto *picture = dynamic_cast<TagLib::ID3v2::AttachedPictureFrame *>(tag->frameListMap()["APIC"].front());
        ASSERT_TRUE(picture);
        EXPECT_EQ(picture->picture().size(), 19u);
        EXPECT_EQ(picture->mimeType(), TagLib::String("image/jpeg"));
        const auto *lyrics = dynamic_cast<TagLib::ID3v2::UnsynchronizedLyricsFrame *>(tag->frameListMap()["USLT"].front());
        ASSERT_TRUE(lyrics);
        EXPECT_EQ(fromTag(lyrics->text()), QStringLiteral("一行目\n二行目"));
        ASSERT_EQ(tag->frameListMap()["COMM"].size(), 2u);
        for (TagLib::ID3v2::Frame *frame : tag->frameListMap()["COMM"])
            EXPECT_EQ(dynamic_cast<TagLib::ID3v2::CommentsFrame *>(frame)->language(), TagLib::ByteVector("eng"));
        EXPECT_EQ(tag->frameListMap()["PRIV"].size(), 1u);

        static const char *script = R"(
import json, sys
from mutagen.id3 import ID3
t = ID3(sys.argv[1])
print(json.dumps({'TIT2': str(t['TIT2']), 'TPE1': str(t['TPE1']), 'TXXX': str(t['TXXX:REPLAYGAIN_TRACK_GAIN']),
                  'langs': sorted(c.lang for c in t.getall('COMM')), 'APIC': len(t.getall('APIC')[0].data),
                  'PRIV': t.getall('PRIV')[0].owner}))
)";
        QProcess py;
        py.start(kPython, {QStringLiteral("-c"), QString::fromUtf8(script), p});
        ASSERT_TRUE(py.waitForFinished(20000));
        ASSERT_EQ(py.exitCode(), 0) << py.readAllStandardError().toStdString();
        const QJsonObject m = QJsonDocument::fromJson(py.readAllStandardOutput()).object();
        EXPECT_EQ(m[QStringLiteral("TIT2")].toString(), QStringLiteral("朝の歌"));
        EXPECT_EQ(m[QStringLiteral("TPE1")].toString(), QStringLiteral("山田太郎"));
        EXPECT_EQ(m[QStringLiteral("TXXX")].toString(), QStringLiteral("-6.50 dB"));
        EXPECT_EQ(m[QStringLiteral("langs")].toArray(), QJsonArray({QStringLiteral("eng"), QStringLiteral("eng")}));
        EXPECT_EQ(m[QStringLiteral("APIC")].toInt(), 19);
        EXPECT_EQ(m[QStringLiteral("PRIV")].toString(), QStringLiteral("WM/MediaClassPrimaryID"));
    }
}

} // namespace
