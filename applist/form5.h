#pragma once
// The application-list launcher: a list of programs the user registered,
// all started with one button.
#include "platform/dialogs/dialogs.h"
#include "platform/forms/controls.h"
#include "platform/forms/form.h"

#include <functional>

namespace applist {

// At most this many programs are registered, shown and started.
inline constexpr int kMaxApps = 100;
// "AppCount" as a count: a text that is not a number, or is negative, is 0.
int storedCount();

// How run-all starts one program (the platform's program start unless a test
// puts in its own): true when it started, otherwise why not.
using Starter = std::function<bool(const QString &path, QString *why)>;
void setStarter(Starter starter); // an empty one restores the real start

} // namespace applist

class Form5 : public vx::Form {
    Q_OBJECT
public:
    Form5();

    vx::Label Label1{this, QStringLiteral("Label1"),
                     QStringLiteral("登録してあるすべてのアプリケーションを一度に起動する機能です。")};
    vx::Placed<vx::ListBox> List1{{120, 480, 4920, 3675}, this, QStringLiteral("List1")};
    vx::Placed<vx::CommandButton> Run{{5160, 480, 2520, 555}, this, QStringLiteral("Run"),
                                      QStringLiteral("アプリケーションの実行")};
    vx::Placed<vx::CommandButton> AppAdd{{5160, 1200, 2520, 420}, this, QStringLiteral("AppAdd"),
                                         QStringLiteral("一覧に追加")};
    vx::Placed<vx::CommandButton> AppDel{{5160, 1680, 2520, 420}, this, QStringLiteral("AppDel"),
                                         QStringLiteral("一覧から削除")};
    vx::Placed<vx::CommandButton> Command1{{5160, 2160, 2520, 420}, this, QStringLiteral("Command1"),
                                           QStringLiteral("フォント設定")};
    vx::Placed<vx::CommandButton> Exit{{5160, 3735, 2520, 420}, this, QStringLiteral("Exit"), QStringLiteral("閉じる")};
    vx::CommonDialog CommonDialog1{this};

    qint16 AppTotal = 0;
    qint16 AppIndex = 0;
    qint16 SelectedEntry = 0;
    QString AppPaths[applist::kMaxApps + 1];

    void Form_Load() override;
    Q_SLOT void List1_Click();
    Q_SLOT void AppAdd_Click();
    Q_SLOT void AppDel_Click();
    Q_SLOT void Run_Click();
    Q_SLOT void Command1_Click();
    Q_SLOT void Exit_Click();

private:
    // The list scrolls sideways as far as its longest path needs.
    void fitExtent();
    // Tells the user to register a program and opens the registration window.
    void askForFirstProgram();
};
