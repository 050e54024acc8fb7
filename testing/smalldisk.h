#pragma once
// A small file system of the test's own, to fill up: tmpfs, mounted in a
// mount namespace of the test's thread, so it goes when the test process
// ends however it ends. Needs root (CAP_SYS_ADMIN); where it cannot be
// mounted, ok() is false and why() says why (the test skips).
#include <QString>
#include <QTemporaryDir>

namespace vxtest {

class SmallDisk {
public:
    explicit SmallDisk(qint64 bytes);
    ~SmallDisk();
    SmallDisk(const SmallDisk &) = delete;
    SmallDisk &operator=(const SmallDisk &) = delete;

    bool ok() const { return mounted_; }
    const QString &why() const { return why_; }
    // A folder on it, for the test's files (what fills the disk lies beside it).
    QString path() const { return dir_.path() + QStringLiteral("/disk"); }
    // Takes the space until only `left` bytes (whole pages) are free; what
    // the last call took is given back first.
    bool leaveFree(qint64 left);

private:
    QTemporaryDir dir_;
    bool mounted_ = false;
    QString why_;
};

} // namespace vxtest
