// Reads the tags of 1,000 MP3s with ours and with TagLib in the same run and
// prints both times and their ratio, ours / TagLib's (goal: at most 0.45x in
// the steady state): the first round (first use: libraries and converters
// loading, caches cold) apart from the best of the later ones.
//   tags_bench [COUNT] [ROUNDS]
#include "tags/id3/id3.h"

#include <QByteArray>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>

#include <taglib/id3v1tag.h>
#include <taglib/id3v2tag.h>
#include <taglib/mpegfile.h>

#include <cstdio>
#include <cstdlib>

using namespace ID3Module;

namespace {

QByteArray audio(int frames)
{
    QByteArray frame(417, '\0');
    frame[0] = '\xFF';
    frame[1] = '\xFB';
    frame[2] = '\x90';
    frame[3] = '\x44';
    QByteArray out;
    for (int i = 0; i < frames; ++i)
        out.append(frame);
    return out;
}

// Tags of every kind we write: v2.3 and v2.2, both encodings, some unsynchronised, some ID3v1.
void makeFiles(const QString &dir, int count)
{
    const QByteArray body = audio(240); // about 100 kB
    for (int i = 0; i < count; ++i) {
        const QString p = dir + QStringLiteral("/%1.mp3").arg(i, 4, 10, QLatin1Char('0'));
        QFile f(p);
        if (!f.open(QIODevice::WriteOnly))
            std::exit(2);
        f.write(body);
        f.close();
        if (i % 5 == 4) {
            ID3v1TagRecord r;
            r.Title = QStringLiteral("Title %1").arg(i);
            r.Artist = QStringLiteral("Artist");
            WriteID3v1Tag(p, p, true, KindNone, r, 1);
            continue;
        }
        ID3v2TagRecord r;
        r.MajorVersion = i % 3 == 0 ? 2 : 3;
        r.Encoding = i % 2;
        r.Unsynchronisation = i % 7 == 0;
        r.Title = r.Encoding ? QStringLiteral("夜明けのスキャット %1").arg(i) : QStringLiteral("Title %1").arg(i);
        r.Performer = QStringLiteral("Performer");
        r.Album = r.Encoding ? QStringLiteral("アルバム") : QStringLiteral("Album");
        r.Track = QStringLiteral("%1/12").arg(i % 12 + 1);
        r.Year = 2002;
        r.CommentBody = QStringLiteral("comment");
        WriteID3v2Tag(p, p, r, 1);
    }
}

} // namespace

int main(int argc, char **argv)
{
    const int count = argc > 1 ? std::atoi(argv[1]) : 1000;
    const int rounds = argc > 2 ? std::atoi(argv[2]) : 5;
    QTemporaryDir dir;
    makeFiles(dir.path(), count);
    QStringList files = QDir(dir.path()).entryList({QStringLiteral("*.mp3")}, QDir::Files);
    for (QString &f : files)
        f = dir.filePath(f);
    std::vector<QByteArray> names;
    for (const QString &f : files)
        names.push_back(QFile::encodeName(f));

    qint64 firstOurs = -1;
    qint64 firstTheirs = -1;
    qint64 bestOurs = -1;
    qint64 bestTheirs = -1;
    size_t sink = 0;
    for (int round = 0; round < rounds; ++round) {
        QElapsedTimer t;
        t.start();
        for (const QString &f : files) {
            const int kind = DetectTagType(f);
            if (kind == KindV1)
                sink += ReadID3v1Tag(f).Title.size();
            else if (kind == KindV22)
                sink += ReadID3v2Tag(f).Title.size();
        }
        const qint64 ours = t.nsecsElapsed();
        t.restart();
        for (const QByteArray &n : names) {
            TagLib::MPEG::File file(n.constData(), false);
            if (file.ID3v2Tag())
                sink += file.ID3v2Tag()->title().size();
            if (file.ID3v1Tag())
                sink += file.ID3v1Tag()->title().size();
        }
        const qint64 theirs = t.nsecsElapsed();
        if (round == 0) {
            firstOurs = ours;
            firstTheirs = theirs;
        } else {
            if (bestOurs < 0 || ours < bestOurs)
                bestOurs = ours;
            if (bestTheirs < 0 || theirs < bestTheirs)
                bestTheirs = theirs;
        }
        std::printf("round %d: ours %.2f ms, TagLib %.2f ms\n", round + 1, ours / 1e6, theirs / 1e6);
    }
    std::printf("%d files, first use: ours %.2f ms, TagLib %.2f ms, ratio %.2fx\n", int(files.size()),
                firstOurs / 1e6, firstTheirs / 1e6, double(firstOurs) / double(firstTheirs));
    if (rounds > 1)
        std::printf("%d files, steady, best of rounds 2-%d: ours %.2f ms, TagLib %.2f ms, ratio %.2fx\n",
                    int(files.size()), rounds, bestOurs / 1e6, bestTheirs / 1e6, double(bestOurs) / double(bestTheirs));
    std::printf("(%zu)\n", sink % 10);
    return 0;
}
