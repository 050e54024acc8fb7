#include "form6.h"
#include "platform/forms/events.h"

#include "applist/form5.h"
#include "applist/keys.h"
#include "suite/settings.h"
#include "platform/core/errors.h"
#include "platform/dialogs/dialogs.h"
#include "platform/system/system.h"

using applist::keys::kAppCount;
using applist::keys::kSection;

Form6::Form6() : vx::Form(QStringLiteral("Form6"))
{
    setCaption(QStringLiteral("Kinvoke Version1.4"));
    setClientSize(6240, 4305);
    setFixedSize(size());

    Drive1.setToolTipText(QStringLiteral("ドライブを選択してください"));
    Dir1.setToolTipText(QStringLiteral("フォルダを選択してください"));
    File1.setToolTipText(QStringLiteral("追加するアプリケーションを選択してください"));
    // Programs here are the files the user may run, whatever their names.
    File1.setExecutablesOnly(true);
    File1.setPath(Dir1.Path());
    AddProgram.setToolTipText(QStringLiteral("選択したアプリケーションを追加します"));
    BackBtn.setToolTipText(QStringLiteral("前の画面に戻ります"));

    vx::bindEvents(*this);
}

void Form6::Form_Load()
{
    RegisteredCount = static_cast<qint16>(applist::storedCount());
    suite::applyPointer(*this);
}

// A drive that cannot be read leaves the folder list where it was.
void Form6::Drive1_Change()
{
    try {
        Dir1.setPath(Drive1.Drive());
    } catch (const vx::RuntimeError &) {
    }
}

void Form6::Dir1_Change() { File1.setPath(Dir1.Path()); }

void Form6::AddProgram_Click() { RegisterProgram(); }
void Form6::File1_DblClick() { RegisterProgram(); }
void Form6::BackBtn_Click() { Hide(); }

void Form6::RegisterProgram()
{
    // A folder is no program: without a chosen file there is nothing to ask.
    if (File1.FileName().isEmpty())
        return;
    if (applist::storedCount() >= applist::kMaxApps) {
        vx::MsgBox(QStringLiteral("登録できるアプリケーションは%1個までです。\n"
                                  "一覧から削除してから登録してください。")
                       .arg(applist::kMaxApps),
                   vx::vbExclamation);
        Hide();
        return;
    }
    const QString path = vx::joinPath(Dir1.Path(), File1.FileName());
    if (vx::MsgBox(QStringLiteral("選択したアプリケーションを登録しますか？"), vx::vbOKCancel,
                   QStringLiteral("アプリケーションの登録")) == vx::vbOK) {
        RegisteredCount = static_cast<qint16>(applist::storedCount() + 1);
        suite::SaveSetting(kSection, QString::number(RegisteredCount), path);
        vx::instance<Form5>().List1.AddItem(path);
        suite::SaveSetting(kSection, kAppCount, QString::number(RegisteredCount));
    }
    Hide();
}
