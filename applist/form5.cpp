#include "form5.h"
#include "platform/forms/events.h"

#include "applist/form6.h"
#include "applist/keys.h"
#include "suite/settings.h"
#include "platform/store/store.h"
#include "platform/system/startprogram.h"

#include <QAbstractItemModel>
#include <QFontMetrics>

using applist::keys::kAppCount;
using applist::keys::kSection;

namespace applist {

namespace {
Starter g_starter;
} // namespace

int storedCount()
{
    return std::max<int>(0, suite::GetInteger(kSection, kAppCount, QStringLiteral("0")));
}

void setStarter(Starter starter) { g_starter = std::move(starter); }

static bool start(const QString &path, QString *why)
{
    return g_starter ? g_starter(path, why) : vx::startProgram(path, why);
}

} // namespace applist

namespace {
QString entryKey(int k) { return QString::number(k); }
QString storedPath(int k) { return suite::GetSetting(kSection, entryKey(k), QString()); }
// The highest entry number the store holds a key for (a count past it,
// written by hand, names nothing more).
int highestStoredKey()
{
    int highest = 0;
    for (const QString &key : vx::store::Keys(suite::kApp, kSection))
        highest = std::max(highest, key.toInt());
    return highest;
}
} // namespace

Form5::Form5() : vx::Form(QStringLiteral("Form5"))
{
    setCaption(QStringLiteral("Kinvoke Version1.4"));
    setClientSize(7800, 4275);
    setFixedSize(size());

    Label1.Move(120, 120, 7560, 255);
    List1.setToolTipText(QStringLiteral("現在登録されているアプリケーションの一覧です"));
    AppAdd.setToolTipText(QStringLiteral("新しく一覧に追加します"));
    AppDel.setToolTipText(QStringLiteral("選択されているのを一覧から削除します"));
    Command1.setToolTipText(QStringLiteral("リストのフォントを変更します"));
    Exit.setToolTipText(QStringLiteral("Kinvokeを終わります"));

    // Registration appends to the list from the other window: the extent follows.
    connect(List1.model(), &QAbstractItemModel::rowsInserted, this, [this] { fitExtent(); });
    connect(List1.model(), &QAbstractItemModel::rowsRemoved, this, [this] { fitExtent(); });

    vx::bindEvents(*this);
}

void Form5::Form_Load()
{
    AppTotal = static_cast<qint16>(applist::storedCount());
    if (AppTotal == 0) {
        askForFirstProgram();
    } else {
        // Past the limit only an outside edit goes: the first ones are shown.
        const int shown = std::min<int>(AppTotal, applist::kMaxApps);
        for (AppIndex = 1; AppIndex <= shown; ++AppIndex) {
            AppPaths[AppIndex] = storedPath(AppIndex);
            List1.AddItem(AppPaths[AppIndex]);
        }
    }
    AppDel.setEnabled(false);
    fitExtent();
    suite::applyPointer(*this);
}

void Form5::List1_Click() { AppDel.setEnabled(true); }

void Form5::AppAdd_Click() { vx::instance<Form6>().Show(1); }

void Form5::AppDel_Click()
{
    AppTotal = static_cast<qint16>(applist::storedCount());
    SelectedEntry = static_cast<qint16>(List1.ListIndex());
    if (SelectedEntry < 0)
        return;
    List1.RemoveItem(SelectedEntry);
    AppTotal = static_cast<qint16>(std::max(0, AppTotal - 1));
    suite::SaveSetting(kSection, kAppCount, QString::number(AppTotal));
    // The rest close up in their order: as the list shows them, then (past
    // what the list holds) as the store holds them, so no path is lost.
    const int listed = List1.ListCount();
    const int last = std::min<int>(AppTotal, highestStoredKey());
    for (int k = 1; k <= AppTotal; ++k) {
        if (k <= listed)
            suite::SaveSetting(kSection, entryKey(k), List1.List(k - 1));
        else if (k <= last)
            suite::SaveSetting(kSection, entryKey(k), storedPath(k + 1));
    }
    for (int k = List1.ListCount() + 1; k <= std::min<int>(AppTotal, applist::kMaxApps); ++k)
        List1.AddItem(storedPath(k));
    if (AppTotal == 0)
        askForFirstProgram();
    AppDel.setEnabled(false);
}

void Form5::Run_Click()
{
    AppTotal = static_cast<qint16>(applist::storedCount());
    const int count = std::min<int>(AppTotal, applist::kMaxApps);
    QStringList failed;
    for (AppIndex = 1; AppIndex <= count; ++AppIndex) {
        AppPaths[AppIndex] = storedPath(AppIndex);
        QString why;
        if (applist::start(AppPaths[AppIndex], &why))
            continue;
        if (AppPaths[AppIndex].isEmpty())
            failed << QStringLiteral("%1番: （登録が空です）").arg(AppIndex);
        else
            failed << QStringLiteral("%1番: %2（%3）").arg(AppIndex).arg(AppPaths[AppIndex], why);
    }
    setWindowState(windowState() & ~(Qt::WindowMinimized | Qt::WindowMaximized | Qt::WindowFullScreen));
    // One message for all: the rest were started all the same.
    if (!failed.isEmpty())
        vx::MsgBox(QStringLiteral("次のアプリケーションを起動できませんでした。\n\n") + failed.join(QLatin1Char('\n')),
                   vx::vbExclamation);
}

void Form5::Command1_Click()
{
    const QFont current = List1.font();
    CommonDialog1.Font.name = current.family();
    CommonDialog1.Font.size = current.pointSizeF();
    CommonDialog1.Font.bold = current.bold();
    CommonDialog1.Font.italic = current.italic();
    if (!CommonDialog1.ShowFont())
        return;
    // The face stays the layout's; only size, bold and italic are taken.
    QFont f = List1.font();
    f.setPointSizeF(CommonDialog1.Font.size);
    f.setBold(CommonDialog1.Font.bold);
    f.setItalic(CommonDialog1.Font.italic);
    List1.setFont(f);
    fitExtent();
}

void Form5::Exit_Click() { Unload(); }

void Form5::fitExtent()
{
    const QFontMetrics metrics(List1.font());
    int widest = 0;
    for (int i = 0; i < List1.ListCount(); ++i)
        widest = std::max(widest, metrics.horizontalAdvance(List1.List(i)));
    // The item's own margins and a little air after the text.
    List1.setHorizontalExtent(widest > 0 ? widest + 12 : 0);
}

void Form5::askForFirstProgram()
{
    vx::MsgBox(QStringLiteral("アプリケーションを登録してください。"));
    vx::instance<Form6>().Show(1);
}
