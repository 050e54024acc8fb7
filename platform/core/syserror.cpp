#include "syserror.h"

#include <cerrno>
#include <cstring>

namespace vx {

QString systemReason(int e)
{
    switch (e) {
    case EACCES:
    case EPERM: return QStringLiteral("アクセスが許可されていません。");
    case EROFS: return QStringLiteral("読み取り専用のドライブです。");
    case ENOENT: return QStringLiteral("ファイルまたはフォルダーが見つかりません。");
    case ENOTDIR: return QStringLiteral("途中にフォルダーではないものがあります。");
    case ENOSPC:
    case EDQUOT: return QStringLiteral("ディスクの空き容量が不足しています。");
    case EFBIG: return QStringLiteral("ファイルが大きすぎます。");
    case ENAMETOOLONG: return QStringLiteral("ファイル名が長すぎます（255バイトまでです）。");
    case ELOOP: return QStringLiteral("シンボリックリンクをたどりきれません（循環しているか、深すぎます）。");
    case EISDIR: return QStringLiteral("ファイルではなくフォルダーです。");
    case EEXIST: return QStringLiteral("同じ名前のファイルが既にあります。");
    case EMFILE:
    case ENFILE: return QStringLiteral("開いているファイルが多すぎます。");
    case EBUSY:
    case ETXTBSY: return QStringLiteral("ファイルは使用中です。");
    case ENOMEM: return QStringLiteral("メモリが不足しています。");
    case EXDEV: return QStringLiteral("別のファイル システムへは移せません。");
    case EMLINK: return QStringLiteral("リンクが多すぎます。");
    case ENXIO:
    case ENODEV: return QStringLiteral("デバイスがありません。");
    case EIO: return QStringLiteral("ディスクの読み書きに失敗しました。");
    case ESTALE: return QStringLiteral("ネットワーク上のファイルが見つからなくなりました。");
    case EINVAL: return QStringLiteral("この名前または操作はこのファイル システムでは使えません。");
    case ENOEXEC: return QStringLiteral("実行できる形式のファイルではありません。");
    default: return QStringLiteral("システム エラー %1 が発生しました。").arg(e);
    }
}

QString systemReasonOfText(const QString &text)
{
    static const int known[] = {EACCES, EPERM,  EROFS, ENOENT, ENOTDIR, ENOSPC, EDQUOT, EFBIG, ENAMETOOLONG, ELOOP,
                                EISDIR, EEXIST, EMFILE, ENFILE, EBUSY,   ETXTBSY, ENOMEM, EXDEV, EMLINK, ENXIO,
                                ENODEV, EIO,    ESTALE, ENOEXEC, EINVAL};
    for (const int e : known) {
        // The C library's untranslated text and the one in the locale's words.
        for (const char *said : {::strerrordesc_np(e), static_cast<const char *>(std::strerror(e))}) {
            const QString words = QString::fromLocal8Bit(said);
            if (!words.isEmpty() && text.contains(words, Qt::CaseInsensitive))
                return systemReason(e);
        }
    }
    return QStringLiteral("システムのエラーで失敗しました。");
}

} // namespace vx
