// The editor's commands on the text, its formatting, printing, the browser
// preview, the property sheet, the auxiliary windows and the settings.
#include "form4.h"

#include "form27.h"
#include "form37.h"
#include "form38.h"
#include "keys.h"
#include "printing.h"
#include "platform/core/convert.h"
#include "platform/core/errors.h"
#include "platform/rtf/docfile.h"
#include "platform/system/system.h"
#include "suite/settings.h"

#include <QApplication>
#include <QClipboard>
#include <QPrinter>
#include <QSaveFile>

using namespace editor;
using namespace editor::keys;

namespace {
// The text True or False that the boolean-to-text conversion gives, or a
// number (non-zero is true); anything else gives the default.
bool storedBool(const QString &key, const QString &def)
{
    const QString v = suite::GetSetting(kSection, key, def).trimmed();
    if (v.compare(QLatin1String("True"), Qt::CaseInsensitive) == 0)
        return true;
    if (v.compare(QLatin1String("False"), Qt::CaseInsensitive) == 0)
        return false;
    if (const auto n = vx::toDouble(v))
        return *n != 0;
    return def == QLatin1String("True");
}
} // namespace

void Form4::Command10_Click() { QApplication::clipboard()->setText(RichTextBox1.SelText()); }

void Form4::Command11_Click() { RichTextBox1.setSelText(QApplication::clipboard()->text()); }

void Form4::Command12_Click()
{
    Command10_Click();
    RichTextBox1.setSelText(QString());
}

void Form4::Command13_Click() { RichTextBox1.Undo(); }

void Form4::Command19_Click()
{
    RichTextBox1.setSelStart(0);
    RichTextBox1.setSelLength(999999999);
}

void Form4::Command14_Click() { RichTextBox1.setSelAlignment(0); }
void Form4::Command15_Click() { RichTextBox1.setSelAlignment(2); }
void Form4::Command160_Click() { RichTextBox1.setSelAlignment(1); }

void Form4::Command24_Click() { RichTextBox1.setRightMargin(RichTextBox1.RightMargin() > 0 ? 0 : 108150); }

void Form4::Command4_Click()
{
    // Cancel changes nothing.
    if (!CommonDialog5.ShowFont())
        return;
    const vx::FontChoice &f = CommonDialog5.Font;
    RichTextBox1.setSelFontName(f.name);
    RichTextBox1.setSelFontSize(f.size);
    RichTextBox1.setSelBold(f.bold);
    RichTextBox1.setSelItalic(f.italic);
    RichTextBox1.setSelUnderline(f.underline);
    RichTextBox1.setSelStrikeThru(f.strikethru);
}

void Form4::Command9_Click()
{
    if (CommonDialog2.ShowColor())
        RichTextBox1.setSelColor(CommonDialog2.Color);
}

void Form4::Command7_Click()
{
    if (CommonDialog3.ShowColor())
        RichTextBox1.setBackColor(CommonDialog3.Color);
}

void Form4::Command5_Click()
{
    if (!printer_)
        printer_ = std::make_shared<QPrinter>(QPrinter::HighResolution);
    // With a selection the dialog opens with its selection option chosen.
    const bool selection = RichTextBox1.SelLength() != 0;
    if (!editor::showPrintDialog(*printer_, selection, this))
        return;
    try {
        RichTextBox1.SelPrint(*printer_);
    } catch (const std::exception &) {
    }
}

void Form4::Command8_Click()
{
    if (!mayReplaceText())
        return;
    RichTextBox1.setText(QString());
    // A new document is written as UTF-8 with CR LF line breaks, into a file
    // the user names.
    RichTextBox1.setTextFormat(vx::text::TextFormat());
    shownPath_.clear();
    clearMarker();
    try {
        File1.setListIndex(-1);
    } catch (const vx::RuntimeError &) {
    }
}

void Form4::Command2_Click()
{
    try {
        const QString path = vx::joinPath(vx::AppPath(), QStringLiteral("IEで起動.htm"));
        vx::text::writeDocument(path, plainCopy());
        vx::ShellOpen(path);
    } catch (const vx::RuntimeError &) {
    }
}

void Form4::Command23_Click() { vx::ShowFileProperties(listPath()); }

void Form4::Command16_Click() { vx::instance<Form27>().Show(); }
void Form4::Command20_Click() { vx::instance<Form38>().Show(); }
void Form4::Command25_Click() { vx::instance<Form37>().Show(); }

void Form4::IDMRE_Click()
{
    Command19_Click();
    RichTextBox1.setBackColor(suite::GetLong(kSection, kPaparColor, kPaparColorDefault));
    RichTextBox1.setFontName(suite::GetSetting(kSection, kFont, kFontDefault));
    const double size = suite::GetDouble(kSection, kFontSize, kFontSizeDefault);
    RichTextBox1.setSelFontSize(size > 0 ? size : 9);
    RichTextBox1.setSelBold(storedBool(kFontBold, kFontBoldDefault));
    RichTextBox1.setSelItalic(storedBool(kFontItalic, kFontItalicDefault));
    RichTextBox1.setSelColor(suite::GetLong(kSection, kFontColor, kFontColorDefault));
}

void Form4::IDMFirst_Click()
{
    try {
        suite::DeleteSection(kSection);
    } catch (const vx::RuntimeError &) {
        return; // nothing to delete
    }
    vx::MsgBox(QStringLiteral("初期化はアプリケーションを再起動したときに適用されます"));
}
