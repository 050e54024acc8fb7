// A CUE sheet with its BIN file standing in for a drive with a disc in it.
#include "cddrive.h"

#include "cdlibcdio.h"
#include "mci.h"

#include "platform/core/userfileqt.h"

#include <QDateTime>
#include <QDir>
#include <QFileInfo>
#include <QRegularExpression>

namespace vx::cd {

namespace {

// A CUE sheet is a page of text; more is not one.
constexpr qint64 kMaxCueBytes = 1024 * 1024;

// The sheet and every data file it names are regular files: the reader then
// cannot be held by a FIFO or fed a device without end.
bool sheetIsSafe(const QString &path)
{
    QByteArray sheet;
    if (readUserFile(path, kMaxCueBytes, sheet) != UserFileStatus::Ok)
        return false;
    static const QRegularExpression fileLine(QStringLiteral("^\\s*FILE\\s+(?:\"([^\"]*)\"|(\\S+))"),
                                             QRegularExpression::CaseInsensitiveOption
                                                 | QRegularExpression::MultilineOption);
    const QDir folder = QFileInfo(path).absoluteDir();
    auto it = fileLine.globalMatch(QString::fromLocal8Bit(sheet));
    while (it.hasNext()) {
        const auto m = it.next();
        const QString name = m.capturedStart(1) >= 0 ? m.captured(1) : m.captured(2);
        const userfile::Handle data =
            userfile::open(QFile::encodeName(folder.absoluteFilePath(name)).constData(), userfile::kNoLimit);
        if (!data.ok() && data.status() != UserFileStatus::Missing)
            return false;
    }
    return true;
}

class CueImage : public CdMedium {
public:
    explicit CueImage(const QString &path) : path_(path) {}
    ~CueImage() override { drop(); }

    // The sheet is read again when it changed: a new image is a new disc.
    int readToc(Toc &toc) override
    {
        toc = {};
        const QFileInfo info(path_);
        if (!info.isFile()) {
            drop();
            return mci::NoError;
        }
        const QString stamp = QStringLiteral("%1/%2").arg(info.size()).arg(info.lastModified().toMSecsSinceEpoch());
        if (cdio_ && stamp != stamp_)
            drop();
        if (!cdio_) {
            quietCdio();
            const QByteArray name = QFile::encodeName(path_);
            stamp_ = stamp;
            if (!sheetIsSafe(path_))
                return mci::NoError; // no disc
            cdio_ = cdio_open_cue(name.constData());
            if (!cdio_)
                return mci::NoError; // not a sheet this reader knows: no disc
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

    // An image has no tray: the ioctls tell so.
    int setDoor(bool open) override { return moveDoor(path_, open); }

    int trayOpen(bool &open) override
    {
        open = false;
        return mci::NoError;
    }

private:
    void drop()
    {
        if (cdio_)
            cdio_destroy(cdio_);
        cdio_ = nullptr;
    }

    QString path_;
    QString stamp_;
    CdIo_t *cdio_ = nullptr;
};

} // namespace

int openCueImage(const QString &path, std::shared_ptr<CdMedium> &medium)
{
    const QFileInfo info(path);
    if (!info.isFile())
        return mci::NoDrive;
    if (!info.isReadable())
        return mci::NoPermission;
    medium = std::make_shared<CueImage>(path);
    return mci::NoError;
}

} // namespace vx::cd
