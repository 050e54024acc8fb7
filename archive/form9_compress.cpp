// Compression: the two-way drop boxes, the response file and the compress
// procedures of each format.
#include "form9.h"

#include "arcsmpcommon.h"

#include "platform/core/errors.h"
#include "platform/core/replacecore.h"
#include "platform/core/sidename.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QUuid>

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

using namespace archive;
using ArcsmpCommon::PathSeparatorFor;
using ArcsmpCommon::SplitArchivePath;
using ArcsmpCommon::StripExtension;

namespace {

const QString Q = QStringLiteral("\"");

Lib compressLib(int n)
{
    switch (n) {
    case 1: return Lib::Unlha32;
    case 2: return Lib::Zip32j;
    case 3: return Lib::Cab32;
    case 7: return Lib::Tar32;
    default: return Lib::Yz1;
    }
}

Lib checkLib(int n) { return n == 2 ? Lib::Unzip32 : compressLib(n); }

// The private folder of one response file: never the program's folder (it may
// be read-only and is shared), and its path holds no blank or quote, since
// the ZIP and CAB lines name the file bare.
QString responseRoot()
{
    const QString tmp = QDir::tempPath();
    if (tmp.contains(QLatin1Char(' ')) || tmp.contains(QLatin1Char('"')) || tmp.contains(QLatin1Char('\'')))
        return QStringLiteral("/tmp");
    return tmp;
}

// The response-file line of one dropped item. Folders are named whole and
// quoted (a name up to its last dot, or one with blanks, left them out).
QString responseLine(int n, const QString &item)
{
    QString base, file;
    const QString folder = SplitArchivePath(item, base, file);
    const bool isDir = QFileInfo(item).isDir();
    switch (n) {
    case 1: return Q + folder + Q + " " + Q + file + Q + (isDir ? " -d1 " : " -d0 ");
    case 7: return Q + folder + Q + " " + Q + file + Q;
    case 3: return isDir ? Q + file + "/*.*" + Q : Q + file + Q;
    default: return isDir ? Q + file + "/" + Q : Q + file + Q;
    }
}

} // namespace

void Form9::Text1_OLEDragDrop(const QStringList &items) { DropTwoWay(1, items); }
void Form9::Text2_OLEDragDrop(const QStringList &items) { DropTwoWay(2, items); }
void Form9::Text3_OLEDragDrop(const QStringList &items) { DropTwoWay(3, items); }
void Form9::Text7_OLEDragDrop(const QStringList &items) { DropTwoWay(7, items); }
void Form9::Text8_OLEDragDrop(const QStringList &items) { DropTwoWay(8, items); }

void Form9::DropTwoWay(int n, const QStringList &items)
{
    if (items.isEmpty())
        return;
    try {
        QString first = items.first();
        if (items.size() == 1) {
            if (QFileInfo(first).isDir()) {
                switch (n) {
                case 1: CompressLzhFolder(first); break;
                case 2: CompressZipFolder(first); break;
                case 3: CompressCabFolder(first); break;
                case 7: CompressTarFolder(first); break;
                default: CompressYz1Folder(first); break;
                }
                return;
            }
            const auto isArchive = ArchiveCheck(checkLib(n), first);
            if (!isArchive) {
                PresenceCheck(checkLib(n)); // shows the library's message
                return;
            }
            if (*isArchive != 0) {
                ExtractDropped(n, first);
                return;
            }
            switch (n) {
            case 1: CompressLzhFile(first); break;
            case 2: CompressZipFile(first); break;
            case 3: CompressCabFile(first); break;
            case 7: CompressTarFile(first); break;
            default: CompressYz1File(first); break;
            }
            return;
        }
        for (const QString &item : items)
            if (unsafeName(item)) {
                FailureReport(Operation::Compress);
                return;
            }
        QString base, file;
        const QString lastFolder = SplitArchivePath(items.last(), base, file);
        if (n == 8) {
            QString names;
            for (const QString &item : items) {
                SplitArchivePath(item, base, file);
                names += QStringLiteral(" ") + Q + file + Q;
            }
            CompressYz1List(first, lastFolder, names);
            return;
        }
        QTemporaryDir dir(responseRoot() + QStringLiteral("/vxrp-XXXXXX"));
        QString list = dir.path() + QStringLiteral("/rp.lst");
        {
            QFile f(list);
            bool ok = dir.isValid() && f.open(QIODevice::WriteOnly | QIODevice::Truncate);
            for (const QString &item : items)
                ok = ok && f.write((responseLine(n, item) + QStringLiteral("\r\n")).toUtf8()) >= 0;
            if (!ok || !f.flush()) {
                FailureReport(Operation::Compress);
                return;
            }
        }
        switch (n) {
        case 1: CompressLzhList(first, list); break;
        case 2: CompressZipList(first, list); break;
        case 3: CompressCabList(first, lastFolder, list); break;
        default: CompressTarList(first, list); break;
        }
        // The folder and its response file go when `dir` does.
    } catch (const vx::RuntimeError &) {
        FailureReport(Operation::Compress);
    }
}

