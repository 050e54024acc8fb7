// The tag editor's layout, genre list and handler wiring. Both field sets are
// shown: the design size left the ID3v2 set out of reach.
#include "form31.h"
#include "platform/forms/events.h"

#include "suite/ending.h"

#include <QAccessible>
#include <QLineEdit>
#include <QKeySequence>

namespace {

// A label names its box for the keyboard (mnemonic focus) and for assistive technology.
void name(vx::Label &label, QWidget &box)
{
    label.setBuddy(&box);
    box.setAccessibleName(label.Caption().simplified());
}

void maxLength(vx::TextBox &box, int chars)
{
    if (auto *line = qobject_cast<QLineEdit *>(box.editor()))
        line->setMaxLength(chars);
}

} // namespace

const QStringList &Form31::genres()
{
    static const QStringList list = QStringLiteral(
        "ブルース,クラシックロック,カントリー,ダンス,ディスコ,ファンク,グランジ,ヒップホップ,ジャズ,メタル,"
        "ニューエイジ,オールディーズ,その他,ポップ,R&B,ラップ,レゲエ,ロック,テクノ,インダストリアル,"
        "オルタナティヴ,スカ,デスメタル,プランクス,サウンドトラック,ユーロテクノ,アンビエント,トリップホップ,ヴォーカル,"
        "ジャズ＋ファンク,フュージョン,トランス,クラシカル,インストゥルメンタル,アシッド,ハウス,ゲーム,サウンドクリップ,"
        "ゴスペル,ノイズ,アルタナロック,ベース,ソウル,パンク,スペース,メディテイティブ,インストゥルメンタルポップ,"
        "インストゥルメンタルロック,エスニック,ゴシック,ダークウェイブ,テクノ－インダストリアル,エレクトロニック,"
        "ポップ－フォーク,ユーロダンス,ドリーム,サザンロック,コメディ,カルト,ガングスタ,トップ４０,クリスチャンラップ,"
        "ポップ／ファンク,ジャングル,ネイティブアメリカン,カバレット,ニューウェイブ,サイケデリック,レイブ,ショートゥ－ン,"
        "トレーラー,ローファイ,トライバル,アシッドパンク,アシッドジャズ,ポルカ,レトロ,ミュージカル,ロックンロール,"
        "ハードロック,フォーク,フォークロック,ナショナルフォーク,スイング,ファーストフュージョン,べボブ,ラテン,リバイバル,"
        "セルティック,ブルーグラス,アバンギャルド,ゴシックロック,プログレッシブロック,サイケデリックロック,"
        "シンフォニックロック,スローロック,ビッグバンド,コーラス,イージーリスニング,アコースティック,ユーモア,スピーチ,"
        "シャンソン,オペラ,室内楽,ソナタ,シンフォニー,ブーティベース,首相,ポルノグル－ヴ,風刺,スロージャム,クラブ,"
        "タンゴ,サンバ,フォルクローレ,バラード,パワーバラード,リズミックソウル,フリースタイル,デュエット,パンクロック,"
        "ドラムソロ,アカペラ,ユーロハウス,ダンスホール").split(QLatin1Char(','));
    return list;
}

Form31::Form31() : vx::Form(QStringLiteral("Form31"))
{
    setCaption(QStringLiteral("Multimedia Rondix Ⅱ Tag Editor Ver.1.0β"));
    layout();
    wire();
}

