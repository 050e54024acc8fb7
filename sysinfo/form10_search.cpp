// The file search tab.
#include "form10.h"

#include "platform/core/errors.h"
#include "platform/core/savefile.h"
#include "platform/dialogs/dialogs.h"
#include "platform/system/system.h"
#include "suite/filedialogs.h"


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
    vx::ShellOpen(List2.List(List2.ListIndex()));
}

void Form10::Command15_Click()
{
    vx::MsgBox(QStringLiteral("保存するファイル名.txtと入力して保存してください。"));
    const QString path = suite::ShowSaveFileDialog(
        this, QStringLiteral("テキストファイル(*.txt)") + QChar(0) + QStringLiteral("*.txt") + QChar(0));
    if (path.isEmpty())
        return;
    // The old file is replaced only once the new one is complete; a FIFO or a
    // device behind a link is never replaced.
    QByteArray bytes;
    for (int i = 0; i < List2.ListCount(); ++i) {
        bytes += List2.List(i).toUtf8();
        bytes += "\r\n";
    }
    const vx::SaveResult saved = vx::saveUserFile(path, bytes);
    if (!saved.ok())
        vx::MsgBox(QStringLiteral("一覧を保存出来ませんでした。\n") + path + QLatin1Char('\n') + saved.reason(),
                   vx::vbExclamation);
}
