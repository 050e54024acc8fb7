#include "syserror.h"

#include <cerrno>

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
    default: return QStringLiteral("システム エラー %1 が発生しました。").arg(e);
    }
}

} // namespace vx
