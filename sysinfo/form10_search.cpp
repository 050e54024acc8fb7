// The file search tab.
#include "form10.h"

#include "platform/core/errors.h"
#include "platform/core/userfileqt.h"
#include "platform/dialogs/dialogs.h"
#include "platform/system/system.h"
#include "suite/filedialogs.h"

#include <QSaveFile>

void Form10::cmdFind_Click()
{
    // A search still running is replaced, not interleaved.
    search_.cancel();
    List2.Clear();
    List2.hide();
    searchClock_.start();
    const bool recurse = chkSubFolder.Value() == 1;
    lblProgress.setCaption(Dir1.Path());
    try {
        search_.start(Dir1.Path(), txtFilename.Text(), recurse);
    } catch (...) {
        List2.show();
        throw;
    }
    progress_.start();
}

void Form10::searchFinished()
{
    progress_.stop();
    const qint64 seconds = searchClock_.elapsed() / 1000;
    lblProgress.setCaption(QStringLiteral("検索結果： ") + QString::number(List2.ListCount()) +
                           QStringLiteral("個    検索時間：") + QString::number(seconds) + QStringLiteral("秒"));
    List2.show();
}

void Form10::Drive1_Change()
{
    // Putting the drive back must not move the folder list to that drive's root.
    if (restoringDrive_)
        return;
    for (;;) {
        try {
            Dir1.setPath(Drive1.Drive());
            return;
        } catch (const vx::RuntimeError &e) {
            if (vx::MsgBox(e.description(), vx::vbRetryCancel | vx::vbCritical) != vx::vbRetry) {
                restoringDrive_ = true;
                try {
                    Drive1.setDrive(vx::driveOfPath(Dir1.Path()));
                } catch (...) {
                    restoringDrive_ = false;
                    throw;
                }
                restoringDrive_ = false;
                return;
            }
        }
    }
}

void Form10::Command17_Click()
{
    if (List2.ListIndex() < 0) {
        vx::MsgBox(QStringLiteral("リストの中から起動したいファイルのパスを選択してください"));
        return;
    }
    vx::shellDriver().open(List2.List(List2.ListIndex()));
}

void Form10::Command15_Click()
{
    vx::MsgBox(QStringLiteral("保存するファイル名.txtと入力して保存してください。"));
    const QString path = suite::ShowSaveFileDialog(
        this, QStringLiteral("テキストファイル(*.txt)") + QChar(0) + QStringLiteral("*.txt") + QChar(0));
    if (path.isEmpty())
        return;
    // Written beside the target and renamed over it once complete; a FIFO or a
    // device behind a link is never replaced.
    QSaveFile f(path);
    bool ok = vx::checkSaveTarget(path) == vx::UserFileStatus::Ok && f.open(QIODevice::WriteOnly);
    QByteArray chunk;
    for (int i = 0; ok && i < List2.ListCount(); ++i) {
        chunk += List2.List(i).toUtf8();
        chunk += "\r\n";
        if (chunk.size() >= (1 << 20)) {
            ok = f.write(chunk) == chunk.size();
            chunk.clear();
        }
    }
    if (ok && !chunk.isEmpty())
        ok = f.write(chunk) == chunk.size();
    if (ok)
        ok = f.commit();
    else
        f.cancelWriting();
    if (!ok)
        vx::MsgBox(QStringLiteral("一覧を保存出来ませんでした。\n") + path, vx::vbExclamation);
}
