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

    vx::Placed<vx::DriveListBox> Drive1{{120, 120, 2880, 315}, this, QStringLiteral("Drive1")};
    vx::Placed<vx::DirListBox> Dir1{{120, 540, 2880, 3600}, this, QStringLiteral("Dir1")};
    vx::Placed<vx::FileListBox> File1{{3120, 120, 3000, 3435}, this, QStringLiteral("File1")};
    vx::Placed<vx::CommandButton> AddProgram{{3120, 3720, 1440, 420}, this, QStringLiteral("AddProgram"),
                                             QStringLiteral("追加")};
    vx::Placed<vx::CommandButton> BackBtn{{4680, 3720, 1440, 420}, this, QStringLiteral("BackBtn"),
                                          QStringLiteral("戻る")};

    qint16 RegisteredCount = 0;

    void Form_Load() override;
    Q_SLOT void Drive1_Change();
    Q_SLOT void Dir1_Change();
    Q_SLOT void AddProgram_Click();
    Q_SLOT void File1_DblClick();
    Q_SLOT void BackBtn_Click();

private:
    void RegisterProgram();
};
