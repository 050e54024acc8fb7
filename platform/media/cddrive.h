#pragma once
// The audio CD under the "cdaudio" device: a drive (libcdio and the Linux
// CD-ROM ioctls) or a CUE/BIN image standing in for one, behind one interface.
// Sector addresses are logical (LSN); 75 sectors make a second of 16-bit
// stereo sound at 44.1 kHz, 2352 bytes each.
#include <QStringList>

#include <memory>
#include <mutex>
#include <vector>

namespace vx {

namespace mci {
// Error numbers of the CD device, next to the interpreter's own.
inline constexpr int NoDrive = 311;       // no CD drive (or image) at the device path
inline constexpr int NoPermission = 312;  // the drive may not be opened by this user
inline constexpr int DriveBusy = 313;     // another program holds the drive
inline constexpr int NoDisc = 314;        // nothing to read in the drive
inline constexpr int OutOfRange = 315;    // a track or time beyond the disc
inline constexpr int NoDoor = 316;        // the device has no tray to move
inline constexpr int NoAudioTrack = 317;  // no music from that place to the end of the disc
inline constexpr int BadCueSheet = 318;   // the image's sheet does not make a disc
inline constexpr int CueDataMissing = 319; // a data file of the sheet is not there
inline constexpr int CueDataUnreadable = 320; // a data file of the sheet is no regular file, or not ours to read
inline constexpr int CueDataFormat = 321; // a data file of a kind other than raw CD sound
} // namespace mci

// Text of the CD device's error numbers ("" for others).
QString cdErrorString(int error);
// The text cdErrorString gives for `error` from now on: what an image found
// wrong, naming the sheet or file ("" restores the number's own text).
void setCdErrorText(int error, const QString &text);

namespace cd {

inline constexpr int kSectorBytes = 2352;
inline constexpr int kSectorsPerSecond = 75;

struct Track {
    qint32 start = 0; // first sector
    qint32 end = 0;   // one past the last sector
    bool audio = true;
    bool operator==(const Track &) const = default;
};

// Table of contents; no tracks: no disc.
struct Toc {
    std::vector<Track> tracks;
    // Why there is no disc when something is in but cannot be played (an
    // image refused): an error number and its text; 0 for an empty drive.
    int refused = 0;
    QString refusal;
    // Which disc, where the medium tells more than its tracks do: an image
    // read afresh is another disc even with the same tracks.
    quint64 disc = 0;
    bool present() const { return !tracks.empty(); }
    bool operator==(const Toc &) const = default;
};

// One drive or image. Calls come from the window thread and from the
// streaming thread: callers hold `lock` around each call.
class CdMedium {
public:
    virtual ~CdMedium() = default;
    // The disc now in (empty when there is none); an error number on failure.
    virtual int readToc(Toc &toc) = 0;
    // `count` audio sectors from `lsn` into `buffer` (count * kSectorBytes).
    virtual int readAudio(qint32 lsn, int count, char *buffer) = 0;
    virtual int setDoor(bool open) = 0;
    virtual int trayOpen(bool &open) = 0;

    std::timed_mutex lock;
};

// Opens the device at a path: the program's is the Linux one, tests put in a fake.
class CdDriveSystem {
public:
    virtual ~CdDriveSystem() = default;
    virtual int open(const QString &path, std::shared_ptr<CdMedium> &medium) = 0;
};

CdDriveSystem &cdDriveSystem();
// nullptr restores the real one.
void setCdDriveSystem(std::unique_ptr<CdDriveSystem> system);

// The device path: $VX_CDROM when set, else /dev/cdrom.
inline constexpr char kDeviceVariable[] = "VX_CDROM";
QString devicePath();

// The Linux drive (a block device) or, for a regular file, a CUE sheet with
// the files its FILE lines name.
int openLinuxDrive(const QString &path, std::shared_ptr<CdMedium> &medium);
int openCueImage(const QString &path, std::shared_ptr<CdMedium> &medium);
// The door ioctls on the device at `path`, opened non-blocking.
int moveDoor(const QString &path, bool open);
// Error number of an errno from opening or driving a device.
int errorOfErrno(int err);

} // namespace cd
} // namespace vx
