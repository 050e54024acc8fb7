#include "cddrive.h"

#include "cdlibcdio.h"
#include "mci.h"

#include <QFileInfo>

#include <cerrno>
#include <map>
#include <mutex>
#include <fcntl.h>
#include <linux/cdrom.h>
#include <sys/ioctl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace vx {

namespace {

std::mutex errorTextLock;

std::map<int, QString> &errorTexts()
{
    static std::map<int, QString> texts;
    return texts;
}

} // namespace

void setCdErrorText(int error, const QString &text)
{
    std::lock_guard guard(errorTextLock);
    if (text.isEmpty())
        errorTexts().erase(error);
    else
        errorTexts()[error] = text;
}

QString cdErrorString(int error)
{
    {
        std::lock_guard guard(errorTextLock);
        if (const auto it = errorTexts().find(error); it != errorTexts().end())
            return it->second;
    }
    switch (error) {
    case mci::NoDrive: return QStringLiteral("CDドライブが見つかりません。");
    case mci::NoPermission: return QStringLiteral("CDドライブを使う権限がありません。");
    case mci::DriveBusy: return QStringLiteral("CDドライブはほかのプログラムが使用中です。");
    case mci::NoDisc: return QStringLiteral("ドライブにCDが入っていません。");
    case mci::OutOfRange: return QStringLiteral("指定された位置はCDの範囲外です。");
    case mci::NoDoor: return QStringLiteral("このデバイスはトレイを開閉できません。");
    case mci::NoAudioTrack: return QStringLiteral("この位置から先に音楽トラックがありません。");
    case mci::BadCueSheet: return QStringLiteral("CUEシートを読めません。");
    case mci::CueDataMissing: return QStringLiteral("CUEシートが指すファイルが見つかりません。");
    case mci::CueDataUnreadable: return QStringLiteral("CUEシートが指すファイルを読めません。");
    case mci::CueDataFormat: return QStringLiteral("CUEシートが指すファイルの形式は再生できません。");
    default: return QString();
    }
}

namespace cd {

namespace {

void silent(cdio_log_level_t, const char *) {}

// A descriptor closed on every path.
struct Fd {
    int fd = -1;
    ~Fd()
    {
        if (fd >= 0)
            ::close(fd);
    }
};

class LinuxSystem : public CdDriveSystem {
public:
    int open(const QString &path, std::shared_ptr<CdMedium> &medium) override
    {
        struct stat st {};
        const QByteArray name = QFile::encodeName(path);
        if (path.isEmpty() || ::stat(name.constData(), &st) != 0)
            return errno == EACCES ? mci::NoPermission : mci::NoDrive;
        if (S_ISREG(st.st_mode))
            return openCueImage(path, medium);
        if (S_ISBLK(st.st_mode))
            return openLinuxDrive(path, medium);
        return mci::NoDrive;
    }
};

std::unique_ptr<CdDriveSystem> &currentSystem()
{
    static std::unique_ptr<CdDriveSystem> system;
    return system;
}

// The drive: its descriptor stays open (non-blocking, so an empty drive
// opens) from open to close; libcdio's handle only while a disc is in.
class LinuxDrive : public CdMedium {
public:
    LinuxDrive(const QString &path, int fd) : path_(path), fd_(fd) {}
    ~LinuxDrive() override
    {
        dropDisc();
        ::close(fd_);
    }

    int readToc(Toc &toc) override
    {
        toc = {};
        const int status = ::ioctl(fd_, CDROM_DRIVE_STATUS, CDSL_CURRENT);
        if (status >= 0 && status != CDS_DISC_OK) {
            dropDisc();
            return mci::NoError;
        }
        // A changed disc is read afresh; the drive tells once per change.
        if (::ioctl(fd_, CDROM_MEDIA_CHANGED, CDSL_CURRENT) == 1)
            dropDisc();
        if (!cdio_) {
            quietCdio();
            const QByteArray name = QFile::encodeName(path_);
            cdio_ = cdio_open(name.constData(), DRIVER_LINUX);
            if (!cdio_)
                return mci::NoError; // a disc that cannot be read is no disc to play
        }
        tocOfCdio(cdio_, toc);
        return mci::NoError;
    }

    int readAudio(qint32 lsn, int count, char *buffer) override
    {
        if (!cdio_)
            return mci::NoDisc;
        return readCdioAudio(cdio_, lsn, count, buffer);
    }