void Form31::layout()
{
    setClientSize(11280, 7800);
    Image1.setStretch(true);
    Image1.lower();
    QFont title = Label6.font();
    title.setBold(true);
    Label6.setFont(title);
    Label6.Move(120, 120, 5265, 300);
    for (const char *item : {"ID3v1", "ID3v1.1", "ID3v2.2", "ID3v2.3"})
        VersionCombo.AddItem(QString::fromLatin1(item));
    VersionCombo.AddItem(QStringLiteral("タグなし"));
    name(Label1, VersionCombo);

    // ID3v1: label column, box column; rows 360 twips apart.
    struct Row {
        vx::Label *label;
        QWidget *box;
        int y;
    };
    const Row v1Rows[] = {{&Label3, &TitleText, 300},  {&Label2, &ArtistText, 660}, {&Label4, &AlbumText, 1020},
                          {&Label5, &YearText, 1380},  {&Label8, &GenreCombo, 1740}, {&Label7, &CommentText, 2100}};
    for (const Row &r : v1Rows) {
        r.label->Move(120, r.y + 30, 1095, 255);
        r.box->setGeometry(vx::toPixels(1320), vx::toPixels(r.y), vx::toPixels(3800), vx::toPixels(300));
        name(*r.label, *r.box);
    }
    YearText.setWidth(900);
    name(TrackLabel, TrackText);
    maxLength(TitleText, 30);
    maxLength(ArtistText, 30);
    maxLength(AlbumText, 30);
    maxLength(CommentText, 30);
    maxLength(YearText, 4);
    maxLength(TrackText, 2);
    for (const QString &g : genres())
        GenreCombo.AddItem(g);

    const Row v2Rows[] = {{&Label10, &SeriesText, 300},    {&Label11, &TitleText2, 660},
                          {&Label12, &SubtitleText, 1020}, {&Label13, &PerformerText, 1380},
                          {&Label14, &BandText, 1860},     {&Label15, &Conductortext, 2340},
                          {&Label16, &RemixText, 2700},    {&Label17, &AlbumText2, 3060},
                          {&Label18, &TrackText2, 3420},   {&Label21, &YearText2, 3780},
                          {&Label19, &GenreText, 4140},    {&Label20, &CommentText2, 4500}};
    for (const Row &r : v2Rows) {
        r.label->Move(120, r.y + 30, 2400, 255);
        r.box->setGeometry(vx::toPixels(2580), vx::toPixels(r.y), vx::toPixels(2940), vx::toPixels(300));
        name(*r.label, *r.box);
    }
    // The caption's wide spaces put "オーケストラ" on a second line.
    Label14.Move(120, 1860, 1680, 420);
    Label14.setWordWrap(true);
    TrackText2.setWidth(900);
    TrackText3.setAccessibleName(QStringLiteral("トラック数"));
    YearText2.setWidth(900);
    CommentText3.setAccessibleName(QStringLiteral("コメント本文"));
    UnsynchronisationCheck.Move(120, 6120, 2600, 300);
    // A frame inside a frame would be read by the outer one's caption.
    EncodingFrame.setAccessibleName(EncodingFrame.Caption());
    OptionUnicode.Move(120, 360, 2600, 300);
    OptionLatin.Move(2760, 360, 2500, 300);
    OptionLatin.setValue(true);

    FileNameText.setWordWrap(true);
    FileNameText.setAlignment(Qt::AlignLeft | Qt::AlignTop);
    FileNameText.setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
    FileNameText.setAccessibleDescription(QStringLiteral("ファイル"));

    Open.action()->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_O));
    FileSave.action()->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_S));
    Quit.action()->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Q));
    Cut.action()->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_X));
    Copy.action()->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_C));
    Paste.action()->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_V));
    for (vx::Menu *m : {&Open, &FileSave, &Quit, &Cut, &Copy, &Paste})
        m->action()->setShortcutContext(Qt::WindowShortcut);
    setTabOrder(&VersionCombo, &TitleText);
}

void Form31::wire()
{
    suite::registerEndCheck(QStringLiteral("Form31"), &tags::confirmEnd);
    // Every field, the version and the options count as an edit; the load
    // steps clear the mark once they have filled the boxes.
    const auto edited = [this] { modified_ = true; };
    VersionCombo.Click = [this, edited] {
        VersionCombo_Click();
        edited();
    };
    TitleText.Change = [this, edited] {
        TitleText_Change();
        edited();
    };
    ArtistText.Change = [this, edited] {
        ArtistText_Change();
        edited();
    };
    AlbumText.Change = [this, edited] {
        AlbumText_Change();
        edited();
    };
    CommentText.Change = [this, edited] {
        CommentText_Change();
        edited();
    };
    for (vx::TextBox *box : std::initializer_list<vx::TextBox *>{&YearText, &TrackText, &SeriesText, &TitleText2, &SubtitleText, &PerformerText,
                             &BandText, &Conductortext, &RemixText, &AlbumText2, &TrackText2, &TrackText3,
                             &YearText2, &GenreText, &CommentText2, &CommentText3})
        box->Change = edited;
    GenreCombo.Click = edited;
    UnsynchronisationCheck.Click = edited;
    CompressCheck.Click = edited;
    OptionUnicode.Click = edited;
    OptionLatin.Click = edited;
    vx::bindEvents(*this);
}
