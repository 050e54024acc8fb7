// Qt's own dialogs (file, message box buttons, colour, font, printer) and the
// text controls' context menus speak English unless a translation is loaded.
// No Qt translation files ship with the system, so the texts the suite's
// dialogs show are kept here. Looked up by source text alone: Qt's contexts
// move between releases, the English texts do not.
#include "qttexts.h"

#include <QCoreApplication>
#include <QHash>
#include <QPointer>
#include <QTranslator>

namespace vx {

namespace {

struct Pair {
    const char *en;
    const char *ja;
};

// clang-format off
const Pair kTexts[] = {
    // Standard buttons (message boxes, button boxes).
    {"OK", "OK"}, {"&OK", "OK"}, {"Cancel", "キャンセル"}, {"&Cancel", "キャンセル"},
    {"Yes", "はい(&Y)"}, {"&Yes", "はい(&Y)"}, {"No", "いいえ(&N)"}, {"&No", "いいえ(&N)"},
    {"Yes to &All", "すべてはい(&A)"}, {"Yes to All", "すべてはい(&A)"},
    {"N&o to All", "すべていいえ(&O)"}, {"No to All", "すべていいえ(&O)"},
    {"Abort", "中止(&A)"}, {"&Abort", "中止(&A)"}, {"Retry", "再試行(&R)"}, {"&Retry", "再試行(&R)"},
    {"Ignore", "無視(&I)"}, {"&Ignore", "無視(&I)"}, {"Close", "閉じる"}, {"&Close", "閉じる"},
    {"Apply", "適用(&A)"}, {"&Apply", "適用(&A)"}, {"Reset", "リセット"}, {"&Reset", "リセット"},
    {"Help", "ヘルプ"}, {"&Help", "ヘルプ"}, {"Save", "保存(&S)"}, {"&Save", "保存(&S)"},
    {"Save All", "すべて保存"}, {"Open", "開く(&O)"}, {"&Open", "開く(&O)"},
    {"Discard", "破棄"}, {"Don't Save", "保存しない"}, {"Close without Saving", "保存せずに閉じる"},
    {"Restore Defaults", "既定値に戻す"}, {"&Choose", "選択(&C)"}, {"Choose", "選択"},
    {"Show Details...", "詳細を表示..."}, {"Hide Details...", "詳細を隠す..."},
    {"About Qt", "Qt について"},
    // File dialog.
    {"Look in:", "ファイルの場所:"}, {"File &name:", "ファイル名(&N):"}, {"File name:", "ファイル名:"},
    {"Files of type:", "ファイルの種類:"}, {"Directory:", "フォルダー:"}, {"Find Directory", "フォルダーの選択"},
    {"Save As", "名前を付けて保存"}, {"Open File", "ファイルを開く"},
    {"Back", "戻る"}, {"Forward", "進む"}, {"Parent Directory", "1 つ上のフォルダーへ"},
    {"Create New Folder", "新しいフォルダーの作成"}, {"List View", "一覧"}, {"Detail View", "詳細"},
    {"Go back", "戻る"}, {"Go forward", "進む"}, {"Go to the parent directory", "1 つ上のフォルダーへ"},
    {"Create a New Folder", "新しいフォルダーの作成"}, {"Change to list view mode", "一覧表示"},
    {"Change to detail view mode", "詳細表示"}, {"Sidebar", "サイドバー"},
    {"List of places and bookmarks", "場所とブックマークの一覧"}, {"Files", "ファイル"},
    {"&Rename", "名前の変更(&R)"}, {"&Delete", "削除(&D)"}, {"Show &hidden files", "隠しファイルを表示(&H)"},
    {"&New Folder", "新しいフォルダー(&N)"}, {"New Folder", "新しいフォルダー"}, {"Show ", "表示 "},
    {"Recent Places", "最近使った場所"}, {"My Computer", "マイ コンピューター"}, {"Computer", "コンピューター"},
    {"Remove", "削除"}, {"All Files (*)", "すべてのファイル (*)"}, {"All files (*)", "すべてのファイル (*)"},
    {"Directories", "フォルダー"}, {"Drive", "ドライブ"}, {"File", "ファイル"}, {"File Folder", "ファイル フォルダー"},
    {"Folder", "フォルダー"}, {"Directory", "フォルダー"}, {"Alias", "エイリアス"}, {"Shortcut", "ショートカット"},
    {"Unknown", "不明"}, {"Name", "名前"}, {"Size", "サイズ"}, {"Kind", "種類"}, {"Type", "種類"},
    {"Date Modified", "更新日時"}, {"%1 TB", "%1 TB"}, {"%1 GB", "%1 GB"}, {"%1 MB", "%1 MB"},
    {"%1 KB", "%1 KB"}, {"%1 bytes", "%1 バイト"}, {"%1 byte(s)", "%1 バイト"},
    {"Invalid filename", "ファイル名が正しくありません"},
    {"<b>The name \"%1\" cannot be used.</b><p>Try using another name, with fewer characters or no punctuation marks.",
     "<b>\"%1\" という名前は使えません。</b><p>文字を減らすか、記号を使わない名前にしてください。"},
    {"%1\nDirectory not found.\nPlease verify the correct directory name was given.",
     "%1\nフォルダーが見つかりません。\nフォルダー名を確かめてください。"},
    {"%1\nFile not found.\nPlease verify the correct file name was given.",
     "%1\nファイルが見つかりません。\nファイル名を確かめてください。"},
    {"%1 already exists.\nDo you want to replace it?", "%1 は既に存在します。\n置き換えますか?"},
    {"'%1' is write protected.\nDo you want to delete it anyway?", "'%1' は書き込み禁止です。\n削除しますか?"},
    {"Are you sure you want to delete '%1'?", "'%1' を削除しますか?"},
    {"Could not delete directory.", "フォルダーを削除できませんでした。"},
    {"Delete", "削除"},
    // Colour dialog.
    {"Hu&e:", "色合い(&E):"}, {"&Sat:", "鮮やかさ(&S):"}, {"&Val:", "明るさ(&V):"}, {"&Red:", "赤(&R):"},
    {"&Green:", "緑(&G):"}, {"Bl&ue:", "青(&U):"}, {"A&lpha channel:", "不透明度(&L):"}, {"&HTML:", "&HTML:"},
    {"&Basic colors", "基本色(&B)"}, {"&Custom colors", "作成した色(&C)"},
    {"&Add to Custom Colors", "色の追加(&A)"}, {"&Pick Screen Color", "画面から色を取得(&P)"},
    {"Select Color", "色の設定"},
    {"Cursor at %1, %2\nPress ESC to cancel", "カーソル位置 %1, %2\nEsc キーで取り消します"},
    // Font dialog.
    {"&Font", "フォント名(&F)"}, {"Font st&yle", "スタイル(&Y)"}, {"&Size", "サイズ(&S)"}, {"Effects", "文字飾り"},
    {"Stri&keout", "取り消し線(&K)"}, {"&Underline", "下線(&U)"}, {"Sample", "サンプル"},
    {"Wr&iting System", "文字セット(&R)"}, {"Select Font", "フォントの指定"},
    {"Normal", "標準"}, {"Regular", "標準"}, {"Italic", "斜体"}, {"Oblique", "斜体"}, {"Bold", "太字"},
    {"Bold Italic", "太字 斜体"}, {"Light", "細字"}, {"Medium", "中太"}, {"Demi Bold", "やや太字"},
    {"Black", "極太"}, {"Any", "すべて"}, {"Latin", "欧文"}, {"Japanese", "日本語"}, {"Symbol", "記号"},
    // Printer dialog and page setup.
    {"Print", "印刷"}, {"&Print", "印刷(&P)"}, {"Printer", "プリンター"}, {"&Name:", "プリンター名(&N):"},
    {"P&roperties", "プロパティ(&R)"}, {"Location:", "場所:"}, {"Preview", "プレビュー"}, {"Type:", "種類:"},
    {"Output &file:", "出力ファイル(&F):"}, {"&Options >>", "オプション(&O) >>"}, {"&Options <<", "オプション(&O) <<"},
    {"Print to File (PDF)", "ファイルへ出力 (PDF)"}, {"Local file", "ローカル ファイル"},
    {"Write PDF file", "PDF ファイルに書き出す"}, {"Print To File ...", "ファイルへ出力..."},
    {"Print range", "印刷範囲"}, {"Print all", "すべて"}, {"Pages from", "ページ指定"}, {"to", "から"},
    {"Selection", "選択した部分"}, {"Current Page", "現在のページ"}, {"Pages", "ページ"},
    {"Output Settings", "出力の設定"}, {"Copies", "部数"}, {"Copies:", "部数:"}, {"Collate", "部単位で印刷"},
    {"Reverse", "逆順"}, {"Options", "オプション"}, {"Color Mode", "カラー モード"}, {"Color", "カラー"},
    {"Grayscale", "グレースケール"}, {"Duplex Printing", "両面印刷"}, {"None", "なし"},
    {"Long side", "長辺とじ"}, {"Short side", "短辺とじ"}, {"Page", "ページ"}, {"Advanced", "詳細設定"},
    {"Job", "ジョブ"}, {"Paper", "用紙"}, {"Page size:", "用紙サイズ:"}, {"Width:", "幅:"}, {"Height:", "高さ:"},
    {"Paper source:", "給紙方法:"}, {"Orientation", "印刷の向き"}, {"Portrait", "縦"}, {"Landscape", "横"},
    {"Reverse landscape", "横 (逆向き)"}, {"Reverse portrait", "縦 (逆向き)"}, {"Margins", "余白"},
    {"top margin", "上余白"}, {"left margin", "左余白"}, {"right margin", "右余白"}, {"bottom margin", "下余白"},
    {"Page Layout", "ページ レイアウト"}, {"Page order:", "ページの順序:"}, {"Pages per sheet:", "1 枚あたりのページ数:"},
    {"Page Setup", "ページ設定"}, {"Page setup", "ページ設定"}, {"Custom", "ユーザー定義"},
    {"Millimeters (mm)", "ミリメートル (mm)"}, {"Inches (in)", "インチ (in)"}, {"Points (pt)", "ポイント (pt)"},
    {"Print Preview", "印刷プレビュー"}, {"Automatic", "自動"}, {"Auto", "自動"},
    {"Job Options", "ジョブのオプション"}, {"Scheduled printing:", "印刷の予約:"}, {"Billing information:", "課金情報:"},
    {"Job priority:", "ジョブの優先度:"}, {"Banner Pages", "バナー ページ"}, {"Start:", "開始:"}, {"End:", "終了:"},
    {"Print Immediately", "すぐに印刷"}, {"Hold Indefinitely", "保留"}, {"Day (06:00 to 17:59)", "昼 (6:00～17:59)"},
    {"Night (18:00 to 05:59)", "夜 (18:00～5:59)"}, {"Second Shift (16:00 to 23:59)", "第 2 シフト (16:00～23:59)"},
    {"Third Shift (00:00 to 07:59)", "第 3 シフト (0:00～7:59)"}, {"Weekend (Saturday to Sunday)", "週末 (土曜～日曜)"},
    {"Specific Time", "時刻指定"}, {"Unclassified", "機密指定なし"}, {"Confidential", "社外秘"},
    {"Classified", "機密"}, {"Secret", "極秘"}, {"Top Secret", "最高機密"}, {"Standard", "標準"},
    {"Invalid Pages Definition", "ページ指定が正しくありません"},
    {"%1 does not follow the correct syntax. Please use ',' to separate ranges and pages, '-' to define ranges "
     "and make sure ranges do not intersect with each other.",
     "%1 は正しい書き方ではありません。範囲とページは ',' で区切り、範囲は '-' で示し、範囲が重ならないようにしてください。"},
    {"Duplex Settings Conflicts", "両面印刷の設定が合いません"}, {"Advanced Option Conflicts", "詳細設定が合いません"},
    {"There are conflicts in some advanced options. Please fix them.", "詳細設定に合わないものがあります。直してください。"},
    {"There are conflicts in duplex settings. Please fix them.", "両面印刷の設定に合わないものがあります。直してください。"},
    {"Print error", "印刷エラー"}, {"Please choose a different file name.", "別のファイル名を選んでください。"},
    {"%1 is a directory.\nPlease choose a different file name.", "%1 はフォルダーです。\n別のファイル名を選んでください。"},
    {"File %1 is not writable.\nPlease choose a different file name.", "%1 に書き込めません。\n別のファイル名を選んでください。"},
    {"%1 already exists.\nDo you want to overwrite it?", "%1 は既に存在します。\n置き換えますか?"},
    {"The 'From' value cannot be greater than the 'To' value.", "開始ページは終了ページより後にできません。"},
    {"Print current page", "現在のページを印刷"}, {"Print selection", "選択した部分を印刷"},
    {"Zoom in", "拡大"}, {"Zoom out", "縮小"}, {"Fit width", "幅に合わせる"},
    {"Fit page", "ページに合わせる"}, {"First page", "最初のページ"}, {"Previous page", "前のページ"},
    {"Next page", "次のページ"}, {"Last page", "最後のページ"}, {"Page Setup...", "ページ設定..."},
    {"Export to PDF", "PDF に書き出す"}, {"PDF", "PDF"},
    // Text controls' context menus and scroll bars.
    {"&Undo", "元に戻す(&U)"}, {"&Redo", "やり直し(&R)"}, {"Cu&t", "切り取り(&T)"}, {"&Copy", "コピー(&C)"},
    {"Copy &Link Location", "リンクのコピー(&L)"}, {"&Paste", "貼り付け(&P)"}, {"Select All", "すべて選択"},
    {"Insert Unicode control character", "Unicode 制御文字の挿入"}, {"&Step up", "増やす(&S)"},
    {"Step &down", "減らす(&D)"}, {"&Select All", "すべて選択(&S)"}, {"Scroll here", "ここにスクロール"},
    {"Left edge", "左端"}, {"Top", "上端"}, {"Right edge", "右端"}, {"Bottom", "下端"}, {"Page left", "1 ページ左へ"},
    {"Page up", "1 ページ上へ"}, {"Page right", "1 ページ右へ"}, {"Page down", "1 ページ下へ"},
    {"Scroll left", "左へスクロール"}, {"Scroll up", "上へスクロール"}, {"Scroll right", "右へスクロール"},
    {"Scroll down", "下へスクロール"}, {"Enter a value:", "値を入力してください:"},
    {"&Show this message again", "このメッセージを再び表示する(&S)"},
};
// clang-format on

class JapaneseQtTexts : public QTranslator {
public:
    JapaneseQtTexts()
    {
        for (const Pair &p : kTexts)
            table_.insert(QByteArray(p.en), QString::fromUtf8(p.ja));
    }
    bool isEmpty() const override { return false; }
    QString translate(const char *context, const char *sourceText, const char *, int) const override
    {
        // Only Qt's own classes ask with English source texts.
        if (!context || context[0] != 'Q' || !sourceText)
            return QString();
        return table_.value(QByteArray(sourceText));
    }

private:
    QHash<QByteArray, QString> table_;
};

} // namespace

void installJapaneseQtTexts()
{
    // One per application object (it goes with it).
    static QPointer<QTranslator> installed;
    if (installed || !QCoreApplication::instance())
        return;
    installed = new JapaneseQtTexts;
    installed->setParent(QCoreApplication::instance());
    QCoreApplication::installTranslator(installed);
}

QString japaneseQtText(const char *english)
{
    return QCoreApplication::translate("QPlatformTheme", english);
}

} // namespace vx
