// Reading the frames of a stored ID3v2.2/2.3 tag, and carrying a frame over
// to the other version.
#include "storedtag.h"

#include "fileio.h"

#include <algorithm>
#include <tuple>
#include <utility>

namespace ID3Module::stored {

namespace {

quint32 bigEndian(const QByteArray &b)
{
    quint32 v = 0;
    for (char c : b)
        v = v << 8 | static_cast<unsigned char>(c);
    return v;
}

quint8 flags2(const Frame &f)
{
    return f.flags.size() == 2 ? static_cast<quint8>(f.flags[1]) : 0;
}

bool frameIdChar(char c)
{
    return (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9');
}

// Frames laid out alike in both versions: the pairs of IDs.
constexpr std::pair<const char *, const char *> kSameFrames[] = {
    {"TALB", "TAL"}, {"TBPM", "TBP"}, {"TCOM", "TCM"}, {"TCON", "TCO"}, {"TCOP", "TCR"}, {"TDAT", "TDA"},
    {"TDLY", "TDY"}, {"TENC", "TEN"}, {"TEXT", "TXT"}, {"TFLT", "TFT"}, {"TIME", "TIM"}, {"TIT1", "TT1"},
    {"TIT2", "TT2"}, {"TIT3", "TT3"}, {"TKEY", "TKE"}, {"TLAN", "TLA"}, {"TLEN", "TLE"}, {"TMED", "TMT"},
    {"TOAL", "TOT"}, {"TOFN", "TOF"}, {"TOLY", "TOL"}, {"TOPE", "TOA"}, {"TORY", "TOR"}, {"TPE1", "TP1"},
    {"TPE2", "TP2"}, {"TPE3", "TP3"}, {"TPE4", "TP4"}, {"TPOS", "TPA"}, {"TPUB", "TPB"}, {"TRCK", "TRK"},
    {"TRDA", "TRD"}, {"TSIZ", "TSI"}, {"TSRC", "TRC"}, {"TSSE", "TSS"}, {"TYER", "TYE"}, {"TXXX", "TXX"},
    {"WCOM", "WCM"}, {"WCOP", "WCP"}, {"WOAF", "WAF"}, {"WOAR", "WAR"}, {"WOAS", "WAS"}, {"WPUB", "WPB"},
    {"WXXX", "WXX"}, {"COMM", "COM"}, {"USLT", "ULT"}, {"SYLT", "SLT"}, {"UFID", "UFI"}, {"PCNT", "CNT"},
    {"POPM", "POP"}, {"GEOB", "GEO"}, {"MCDI", "MCI"}, {"ETCO", "ETC"}, {"IPLS", "IPL"}, {"RVAD", "RVA"},
    {"EQUA", "EQU"}, {"MLLT", "MLL"}, {"SYTC", "STC"}, {"RVRB", "REV"},
};

// A picture in the other version: ID3v2.2 names the image format in three
// letters where ID3v2.3 has a MIME type. None for a format not named here.
Frame convertedPicture(const Frame &f, int to)
{
    static const std::pair<const char *, const char *> kFormats[] = {
        {"JPG", "image/jpeg"}, {"PNG", "image/png"}, {"GIF", "image/gif"}, {"BMP", "image/bmp"}};
    if (to == 3 && f.id == "PIC" && f.body.size() >= 4) {
        for (const auto &[format, mime] : kFormats)
            if (f.body.mid(1, 3).toUpper() == format)
                return {QByteArray("APIC"), QByteArray(2, '\0'), f.body.left(1) + mime + '\0' + f.body.mid(4)};
    } else if (to == 2 && f.id == "APIC") {
        const qsizetype end = f.body.indexOf('\0', 1);
        for (const auto &[format, mime] : kFormats)
            if (end > 0 && f.body.mid(1, end - 1).toLower() == mime)
                return {QByteArray("PIC"), QByteArray(), f.body.left(1) + format + f.body.mid(end + 1)};
    }
    return {};
}

} // namespace

bool sealed(const Frame &f)
{
    return flags2(f) & 0xC0;
}

int payloadOffset(const Frame &f)
{
    const quint8 b = flags2(f);
    return (b & 0x80 ? 4 : 0) + (b & 0x40 ? 1 : 0) + (b & 0x20 ? 1 : 0);
}

StoredTag storedTag(int fd, qint64 length, qint64 audioStart, const QString &path, qint64 cap)
{
    StoredTag tag;
    if (audioStart <= 11)
        return tag;
    char head[10] = {};
    if (io::readAt(fd, head, 10, 0, path) != 10 || QByteArray(head, 3) != "ID3" || (head[3] != 2 && head[3] != 3))
        return tag;
    qint64 size = 0;
    for (int i = 6; i < 10; ++i)
        size = size * 128 + (head[i] & 0x7F);
    const qint64 end = std::min({size + 10, audioStart - 1, length, cap});
    QByteArray data(std::max<qint64>(end - 10, 0), '\0');
    data.resize(io::readAt(fd, data.data(), data.size(), 10, path));
    const auto flags = static_cast<quint8>(head[5]);
    if (flags & 0x80) {
        QByteArray plain;
        plain.reserve(data.size());
        for (qsizetype i = 0; i < data.size(); ++i) {
            plain.append(data[i]);
            if (data[i] == '\xFF' && i + 1 < data.size() && data[i + 1] == '\0')
                ++i;
        }
        data = plain;
    }
    tag.major = head[3];
    const bool v23 = tag.major == 3;
    qsizetype pos = 0;
    if (v23 && flags & 0x40) // size, flags (CRC bit), padding size, CRC
        pos = data.size() >= 6 && (static_cast<quint8>(data[4]) & 0x80) ? 14 : 10;
    const int idSize = v23 ? 4 : 3;
    const int headerSize = v23 ? 10 : 6;
    while (pos + headerSize <= data.size()) {
        Frame f;
        f.id = data.mid(pos, idSize);
        if (!std::all_of(f.id.begin(), f.id.end(), frameIdChar))
            break;
        const qint64 bodySize = bigEndian(data.mid(pos + idSize, idSize));
        if (pos + headerSize + bodySize > data.size())
            break;
        f.flags = data.mid(pos + 2 * idSize, headerSize - 2 * idSize);
        f.body = data.mid(pos + headerSize, bodySize);
        tag.frames.append(f);
        pos += headerSize + bodySize;
    }
    return tag;
}

Frame converted(const Frame &f, int to)
{
    if (flags2(f) != 0)
        return {};
    for (const auto &[v23, v22] : kSameFrames)
        if (f.id == (to == 3 ? v22 : v23))
            return {QByteArray(to == 3 ? v23 : v22), to == 3 ? QByteArray(2, '\0') : QByteArray(), f.body};
    return convertedPicture(f, to);
}

QString frameName(const QByteArray &id)
{
    static const std::tuple<const char *, const char *, const char *> names[] = {
        {"APIC", "PIC", "画像"},           {"USLT", "ULT", "歌詞"},          {"SYLT", "SLT", "同期歌詞"},
        {"TCOM", "TCM", "作曲者"},         {"TPOS", "TPA", "ディスク番号"},  {"TBPM", "TBP", "BPM"},
        {"TXXX", "TXX", "ユーザー定義テキスト"}, {"PRIV", "", "プライベートデータ"}, {"COMM", "COM", "コメント"},
        {"TEXT", "TXT", "作詞者"},         {"TENC", "TEN", "エンコードした人"}, {"TSSE", "TSS", "エンコード設定"},
        {"TLEN", "TLE", "長さ"},           {"TCOP", "TCR", "著作権"},        {"WXXX", "WXX", "URL"},
        {"GEOB", "GEO", "埋め込みファイル"}, {"UFID", "UFI", "ファイル識別子"}, {"POPM", "POP", "評価"},
        {"PCNT", "CNT", "再生回数"},        {"RVAD", "RVA", "音量調整"},       {"RVA2", "", "音量調整"},
    };
    const QString raw = QString::fromLatin1(id);
    for (const auto &[v23, v22, name] : names)
        if (id == v23 || (*v22 && id == v22))
            return raw + QStringLiteral("（") + QString::fromUtf8(name) + QStringLiteral("）");
    return raw;
}

} // namespace ID3Module::stored
