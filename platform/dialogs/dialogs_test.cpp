// The real dialogs, driven as a user would: what they show and what they accept.
#include "dialogs.h"
#include "qttexts.h"

#include "testing/harness.h"
#include "testing/files.h"

#include <QAbstractButton>
#include <QApplication>
#include <QColorDialog>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QElapsedTimer>
#include <QFile>
#include <QFileDialog>
#include <QFileSystemModel>
#include <QFontDialog>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QRegularExpression>
#include <QTimer>
#include <QToolButton>

#include <functional>

namespace {

// Runs `script` on the first visible modal widget of type T once it shows.
template <typename T>
void whenShown(std::function<void(T &)> script)
{
    auto *timer = new QTimer;
    auto *clock = new QElapsedTimer;
    clock->start();
    QObject::connect(timer, &QTimer::timeout, [timer, clock, script] {
        T *w = qobject_cast<T *>(QApplication::activeModalWidget());
        if (!w && clock->elapsed() < 20000)
            return;
        timer->stop();
        timer->deleteLater();
        delete clock;
        if (w)
            script(*w);
        else
            ADD_FAILURE() << "no dialog showed";
    });
    timer->start(10);
}

void write(const QString &path) { vxtest::writeBytes(path, "x"); }

QPushButton *acceptButton(QFileDialog &dlg)
{
    auto *box = dlg.findChild<QDialogButtonBox *>();
    QPushButton *b = box->button(QDialogButtonBox::Open);
    return b ? b : box->button(QDialogButtonBox::Save);
}

// Every text a user (or a screen reader) meets in `w`: captions, labels,
// buttons, tool tips, list entries of combo boxes.
QStringList shownTexts(QWidget &w)
{
    QStringList out{w.windowTitle()};
    for (QWidget *c : w.findChildren<QWidget *>()) {
        if (auto *l = qobject_cast<QLabel *>(c))
            out << l->text();
        if (auto *b = qobject_cast<QAbstractButton *>(c))
            out << b->text() << b->toolTip();
        if (auto *g = qobject_cast<QGroupBox *>(c))
            out << g->title();
        if (auto *cb = qobject_cast<QComboBox *>(c); cb && cb->objectName() == QLatin1String("fileTypeCombo"))
            for (int i = 0; i < cb->count(); ++i)
                out << cb->itemText(i);
        out << c->accessibleName();
    }
    return out;
}

// English words among `texts` (a few names stay as they are everywhere).
QStringList english(const QStringList &texts)
{
    static const QRegularExpression word(QStringLiteral("[A-Za-z]{3,}"));
    static const QStringList allowed{QStringLiteral("HTML"), QStringLiteral("PDF"), QStringLiteral("AaBbYyZz"),
                                     QStringLiteral("txt"), QStringLiteral("htm"), QStringLiteral("html"),
                                     QStringLiteral("rtf"), QStringLiteral("Unicode")};
    QStringList out;
    for (const QString &t : texts)
        for (auto it = word.globalMatch(t); it.hasNext();) {
            const QString w = it.next().captured();
            if (!allowed.contains(w))
                out << t;
        }
    return out;
}

class RealDialogs : public vxtest::GuiTest {
protected:
    std::unique_ptr<vx::DialogDriver> real = vx::makeRealDialogDriver();
    QTemporaryDir dir;
};

TEST_F(RealDialogs, FileTypesReadAsGivenAndATypedFileOpensWhateverTheyShow)
{
    write(dir.filePath(QStringLiteral("shown.txt")));
    write(dir.filePath(QStringLiteral("doc.rtf")));
    vx::FileDialogRequest req;
    req.filter = QStringLiteral("テキストファイル (*.txt)|*.txt|HTMLファイル (*.html)|*.htm;*.html");
    req.initDir = dir.path();
    QStringList types;
    bool enabledForRtf = false;
    QStringList english_;
    whenShown<QFileDialog>([&](QFileDialog &dlg) {
        auto *combo = dlg.findChild<QComboBox *>(QStringLiteral("fileTypeCombo"));
        for (int i = 0; i < combo->count(); ++i)
            types << combo->itemText(i);
        english_ = english(shownTexts(dlg));
        // Once the list shows the folder, the typed name is a file it hides.
        auto *model = dlg.findChild<QFileSystemModel *>();
        vxtest::waitUntil([&] { return model->rowCount(model->index(dir.path())) >= 1; });
        ASSERT_EQ(model->rowCount(model->index(dir.path())), 1);
        auto *name = dlg.findChild<QLineEdit *>(QStringLiteral("fileNameEdit"));
        name->setText(QStringLiteral("doc.rtf"));
        enabledForRtf = acceptButton(dlg)->isEnabled();
        name->setText(dir.filePath(QStringLiteral("doc.rtf")));
        QApplication::processEvents();
        enabledForRtf = enabledForRtf && acceptButton(dlg)->isEnabled();
        acceptButton(dlg)->click();
        if (dlg.isVisible())
            dlg.reject();
    });
    const auto chosen = real->fileDialog(req);
    EXPECT_EQ(types, (QStringList{QStringLiteral("テキストファイル (*.txt)"), QStringLiteral("HTMLファイル (*.html)")}));
    EXPECT_TRUE(enabledForRtf);
    ASSERT_TRUE(chosen);
    EXPECT_EQ(*chosen, QStringList{dir.filePath(QStringLiteral("doc.rtf"))});
    EXPECT_EQ(english_, QStringList());

    // A name that is no file keeps the button as Qt leaves it, and cancel is cancel.
    bool enabledForMissing = true;
    whenShown<QFileDialog>([&](QFileDialog &dlg) {
        dlg.findChild<QLineEdit *>(QStringLiteral("fileNameEdit"))->setText(QStringLiteral("missing.rtf"));
        enabledForMissing = acceptButton(dlg)->isEnabled();
        dlg.reject();
    });
    EXPECT_FALSE(real->fileDialog(req));
    EXPECT_FALSE(enabledForMissing);
}

TEST_F(RealDialogs, ReplacingAFileIsAskedInJapanese)
{
    vx::setAppTitle(QStringLiteral("VX2002"));
    const QString existing = dir.filePath(QStringLiteral("exists.txt"));
    write(existing);
    vx::FileDialogRequest req;
    req.save = true;
    req.initDir = dir.path();
    req.fileName = QStringLiteral("exists.txt");
    QString question, title;
    QStringList buttons;
    int asked = 0;
    // First No (back to the dialog, which stays open), then Yes.
    whenShown<QFileDialog>([&](QFileDialog &dlg) {
        for (const bool yes : {false, true}) {
            whenShown<QMessageBox>([&, yes](QMessageBox &box) {
                ++asked;
                question = box.text();
                title = box.windowTitle();
                buttons.clear();
                for (QAbstractButton *b : box.buttons())
                    buttons << b->text();
                box.button(yes ? QMessageBox::Yes : QMessageBox::No)->click();
            });
            acceptButton(dlg)->click();
            if (!yes) {
                EXPECT_TRUE(dlg.isVisible());
            }
        }
        if (dlg.isVisible())
            dlg.reject();
    });
    const auto chosen = real->fileDialog(req);
    EXPECT_EQ(asked, 2);
    EXPECT_EQ(question, QStringLiteral("exists.txt は既に存在します。\n置き換えますか?"));
    EXPECT_EQ(title, QStringLiteral("VX2002"));
    buttons.sort();
    EXPECT_EQ(buttons, (QStringList{QStringLiteral("いいえ(&N)"), QStringLiteral("はい(&Y)")}));
    ASSERT_TRUE(chosen);
    EXPECT_EQ(*chosen, QStringList{existing});
}

TEST_F(RealDialogs, MessageColourAndFontDialogsShowNoEnglish)
{
    QStringList seen;
    whenShown<QMessageBox>([&](QMessageBox &box) {
        seen << shownTexts(box);
        box.button(QMessageBox::Cancel)->click();
    });
    EXPECT_EQ(real->messageBox(QStringLiteral("中断しますか？"), vx::vbYesNoCancel, QStringLiteral("t")), vx::vbCancel);
    for (const auto &[style, count] : {std::pair{vx::vbOKCancel, 2}, {vx::vbAbortRetryIgnore, 3}, {vx::vbRetryCancel, 2}}) {
        int buttons = 0;
        whenShown<QMessageBox>([&](QMessageBox &box) {
            seen << shownTexts(box);
            buttons = int(box.buttons().size());
            box.buttons().first()->click();
        });
        real->messageBox(QStringLiteral("確認"), style, QStringLiteral("t"));
        EXPECT_EQ(buttons, count);
    }
    whenShown<QColorDialog>([&](QColorDialog &dlg) {
        seen << shownTexts(dlg);
        dlg.reject();
    });
    EXPECT_FALSE(real->colorDialog(0, nullptr));
    whenShown<QFontDialog>([&](QFontDialog &dlg) {
        seen << shownTexts(dlg);
        dlg.reject();
    });
    EXPECT_FALSE(real->fontDialog(vx::FontChoice{}, nullptr));
    EXPECT_EQ(english(seen), QStringList());
    EXPECT_TRUE(seen.contains(QStringLiteral("キャンセル")));
}

} // namespace
