#pragma once
// Registration window of the application-list launcher: a drive, folder and
// program browser. Only Form5 opens it, modal.
#include "platform/forms/controls.h"
#include "platform/forms/filelists.h"
#include "platform/forms/form.h"

class Form6 : public vx::Form {
    Q_OBJECT
public:
    Form6();

    vx::DriveListBox Drive1{this, QStringLiteral("Drive1")};
    vx::DirListBox Dir1{this, QStringLiteral("Dir1")};
    vx::FileListBox File1{this, QStringLiteral("File1")};
    vx::CommandButton AddProgram{this, QStringLiteral("AddProgram"), QStringLiteral("追加")};
    vx::CommandButton BackBtn{this, QStringLiteral("BackBtn"), QStringLiteral("戻る")};

    qint16 RegisteredCount = 0;

    void Form_Load() override;
    void Drive1_Change();
    void Dir1_Change();
    void AddProgram_Click();
    void File1_DblClick();
    void BackBtn_Click();

private:
    void RegisterProgram();
};
