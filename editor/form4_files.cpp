// The editor's file pane, opening, saving and the backup.
#include "form4.h"

#include "platform/core/errors.h"
#include "platform/system/system.h"
#include "suite/filedialogs.h"

#include "platform/rtf/docfile.h"
#include "platform/rtf/rtf.h"

#include <QTextDocument>

using namespace editor;

namespace {
const QString kOpenFilter = QStringLiteral("テキストファイル (*.txt)|*.txt|HTMLファイル (*.html)|*.htm;*.html");
const QString kRecoveryFilter = QStringLiteral("テキストファイル(*.txt)") + QChar(0) + QStringLiteral("*.txt") + QChar(0);
const QString kSaved = QStringLiteral("保存されました(^o^)");
const QString kReadModeNoSave = QStringLiteral("リードモードでは保存はできません");

void writeFile(const QString &path, const QByteArray &bytes)
{
    // Never over a protected file; a failure at any moment leaves the old content.
    vx::text::writeDocument(path, bytes);
}

// Why a file did not open, in the user's words.
QString openFailureReason(const vx::RuntimeError &e)
{
    switch (e.number()) {
    case vx::err::FileNotFound: return QStringLiteral("ファイルが見つかりません。");
    case vx::err::PermissionDenied: return QStringLiteral("読み込みが許可されていません。");
    case vx::err::PathFileAccess: return QStringLiteral("通常のファイルでないか、大きすぎます。");
    default: break;
    }
    // The reader's own description (a damaged rich text file), its first line.
    const QString first = e.description().section(QLatin1Char('\n'), 0, 0);
    return first.isEmpty() ? QStringLiteral("読み込み中にエラーが起きました。") : first;
}
} // namespace

QString Form4::listPath() const { return vx::joinPath(Dir1.Path(), File1.FileName()); }

bool Form4::writePlain(const QString &path)
{
    const QString text = RichTextBox1.PlainText();
    vx::text::TextFormat format = RichTextBox1.textFormat();
    vx::text::TextFormat written;
    QString unwritable;
    auto bytes = vx::text::encodePlain(text, format, &written, &unwritable);
    if (!bytes) {
        // One file, one encoding: the whole file changes encoding, or nothing is written.
        const QString why = vx::text::unwritableMessage(unwritable, format);
        const auto utf8 = vx::text::asUtf8(format);
        if (!utf8) {
            vx::MsgBox(QStringLiteral("保存できませんでした。\n%1\n%2\nこのファイルには文字として読めないバイトがあるため、"
                                      "UTF-8 に変えて保存することもできません。")
                           .arg(path, why),
                       vx::vbExclamation);
            return false;
        }
        if (vx::MsgBox(QStringLiteral("%1\nファイル全体を %2 から UTF-8 に変えて保存しますか?\n%3")
                           .arg(why, vx::text::encodingName(format), path),
                       vx::vbYesNo | vx::vbQuestion) != vx::vbYes)
            return false;
        bytes = vx::text::encodePlain(text, *utf8, &written);
        if (!bytes)
            return false;
    }
    writeFile(path, *bytes);
    // Every plain save makes the written file the document's: the next
    // overwrite save keeps that file's encoding and breaks.
    RichTextBox1.setTextFormat(written);
    return true;
}

bool Form4::writeShown(const QString &path)
{
    const auto source = RichTextBox1.textFormat().rich;
    if (!source)
        return writePlain(path);
    // Rich text stays rich text, and keeps the bytes it came in while the
    // document reads as it did.
    QByteArray bytes = RichTextBox1.TextRTF();
    QTextDocument read;
    read.setDefaultFont(RichTextBox1.document()->defaultFont());
    if (vx::rtf::read(*source, read) && vx::rtf::write(read) == bytes)
        bytes = *source;
    writeFile(path, bytes);
    vx::text::TextFormat format = RichTextBox1.textFormat();
    format.rich = std::make_shared<const QByteArray>(bytes);
    RichTextBox1.setTextFormat(format);
    return true;
}

QByteArray Form4::plainCopy() const
{
    const QString text = RichTextBox1.PlainText();
    const vx::text::TextFormat &format = RichTextBox1.textFormat();
    if (auto bytes = vx::text::encodePlain(text, format))
        return *bytes;
    // The placeholders of kept bytes stay characters here.
    vx::text::TextFormat utf8 = format;
    utf8.encoding = vx::text::TextFormat::Utf8;
    utf8.rawBytes = false;
    return vx::text::encodePlain(text, utf8).value_or(QByteArray());
}

bool Form4::loadShown(const QString &path, bool resetCaption)
{
    try {
        RichTextBox1.LoadFile(path);
    } catch (const vx::RuntimeError &e) {
        // The text and its file stay as they were, and so does an unsaved marker.
        vx::MsgBox(QStringLiteral("ファイルを開けませんでした。\n%1\n%2").arg(path, openFailureReason(e)),
                   vx::vbExclamation);
        return false;
    }
    shownPath_ = path;
    if (resetCaption)
        clearMarker();
    return true;
}

bool Form4::mayReplaceText()
{
    if (!hasUnsavedChanges())
        return true;
    // The ending's question, with a way back. No discards only once the new
    // text is in: a load that fails keeps the changes and their marker.
    switch (vx::MsgBox(kAskSave, vx::vbYesNoCancel)) {
    case vx::vbYes: return SaveEditorFile();
    case vx::vbNo: return true;
    default: return false;
    }
}

void Form4::LoadEditorFile() { loadShown(listPath(), true); }

void Form4::saveFailed(const QString &path, const vx::RuntimeError &e)
{
    vx::MsgBox(QStringLiteral("保存できませんでした。\n%1\n%2").arg(path, e.description()), vx::vbExclamation);
}

