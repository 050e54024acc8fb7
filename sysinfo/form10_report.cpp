// "Check!", the file checks and the memory clean-up.
#include "form10.h"

#include "platform/dialogs/dialogs.h"
#include "suite/filedialogs.h"
#include "sysinfo/format.h"

#include <QFile>
#include <QScreen>

#include <cerrno>
#include <cmath>
#include <cstring>
#include <fcntl.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {
// Status of `path` without opening it; nothing for a missing name.
std::optional<struct stat> statOf(const QString &path)
{
    struct stat st{};
    if (path.isEmpty() || ::stat(QFile::encodeName(path).constData(), &st) != 0)
        return std::nullopt;
    return st;
}
} // namespace

void Form10::Command8_Click()
{
    const auto mem = ReadMemory();
    // A fact that cannot be read leaves its field empty.
    auto show = [](vx::Label &l, std::optional<qint64> v) { l.setCaption(v ? sysinfo::bytesText(*v) : QString()); };
    show(lblTotalPhy, mem ? std::optional(mem->totalPhys) : std::nullopt);
    show(lblAvailablephy, mem ? std::optional(mem->availPhys) : std::nullopt);
    lblUsed.setCaption(mem ? QString::number(mem->load) + QStringLiteral("％") : QString());
    show(lblAllPageFile, mem ? std::optional(mem->totalSwap) : std::nullopt);
    show(lblAkiPage, mem ? std::optional(mem->availSwap) : std::nullopt);
    show(lblAvailable, mem ? std::optional(mem->totalVirtual) : std::nullopt);
    show(lblNotYoyaku, mem ? std::optional(mem->availVirtual) : std::nullopt);

    const vx::facts::Space space = vx::facts::readSpace(Drive100.Drive());
    Label300.setCaption(sysinfo::bytesText(space.freeToUser));
    Label500.setCaption(sysinfo::bytesText(space.total));

    List1.Clear();
    for (const QString &exe : vx::facts::processExecutables())
        List1.AddItem(exe);

    const auto host = vx::facts::hostName();
    if (!host) {
        Label32.setCaption(QStringLiteral("失敗しました"));
        return;
    }
    Label32.setCaption(*host);

    const QScreen *s = screen();
    Label28.setCaption(QStringLiteral("システムの表示色数：") + QString::number(s ? s->depth() : 0) +
                       QStringLiteral(" ビット／ピクセル"));

    // A drive of size 0 leaves its bar at 0; the report goes on.
    ProgressBar1.setValue(sysinfo::usedPercent(space.total, space.freeToUser));
    ProgressBar2.setValue(mem ? std::clamp(mem->load, 0, 100) : 0);

    List3.Clear();
    for (const QString &row : sysinfo::processorRows(vx::facts::readProcessor()))
        List3.AddItem(row);

    Label33.setCaption(vx::facts::osName());
    Label9.setCaption(vx::facts::kernelVersion());
}

bool Form10::CheckFileExistence(QString &path)
{
    if (path.isEmpty())
        return false;
    if (path.endsWith(QLatin1Char('/')))
        path.chop(1);
    // Only a regular file is opened: a FIFO or a device never is.
    const auto st = statOf(path);
    if (!st || !S_ISREG(st->st_mode))
        return false;
    const int fd = ::open(QFile::encodeName(path).constData(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
    if (fd < 0)
        return false;
    struct stat opened{};
    const bool regular = ::fstat(fd, &opened) == 0 && S_ISREG(opened.st_mode);
    ::close(fd);
    return regular;
}

void Form10::Command6_Click()
{
    QString path = Text2.Text();
    const bool exists = CheckFileExistence(path);
    Label26.setCaption(QStringLiteral("ファイル(") + path +
                       (exists ? QStringLiteral(") は存在します") : QStringLiteral(") は存在しません")));
}

void Form10::Command13_Click()
{
    const QString name = Text2.Text();
    if (name.isEmpty()) {
        vx::MsgBox(QStringLiteral("ファイル名を記入してください"));
        return;
    }
    const auto st = statOf(name);
    if (!st || !S_ISREG(st->st_mode)) {
        vx::MsgBox(QStringLiteral("取得出来ませんでした"));
        return;
    }
    Label26.setCaption(QStringLiteral("ファイルのサイズは") + sysinfo::groupDigits(st->st_size) +
                       QStringLiteral("バイトです。"));
}

void Form10::Command14_Click()
{
    const QString chosen = suite::ShowOpenFileDialogPreview(this, QStringLiteral("すべてのファイル(*.*)") + QChar(0) +
                                                                      QStringLiteral("*.*") + QChar(0));
    // Cancel leaves the name as it was.
    if (!chosen.isEmpty())
        Text2.setText(chosen);
}

void Form10::Command18_Click()
{
    cleaned_ = 0;
    const auto mem = ReadMemory();
    if (!mem) {
        vx::MsgBox(QStringLiteral("メモリの状態を読めませんでした。"), vx::vbExclamation);
        return;
    }
    if (static_cast<double>(mem->totalPhys) / 4 <= static_cast<double>(mem->availPhys)) {
        vx::MsgBox(QStringLiteral("今はお掃除の必要はありません"));
        return;
    }
    const double asked = sysinfo::leadingNumber(Command);
    qint64 mb = std::isfinite(asked) && std::fabs(asked) < 1e9 ? std::llround(asked) : -1;
    if (mb == 0)
        mb = 32;
    if (mb < 1 || mb > 2047) {
        vx::MsgBox(QStringLiteral("お掃除するメモリの大きさは1から2047MBまでで指定してください。"), vx::vbExclamation);
        return;
    }
    // At most half of what is available: the clean-up must not itself
    // drive the machine out of memory.
    const qint64 bytes = std::min(mb * 1024 * 1024, mem->availPhys / 2) & ~qint64(4095);
    if (bytes > 0) {
        void *block = ::mmap(nullptr, static_cast<size_t>(bytes), PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS,
                             -1, 0);
        if (block == MAP_FAILED) {
            vx::MsgBox(QStringLiteral("メモリを確保出来ませんでした。"), vx::vbExclamation);
            return;
        }
        // Writing every page makes the system move other memory out; then
        // the whole block goes back.
        std::memset(block, 0, static_cast<size_t>(bytes));
        ::munmap(block, static_cast<size_t>(bytes));
        cleaned_ = bytes;
    }
    vx::MsgBox(QStringLiteral("お掃除完了！"));
}