void Form9::RunCompress(Lib lib, const QString &command, const QString &archivePath)
{
    // A dropped name of nearly 255 bytes gives an archive name the file
    // system cannot hold: said plainly rather than as a failed compression.
    if (QFile::encodeName(QFileInfo(archivePath).fileName()).size() > qsizetype(vx::sidename::kNameMax)) {
        vx::MsgBox(QStringLiteral("書庫の名前が長すぎるため圧縮できません。\r\n(名前は255バイトまでです)(T.T)"),
                   vx::vbOKOnly | vx::vbCritical, QStringLiteral("失敗×"));
        return;
    }
    const auto r = ArchiverCall(lib, ownHandle(), command);
    if (!r) {
        const LibraryRow &row = library(lib);
        if (row.missing.isEmpty())
            FailureReport(Operation::Compress);
        else
            vx::MsgBox(row.missing, vx::vbOKOnly | vx::vbCritical, QStringLiteral("Error"));
        return;
    }
    ResultReport(Operation::Compress, *r);
}

namespace {

const qint64 g_started = QDateTime::currentSecsSinceEpoch();

// The old archive's name while an overwrite runs: ".<name>.old-XXXXXXXX",
// the name cut so that the whole stays a name the file system takes.
constexpr std::size_t kAsideUnique = 8;
QByteArray asidePrefix(const QString &archivePath)
{
    const QByteArray name = QFile::encodeName(QFileInfo(archivePath).fileName());
    const std::string p = vx::sidename::prefix(std::string_view(name.constData(), size_t(name.size())), "old-", kAsideUnique);
    return QByteArray(p.data(), qsizetype(p.size()));
}

// What an overwrite killed midway left beside the archive, older than this
// process and locked by no one. With the archive there, the new one was
// written and the old copy goes; without it, the old archive comes back (the
// newest copy; the others go).
void SettleStaleAsides(const QString &archivePath)
{
    const QFileInfo info(archivePath);
    QDir dir(info.absolutePath());
    const QByteArray prefix = asidePrefix(archivePath);
    QFileInfoList found;
    for (const QFileInfo &f : dir.entryInfoList(QDir::Files | QDir::Hidden | QDir::System, QDir::Time)) {
        const QByteArray name = QFile::encodeName(f.fileName());
        if (!name.startsWith(prefix) || name.size() != prefix.size() + qsizetype(kAsideUnique) || f.isSymLink())
            continue;
        struct stat st {};
        if (::lstat(QFile::encodeName(f.absoluteFilePath()).constData(), &st) != 0 || st.st_ctime >= g_started)
            continue;
        const int fd = ::open(QFile::encodeName(f.absoluteFilePath()).constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
        if (fd < 0)
            continue;
        const bool free = ::flock(fd, LOCK_EX | LOCK_NB) == 0;
        ::close(fd);
        if (free)
            found.push_back(f);
    }
    for (const QFileInfo &f : found) {
        if (!QFileInfo::exists(archivePath) && !QFileInfo(archivePath).isSymLink())
            QFile::rename(f.absoluteFilePath(), archivePath);
        else
            QFile::remove(f.absoluteFilePath());
    }
}

} // namespace

// Overwrite: the old archive steps aside and comes back unless the new one
// was written. An archive the user may not write, or one with a second name
// (which would keep the old archive), is refused before it moves.
void Form9::RunReplacing(Lib lib, const QString &command, const QString &archivePath, bool replace)
{
    if (!replace) {
        RunCompress(lib, command, archivePath);
        return;
    }
    SettleStaleAsides(archivePath);
    const QFileInfo info(archivePath);
    struct stat st {};
    const QByteArray path = QFile::encodeName(archivePath);
    if (::lstat(path.constData(), &st) != 0 || !S_ISREG(st.st_mode) || st.st_nlink > 1 ||
        ::access(path.constData(), W_OK) != 0) {
        FailureReport(Operation::Compress);
        return;
    }
    const QString aside = info.absolutePath() + QLatin1Char('/') + QFile::decodeName(asidePrefix(archivePath)) +
                          QUuid::createUuid().toString(QUuid::Id128).left(qsizetype(kAsideUnique));
    if (!QFile::rename(archivePath, aside)) {
        FailureReport(Operation::Compress);
        return;
    }
    // Held while the library runs, so that another process leaves it alone.
    const int lock = ::open(QFile::encodeName(aside).constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (lock >= 0)
        ::flock(lock, LOCK_EX | LOCK_NB);
    const auto r = ArchiverCall(lib, ownHandle(), command);
    if (r && *r == 0) {
        // The new archive stands for the old one: same mode, owner and group.
        const int made = ::open(path.constData(), O_RDONLY | O_NONBLOCK | O_NOFOLLOW | O_CLOEXEC);
        if (made >= 0) {
            vx::replace::keepModeAndOwner(made, st);
            ::close(made);
        }
        QFile::remove(aside);
    } else {
        QFile::remove(archivePath);
        QFile::rename(aside, archivePath);
    }
    if (lock >= 0)
        ::close(lock);
    if (!r) {
        const LibraryRow &row = library(lib);
        vx::MsgBox(row.missing, vx::vbOKOnly | vx::vbCritical, QStringLiteral("Error"));
        return;
    }
    ResultReport(Operation::Compress, *r);
}

void Form9::RunLzhCompress(QString command, const QString &archivePath)
{
    if (QFileInfo(archivePath).isFile()) {
        const int answer = vx::MsgBox(archivePath + QStringLiteral("はすでに存在しています。\r\nファイルを上書きしますか?\r\n"
                                                                   "(はいで上書き,いいえで追加圧縮,キャンセルで圧縮中止)"),
                                      vx::vbYesNoCancel | vx::vbInformation, QStringLiteral("上書き確認"));
        if (answer == vx::vbYes) {
            RunReplacing(Lib::Unlha32, command, archivePath, true);
        } else if (answer == vx::vbNo) {
            command[0] = QLatin1Char('u');
            RunCompress(Lib::Unlha32, command, archivePath);
        } else {
            vx::MsgBox(QStringLiteral("圧縮をキャンセルしました。"), vx::vbOKOnly | vx::vbCritical, QStringLiteral("Failed"));
        }
        return;
    }
    RunCompress(Lib::Unlha32, command, archivePath);
}

void Form9::RunTarCompress(const QString &command, const QString &archivePath)
{
    if (QFileInfo(archivePath).isFile()) {
        const int answer = vx::MsgBox(archivePath + QStringLiteral("はすでに存在しています。\r\nファイルを上書きしますか?\r\n"
                                                                   "(はいで上書き,いいえで圧縮中止)"),
                                      vx::vbYesNo | vx::vbInformation, QStringLiteral("上書き確認"));
        if (answer == vx::vbYes)
            RunReplacing(Lib::Tar32, command, archivePath, true);
        else
            vx::MsgBox(QStringLiteral("圧縮をキャンセルしました。"), vx::vbOKOnly | vx::vbCritical, QStringLiteral("Failed"));
        return;
    }
    RunCompress(Lib::Tar32, command, archivePath);
}

// Each procedure refuses a name that could change the command line.
#define VX_REFUSE_UNSAFE(x)                                                                                  \
    if (unsafeName(x)) {                                                                                     \
        FailureReport(Operation::Compress);                                                                  \
        return;                                                                                              \
    }

void Form9::CompressLzhFolder(QString &d)
{
    VX_REFUSE_UNSAFE(d)
    const QString cmd = QStringLiteral("a -d1 -y1 ") + GetLhaOptions(Combo3.ListIndex(), Combo2.ListIndex()) + Q + d +
                        ".lzh" + Q + " " + Q + d + PathSeparatorFor(d) + Q + " " + "*.*";
    RunLzhCompress(cmd, d + QStringLiteral(".lzh"));
}

void Form9::CompressLzhList(QString &first, const QString &l)
{
    VX_REFUSE_UNSAFE(first)
    first = StripExtension(first);
    const QString cmd = QStringLiteral("a -y1 ") + GetLhaOptions(Combo3.ListIndex(), Combo2.ListIndex()) + Q + first +
                        ".lzh" + Q + " @" + Q + l + Q;
    RunLzhCompress(cmd, first + QStringLiteral(".lzh"));
}

void Form9::CompressLzhFile(QString &a)
{
    VX_REFUSE_UNSAFE(a)
    const QString n = StripExtension(a);
    const QString cmd = QStringLiteral("a -y1 ") + GetLhaOptions(Combo3.ListIndex(), Combo2.ListIndex()) + Q + n +
                        ".lzh" + Q + " " + Q + a + Q;
    RunLzhCompress(cmd, n + QStringLiteral(".lzh"));
}

void Form9::CompressZipFolder(QString &d)
{
    VX_REFUSE_UNSAFE(d)
    RunCompress(Lib::Zip32j, QStringLiteral("-r ") + GetZipLevelOption() + Q + d + ".zip" + Q + " " + Q + d + "/" + Q +
                                 " " + "*.*",
                d + QStringLiteral(".zip"));
}

void Form9::CompressZipList(QString &first, QString &l)
{
    VX_REFUSE_UNSAFE(first)
    first = StripExtension(first);
    QString base, file;
    const QString p = SplitArchivePath(first, base, file);
    // There are no short names here: the response file's path is its own.
    RunCompress(Lib::Zip32j, QStringLiteral("-r ") + GetZipLevelOption() + Q + first + ".zip" + Q + " " + Q + p + Q +
                                 " @" + l,
                first + QStringLiteral(".zip"));
}

void Form9::CompressZipFile(QString &a)
{
    VX_REFUSE_UNSAFE(a)
    const QString n = StripExtension(a);
    QString base, file;
    const QString p = SplitArchivePath(a, base, file);
    RunCompress(Lib::Zip32j, QStringLiteral("-u ") + GetZipLevelOption() + Q + n + ".zip" + Q + " " + Q + p + Q + " " +
                                 Q + file + Q,
                n + QStringLiteral(".zip"));
}

void Form9::CompressCabFolder(QString &d)
{
    VX_REFUSE_UNSAFE(d)
    RunCompress(Lib::Cab32, QStringLiteral("-a -r ") + Q + d + ".cab" + Q + " " + Q + d + "/" + Q + " " + "*.*",
                d + QStringLiteral(".cab"));
}

void Form9::CompressCabList(QString &first, const QString &baseFolder, QString &l)
{
    VX_REFUSE_UNSAFE(first)
    VX_REFUSE_UNSAFE(baseFolder)
    first = StripExtension(first);
    RunCompress(Lib::Cab32, QStringLiteral("-a -r ") + Q + first + ".cab" + Q + " " + Q + baseFolder + Q + " @" + l,
                first + QStringLiteral(".cab"));
}

void Form9::CompressCabFile(QString &a)
{
    VX_REFUSE_UNSAFE(a)
    const QString n = StripExtension(a);
    RunCompress(Lib::Cab32, QStringLiteral("-a -r ") + Q + n + ".cab" + Q + " " + Q + a + Q, n + QStringLiteral(".cab"));
}

void Form9::CompressTarFolder(QString &d)
{
    VX_REFUSE_UNSAFE(d)
    const QString e = TarExtension();
    const QString cmd = QStringLiteral("-cv ") + GetTarOptions(Combo1.ListIndex()) + " -f " + Q + d + e + Q + " " + Q + d +
                        PathSeparatorFor(d) + Q + " " + "*.*";
    RunTarCompress(cmd, d + e);
}

void Form9::CompressTarList(QString &first, const QString &l)
{
    VX_REFUSE_UNSAFE(first)
    first = StripExtension(first);
    const QString e = TarExtension();
    const QString cmd = QStringLiteral("-cv ") + GetTarOptions(Combo1.ListIndex()) + " -f " + Q + first + e + Q + " @" +
                        Q + l + Q;
    RunTarCompress(cmd, first + e);
}

void Form9::CompressTarFile(QString &a)
{
    VX_REFUSE_UNSAFE(a)
    const QString n = StripExtension(a);
    const QString e = TarExtension();
    QString base, file;
    const QString p = SplitArchivePath(a, base, file);
    const QString cmd = QStringLiteral("-cv ") + GetTarOptions(Combo1.ListIndex()) + " -f " + Q + n + e + Q + " " + Q + p +
                        Q + " " + Q + file + Q;
    RunTarCompress(cmd, n + e);
}

void Form9::CompressYz1Folder(QString &d)
{
    VX_REFUSE_UNSAFE(d)
    RunCompress(Lib::Yz1, QStringLiteral("c ") + Q + d + ".yz1" + Q + " " + Q + d + Q, d + QStringLiteral(".yz1"));
}

void Form9::CompressYz1List(QString &first, const QString &baseFolder, const QString &nameList)
{
    VX_REFUSE_UNSAFE(first)
    VX_REFUSE_UNSAFE(baseFolder)
    first = StripExtension(first);
    RunCompress(Lib::Yz1, QStringLiteral("c ") + Q + first + ".yz1" + Q + " " + Q + baseFolder + Q + " " + nameList,
                first + QStringLiteral(".yz1"));
}

void Form9::CompressYz1File(QString &a)
{
    VX_REFUSE_UNSAFE(a)
    const QString n = StripExtension(a);
    RunCompress(Lib::Yz1, QStringLiteral("c ") + Q + n + ".yz1" + Q + " " + Q + a + Q, n + QStringLiteral(".yz1"));
}