bool Form4::SaveEditorFile()
{
    // Only where the shown text came from: a load that failed leaves that file.
    try {
        if (shownPath_.isEmpty())
            vx::raise(vx::err::BadFileName);
        if (!writeShown(shownPath_))
            return false;
        vx::MsgBox(kSaved);
        clearMarker();
        return true;
    } catch (const vx::RuntimeError &e) {
        // A file that refused the save says why before another is asked for.
        if (!shownPath_.isEmpty())
            saveFailed(shownPath_, e);
    }
    vx::MsgBox(QStringLiteral("ファイル名.txtやファイル名.htmなどと入力して保存してください。"));
    QString path;
    try {
        path = suite::ShowSaveFileDialog(this, kRecoveryFilter);
        if (path.isEmpty() || !writeShown(path))
            return false;
    } catch (const vx::RuntimeError &e) {
        if (!path.isEmpty())
            saveFailed(path, e);
        return false;
    }
    // The text is that file's now: the next overwrite save goes there.
    shownPath_ = path;
    vx::MsgBox(kSaved);
    clearMarker();
    return true;
}

void Form4::WriteBackupFile()
{
    try {
        writeFile(vx::joinPath(vx::AppPath(), QStringLiteral("バックアップ.txt")), plainCopy());
    } catch (const vx::RuntimeError &) {
        // A program folder that cannot be written: the editing goes on.
    }
}

void Form4::selectionChanged()
{
    const int index = File1.ListIndex();
    const int count = File1.ListCount();
    Command21.setEnabled(index != 0);
    Command22.setEnabled(index + 1 != count);
    Label1.setCaption(QStringLiteral("%1/%2").arg(index + 1).arg(count));
}

void Form4::File1_Click()
{
    if (restoringList_)
        return;
    // A cleared selection (the new command) chooses no file.
    if (File1.ListIndex() < 0) {
        listEntry_.clear();
        return;
    }
    if (!mayReplaceText()) {
        restoreListEntry();
        // A mouse press selects its entry again once this returns: clicks
        // until then are that press's, and the entry goes back again after it.
        restoringList_ = true;
        QMetaObject::invokeMethod(
            this,
            [this] {
                restoringList_ = false;
                restoreListEntry();
            },
            Qt::QueuedConnection);
        return;
    }
    listEntry_ = listPath();
    selectionChanged();
    LoadEditorFile();
}

void Form4::restoreListEntry()
{
    int index = -1;
    for (int i = 0; i < File1.ListCount() && !listEntry_.isEmpty(); ++i)
        if (vx::joinPath(Dir1.Path(), File1.List(i)) == listEntry_)
            index = i;
    restoringList_ = true;
    try {
        File1.setListIndex(index);
    } catch (const vx::RuntimeError &) {
    }
    restoringList_ = false;
}

void Form4::Command21_Click()
{
    const int index = File1.ListIndex();
    if (index > 0)
        File1.setListIndex(index - 1);
}

void Form4::Command22_Click()
{
    const int index = File1.ListIndex();
    if (index + 1 < File1.ListCount())
        File1.setListIndex(index + 1);
}

void Form4::IDMOpenFile_Click()
{
    CommonDialog8.Filter = kOpenFilter;
    if (!CommonDialog8.ShowOpen() || !mayReplaceText())
        return;
    selectionChanged();
    loadShown(CommonDialog8.FileName, true);
}

void Form4::File1_OLEDragDrop(const QStringList &files)
{
    if (files.isEmpty() || !mayReplaceText())
        return;
    for (const QString &f : files) {
        try {
            RichTextBox1.LoadFile(f);
        } catch (const vx::RuntimeError &) {
            vx::MsgBox(QStringLiteral("対応しているテキストファイルをドロップしてください"));
            return;
        }
        shownPath_ = f;
        clearMarker();
    }
}

void Form4::Command18_Click()
{
    if (Caption() == kReadCaption) {
        vx::MsgBox(kReadModeNoSave);
        return;
    }
    SaveEditorFile();
}

void Form4::Command6_Click()
{
    if (Caption() == kReadCaption) {
        vx::MsgBox(kReadModeNoSave);
        return;
    }
    CommonDialog7.Filter = kOpenFilter;
    if (!CommonDialog7.ShowSave())
        return;
    try {
        if (!writePlain(CommonDialog7.FileName))
            return;
    } catch (const vx::RuntimeError &e) {
        saveFailed(CommonDialog7.FileName, e);
        return;
    }
    // The text is that file's now: the next overwrite save goes there, not
    // to the file it came from.
    shownPath_ = CommonDialog7.FileName;
    clearMarker();
}

void Form4::Command17_Click()
{
    if (!CommonDialog1.ShowSave())
        return;
    try {
        RichTextBox1.SaveFile(CommonDialog1.FileName, 0);
    } catch (const vx::RuntimeError &e) {
        saveFailed(CommonDialog1.FileName, e);
    }
}

void Form4::Check1_Click()
{
    const bool on = Check1.Value() == 1;
    File1.setPattern(on ? kSafePattern : kAllPattern);
    Check1.setToolTipText(on ? QStringLiteral("ON：システム属性を読み込まないので安全です")
                             : QStringLiteral("OFF：システム属性を読み込みますので気をつけてください"));
    IDMSYSTEMSAFETY.setChecked(on);
    File1.Refresh();
}

void Form4::Drive1_Change()
{
    try {
        Dir1.setPath(Drive1.Drive());
    } catch (const vx::RuntimeError &e) {
        vx::MsgBox(e.description());
    }
}

void Form4::Dir1_Change()
{
    File1.setPath(Dir1.Path());
    if (File1.ListCount() == 0) {
        Command21.setEnabled(false);
        Command22.setEnabled(false);
    }
}