    int setDoor(bool open) override
    {
        if (open)
            dropDisc();
        return moveDoor(path_, open);
    }

    int trayOpen(bool &open) override
    {
        const int status = ::ioctl(fd_, CDROM_DRIVE_STATUS, CDSL_CURRENT);
        open = status == CDS_TRAY_OPEN;
        return mci::NoError;
    }

private:
    void dropDisc()
    {
        if (cdio_)
            cdio_destroy(cdio_);
        cdio_ = nullptr;
    }

    QString path_;
    int fd_;
    CdIo_t *cdio_ = nullptr;
};

} // namespace

void quietCdio()
{
    static const bool once = [] {
        cdio_log_set_handler(silent);
        return true;
    }();
    (void)once;
}

void tocOfCdio(CdIo_t *cdio, Toc &toc)
{
    toc = {};
    const track_t first = cdio_get_first_track_num(cdio);
    const track_t count = cdio_get_num_tracks(cdio);
    if (first == CDIO_INVALID_TRACK || count == CDIO_INVALID_TRACK || count == 0)
        return;
    const lsn_t leadout = cdio_get_track_lsn(cdio, CDIO_CDROM_LEADOUT_TRACK);
    for (int i = 0; i < count; ++i) {
        const track_t t = track_t(first + i);
        const lsn_t start = cdio_get_track_lsn(cdio, t);
        const lsn_t end = i + 1 < count ? cdio_get_track_lsn(cdio, track_t(t + 1)) : leadout;
        // A table that runs backwards (a damaged image) ends at the last sound track.
        if (start == CDIO_INVALID_LSN || end == CDIO_INVALID_LSN || end <= start
            || (!toc.tracks.empty() && start < toc.tracks.back().end))
            break;
        toc.tracks.push_back({start, end, cdio_get_track_format(cdio, t) == TRACK_FORMAT_AUDIO});
    }
}

int readCdioAudio(CdIo_t *cdio, qint32 lsn, int count, char *buffer)
{
    return cdio_read_audio_sectors(cdio, buffer, lsn, unsigned(count)) == DRIVER_OP_SUCCESS ? mci::NoError
                                                                                          : mci::DeviceFailed;
}

int errorOfErrno(int err)
{
    switch (err) {
    case ENOENT:
    case ENXIO:
    case ENODEV:
    case ENOTDIR:
        return mci::NoDrive;
    case EACCES:
    case EPERM:
    case EROFS:
        return mci::NoPermission;
    case EBUSY:
        return mci::DriveBusy;
    case ENOMEDIUM:
        return mci::NoDisc;
    case ENOTTY:
    case EINVAL:
    case ENOSYS:
        return mci::NoDoor;
    default:
        return mci::DeviceFailed;
    }
}

int moveDoor(const QString &path, bool open)
{
    const QByteArray name = QFile::encodeName(path);
    Fd f{::open(name.constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC)};
    if (f.fd < 0)
        return errorOfErrno(errno);
    if (open) {
        // A drive left locked by another program would refuse the eject.
        ::ioctl(f.fd, CDROM_LOCKDOOR, 0);
        if (::ioctl(f.fd, CDROMEJECT, 0) != 0)
            return errorOfErrno(errno);
    } else if (::ioctl(f.fd, CDROMCLOSETRAY, 0) != 0) {
        return errorOfErrno(errno);
    }
    return mci::NoError;
}

int openLinuxDrive(const QString &path, std::shared_ptr<CdMedium> &medium)
{
    const QByteArray name = QFile::encodeName(path);
    const int fd = ::open(name.constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0)
        return errorOfErrno(errno);
    // Only a CD drive answers this.
    if (::ioctl(fd, CDROM_GET_CAPABILITY, 0) < 0) {
        ::close(fd);
        return mci::NoDrive;
    }
    medium = std::make_shared<LinuxDrive>(path, fd);
    return mci::NoError;
}

QString devicePath()
{
    const QString env = qEnvironmentVariable(kDeviceVariable);
    return env.isEmpty() ? QStringLiteral("/dev/cdrom") : env;
}

CdDriveSystem &cdDriveSystem()
{
    auto &s = currentSystem();
    if (!s)
        s = std::make_unique<LinuxSystem>();
    return *s;
}

void setCdDriveSystem(std::unique_ptr<CdDriveSystem> system)
{
    currentSystem() = std::move(system);
}

} // namespace cd
} // namespace vx
