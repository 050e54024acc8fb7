// The real dialogs, driven as a user would: what they show and what they accept.
#include "dialogs.h"
#include "qttexts.h"

#include "testing/harness.h"
#include "testing/files.h"

#include <QAbstractButton>
#include <QAccessible>
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
#include <QTest>
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

// Answers every message box that shows while it lives with its escape
// button, and keeps the texts.
class BoxWatch {
public:
    BoxWatch()
    {
        QObject::connect(&timer_, &QTimer::timeout, [this] {
            if (auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget())) {
                texts << box->text();
                box->escapeButton() ? box->escapeButton()->click() : box->reject();
            }
        });
        timer_.start(10);
    }
    QStringList texts;

private:
    QTimer timer_;
};

// Types `text` into the name box as a user does and presses Enter; the
// dialog's own state at that moment is left to `before`.
void typeAndEnter(QFileDialog &dlg, const QString &text, const std::function<void(QFileDialog &)> &before = {})
{
    auto *name = dlg.findChild<QLineEdit *>(QStringLiteral("fileNameEdit"));
    // Typed with the focus in the box, as a user types: Qt's list follows
    // the box then, and leaves its text alone.
    dlg.activateWindow();
    name->setFocus();
    EXPECT_TRUE(vxtest::waitUntil([&] { return name->hasFocus(); }));
    name->selectAll();
    QTest::keyClick(name, Qt::Key_Backspace);
    QTest::keyClicks(name, text);
    if (before)
        before(dlg);
    QTest::keyClick(name, Qt::Key_Return);
    if (dlg.isVisible())
        dlg.reject();
}

TEST_F(RealDialogs, ATypedNameIsOneNameQuotesIncludedWhereOneFileIsChosen)
{
    for (const char *name : {"2", "hi", "draft", "memo \"draft\".txt", "\"only\".txt", "x\"y\".txt", "missing"})
        vxtest::writeBytes(dir.filePath(QString::fromUtf8(name)), "the user's own bytes");
    QDir(dir.path()).mkdir(QStringLiteral("sub"));
    const QString sub = dir.filePath(QStringLiteral("sub"));
    struct Case {
        bool save;
        QString typed;
        QString chosen; // "" when nothing may be chosen
        QString question;
    };
    const QString replace = vx::replaceQuestion(QStringLiteral("x\"y\".txt"));
    const std::vector<Case> cases{
        {true, QStringLiteral("memo\"2\".txt"), dir.filePath(QStringLiteral("memo\"2\".txt")), {}},
        {true, QStringLiteral("He said \"hi\".txt"), dir.filePath(QStringLiteral("He said \"hi\".txt")), {}},
        {true, sub + QStringLiteral("/a \"b\".txt"), sub + QStringLiteral("/a \"b\".txt"), {}},
        {true, QStringLiteral("x\"y\".txt"), {}, replace}, // answered No: back in the dialog
        {false, QStringLiteral("memo \"draft\".txt"), dir.filePath(QStringLiteral("memo \"draft\".txt")), {}},
        {false, QStringLiteral("\"only\".txt"), dir.filePath(QStringLiteral("\"only\".txt")), {}},
        {false, QStringLiteral("a \"missing\".txt"), {},
         QStringLiteral("a \"missing\".txt\nファイルが見つかりません。\nファイル名を確かめてください。")},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.typed.toStdString());
        vx::FileDialogRequest req;
        req.save = c.save;
        req.preview = !c.save; // as the suite's own open dialog shows it
        req.initDir = dir.path();
        req.filter = QStringLiteral("テキストファイル (*.txt)|*.txt");
        BoxWatch boxes;
        bool enabled = false;
        whenShown<QFileDialog>([&](QFileDialog &dlg) {
            auto *model = dlg.findChild<QFileSystemModel *>();
            vxtest::waitUntil([&] { return model->rowCount(model->index(dir.path())) >= 4; });
            typeAndEnter(dlg, c.typed, [&](QFileDialog &d) { enabled = acceptButton(d)->isEnabled(); });
        });
        const auto chosen = real->fileDialog(req);
        EXPECT_EQ(boxes.texts, c.question.isEmpty() ? QStringList() : QStringList{c.question});
        if (c.chosen.isEmpty()) {
            EXPECT_FALSE(chosen);
        } else {
            EXPECT_TRUE(enabled);
            ASSERT_TRUE(chosen);
            EXPECT_EQ(*chosen, QStringList{c.chosen});
        }
        if (!c.save && c.chosen.isEmpty()) {
            EXPECT_FALSE(enabled);
        }
    }
    for (const char *name : {"2", "hi", "draft", "x\"y\".txt"})
        EXPECT_EQ(vxtest::readBytes(dir.filePath(QString::fromUtf8(name))), QByteArray("the user's own bytes"));

    // Assistive technology sets the text whole, the focus elsewhere, and
    // presses the button; the list shows the file between the quotes.
    vx::FileDialogRequest save;
    save.save = true;
    save.initDir = dir.path();
    BoxWatch boxes;
    whenShown<QFileDialog>([&](QFileDialog &dlg) {
        auto *model = dlg.findChild<QFileSystemModel *>();
        vxtest::waitUntil([&] { return model->rowCount(model->index(dir.path())) >= 8; });
        auto *name = dlg.findChild<QLineEdit *>(QStringLiteral("fileNameEdit"));
        QAccessible::queryAccessibleInterface(name)->setText(QAccessible::Value, QStringLiteral("He said \"hi\".txt"));
        EXPECT_EQ(name->text(), QStringLiteral("He said \"hi\".txt"));
        QAccessibleInterface *button = QAccessible::queryAccessibleInterface(acceptButton(dlg));
        button->actionInterface()->doAction(QAccessibleActionInterface::pressAction());
        // The press is animated: the click comes a moment later.
        vxtest::waitUntil([&] { return !dlg.isVisible() || !boxes.texts.isEmpty(); }, 10000);
        if (dlg.isVisible())
            dlg.reject();
    });
    const auto said = real->fileDialog(save);
    EXPECT_EQ(boxes.texts, QStringList());
    ASSERT_TRUE(said);
    EXPECT_EQ(*said, QStringList{dir.filePath(QStringLiteral("He said \"hi\".txt"))});

    // Where several files may be chosen, quotes still mark them.
    vx::FileDialogRequest several;
    several.multiSelect = true;
    several.initDir = dir.path();
    whenShown<QFileDialog>([&](QFileDialog &dlg) {
        auto *model = dlg.findChild<QFileSystemModel *>();
        vxtest::waitUntil([&] { return model->rowCount(model->index(dir.path())) >= 8; });
        typeAndEnter(dlg, QStringLiteral("\"2\" \"hi\""));
    });
    const auto both = real->fileDialog(several);
    ASSERT_TRUE(both);
    EXPECT_EQ(*both, (QStringList{dir.filePath(QStringLiteral("2")), dir.filePath(QStringLiteral("hi"))}));
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
