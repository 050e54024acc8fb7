#include "errors.h"

namespace vx {

QString errorText(int number)
{
    switch (number) {
    case 5: return QStringLiteral("プロシージャの呼び出し、または引数が不正です。");
    case 6: return QStringLiteral("オーバーフローしました。");
    case 7: return QStringLiteral("メモリが不足しています。");
    case 9: return QStringLiteral("インデックスが有効範囲にありません。");
    case 11: return QStringLiteral("0 で除算しました。");
    case 13: return QStringLiteral("型が一致しません。");
    case 52: return QStringLiteral("ファイル名または番号が不正です。");
    case 53: return QStringLiteral("ファイルが見つかりません。");
    case 55: return QStringLiteral("ファイルは既に開かれています。");
    case 57: return QStringLiteral("デバイス I/O エラーです。");
    case 58: return QStringLiteral("既に同名のファイルが存在しています。");
    case 61: return QStringLiteral("ディスクの空き容量が不足しています。");
    case 68: return QStringLiteral("デバイスが準備されていません。");
    case 70: return QStringLiteral("書き込みできません。");
    case 71: return QStringLiteral("ディスクが準備されていません。");
    case 75: return QStringLiteral("パス名が無効です。");
    case 76: return QStringLiteral("パスが見つかりません。");
    case 380: return QStringLiteral("プロパティの値が不正です。");
    case 481: return QStringLiteral("ピクチャが不正です。");
    case 482: return QStringLiteral("プリンタ エラーです。");
    case 32755: return QStringLiteral("[キャンセル] が選択されました。");
    default: return QString();
    }
}

RuntimeError::RuntimeError(int number, const QString &description)
    : std::runtime_error(QStringLiteral("error %1: %2")
                             .arg(number)
                             .arg(description.isEmpty() ? errorText(number) : description)
                             .toStdString()),
      number_(number),
      description_(description.isEmpty() ? errorText(number) : description)
{
}

void raise(int number, const QString &detail)
{
    QString text = errorText(number);
    if (!detail.isEmpty())
        text = text.isEmpty() ? detail : text + QStringLiteral("\n") + detail;
    throw RuntimeError(number, text);
}

} // namespace vx
