// A CUE sheet with its BIN file standing in for a drive with a disc in it.
#include "cddrive.h"

#include "cdlibcdio.h"
#include "mci.h"

#include <QDateTime>
#include <QFileInfo>

namespace vx::cd {

namespace {

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
            cdio_ = cdio_open_cue(name.constData());
            stamp_ = stamp;
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
