#include "dialogs.h"

#include "filedialog.h"
#include "qttexts.h"

#include "platform/forms/colors.h"
#include "platform/forms/form.h"
#include "platform/forms/menu.h"

#include <QApplication>
#include <QColorDialog>
#include <QEventLoop>
#include <QFileDialog>
#include <QFileInfo>
#include <QFontDialog>
#include <QGridLayout>
#include <QImageReader>
#include <QLabel>
#include <QPixmap>
#include <QMenu>
#include <QMessageBox>
#include <QPointer>

namespace vx {

namespace {
// Pictures larger than this are not decoded for the preview.
constexpr qint64 kPreviewPixelLimit = 64LL * 1024 * 1024;

// A scaled-down picture of a regular file, or nothing.
QPixmap previewOf(const QString &path, QSize box)
{
    const QFileInfo info(path);
    if (!info.isFile())
        return {};
    QImageReader reader(path);
    const QSize size = reader.size();
    if (!size.isValid() || qint64(size.width()) * size.height() > kPreviewPixelLimit)
        return {};
    reader.setScaledSize(size.scaled(box, Qt::KeepAspectRatio).expandedTo(QSize(1, 1)).boundedTo(size));
    const QImage image = reader.read();
    return image.isNull() ? QPixmap() : QPixmap::fromImage(image);
}

void addPreviewPane(QFileDialog &dlg)
{
    auto *grid = qobject_cast<QGridLayout *>(dlg.layout());
    if (!grid)
        return;
    auto *pane = new QLabel(&dlg);
    pane->setObjectName(QStringLiteral("preview"));
    pane->setFixedSize(180, 180);
    pane->setAlignment(Qt::AlignCenter);
    pane->setFrameShape(QFrame::StyledPanel);
    pane->setAccessibleName(QStringLiteral("プレビュー"));
    grid->addWidget(pane, 1, grid->columnCount(), grid->rowCount() - 1, 1);
    QObject::connect(&dlg, &QFileDialog::currentChanged, pane, [pane](const QString &path) {
        const QPixmap pm = previewOf(path, pane->size() - QSize(8, 8));
        pane->setPixmap(pm);
        if (pm.isNull())
            pane->clear();
    });
}
} // namespace

namespace {
QString &titleStore()
{
    static QString t;
    return t;
}
std::unique_ptr<DialogDriver> &driverStore()
{
    static std::unique_ptr<DialogDriver> d;
    return d;
}

} // namespace

// "説明|*.a;*.b|..." to Qt's "説明 (*.a *.b);;...". Qt takes the patterns from
// the last parentheses; the dialog hides them, so the list shows each
// description exactly as given.
QString qtFileFilter(const QString &filter, int index, QString *selected)
{
    const QStringList parts = filter.split(QLatin1Char('|'));
    QStringList out;
    for (int i = 0; i + 1 < parts.size(); i += 2) {
        QString patterns = parts[i + 1].simplified();
        patterns.replace(QLatin1Char(';'), QLatin1Char(' '));
        out << QStringLiteral("%1 (%2)").arg(parts[i], patterns);
        if (i / 2 + 1 == index && selected)
            *selected = out.last();
    }
    return out.join(QStringLiteral(";;"));
}

QString replaceQuestion(const QString &fileName)
{
    return QStringLiteral("%1 は既に存在します。\n置き換えますか?").arg(fileName);
}

namespace {

class RealDriver : public DialogDriver {
public:
    int messageBox(const QString &text, int style, const QString &title) override
    {
        QMessageBox box;
        box.setWindowTitle(title);
        box.setText(text);
        switch (style & 0x70) {
        case vbCritical: box.setIcon(QMessageBox::Critical); break;
        case vbQuestion: box.setIcon(QMessageBox::Question); break;
        case vbExclamation: box.setIcon(QMessageBox::Warning); break;
        case vbInformation: box.setIcon(QMessageBox::Information); break;
        default: box.setIcon(QMessageBox::NoIcon); break;
        }
        struct B {
            QMessageBox::StandardButton b;
            int answer;
        };
        std::vector<B> buttons;
        switch (style & 0x0F) {
        case vbOKCancel: buttons = {{QMessageBox::Ok, vbOK}, {QMessageBox::Cancel, vbCancel}}; break;
        case vbAbortRetryIgnore:
            buttons = {{QMessageBox::Abort, vbAbort}, {QMessageBox::Retry, vbRetry}, {QMessageBox::Ignore, vbIgnore}};
            break;
        case vbYesNoCancel:
            buttons = {{QMessageBox::Yes, vbYes}, {QMessageBox::No, vbNo}, {QMessageBox::Cancel, vbCancel}};
            break;
        case vbYesNo: buttons = {{QMessageBox::Yes, vbYes}, {QMessageBox::No, vbNo}}; break;
        case vbRetryCancel: buttons = {{QMessageBox::Retry, vbRetry}, {QMessageBox::Cancel, vbCancel}}; break;
        default: buttons = {{QMessageBox::Ok, vbOK}}; break;
        }
        QMessageBox::StandardButtons set;
        for (const B &b : buttons)
            set |= b.b;
        box.setStandardButtons(set);
        box.setDefaultButton(buttons.front().b);
        const int r = box.exec();
        for (const B &b : buttons)
            if (r == b.b)
                return b.answer;
        // Closed with the close box: the cancel-like answer.
        if ((style & 0x0F) == vbYesNo)
            return vbNo;
        return buttons.size() == 1 ? vbOK : vbCancel;
    }

    void runModal(Form &form) override
    {
        QPointer<Form> f(&form);
        const Qt::WindowModality old = form.windowModality();
        const bool wasVisible = form.isVisible();
        if (wasVisible)
            form.hide();
        form.setWindowModality(Qt::ApplicationModal);
        QEventLoop loop;
        QObject::connect(&form, &Form::modalEnded, &loop, &QEventLoop::quit);
        QObject::connect(&form, &QObject::destroyed, &loop, &QEventLoop::quit);
        form.show();
        if (QGuiApplication::platformName() != QLatin1String("offscreen")) {
            form.raise();
            form.activateWindow();
        }
        if (form.isVisible())
            loop.exec();
        if (f)
            f->setWindowModality(old);
    }

    void popupMenu(Form &form, Menu &menu, QPoint globalPos) override
    {
        (void)form;
        if (QMenu *m = menu.subMenu())
            m->exec(globalPos);
    }

    std::optional<QStringList> fileDialog(const FileDialogRequest &req) override
    {
        FileDialog dlg(req.owner);
        dlg.setWindowTitle(req.title.isEmpty() ? (req.save ? QStringLiteral("名前を付けて保存")
                                                            : QStringLiteral("ファイルを開く"))
                                               : req.title);
        dlg.setAcceptMode(req.save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
        dlg.setFileMode(req.save ? QFileDialog::AnyFile
                                 : (req.multiSelect ? QFileDialog::ExistingFiles : QFileDialog::ExistingFile));
        if (req.preview && !req.save)
            addPreviewPane(dlg);
        QString selected;
        if (!req.filter.isEmpty()) {
            dlg.setNameFilter(qtFileFilter(req.filter, req.filterIndex, &selected));
            if (!selected.isEmpty())
                dlg.selectNameFilter(selected);
        }
        if (!req.initDir.isEmpty())
            dlg.setDirectory(req.initDir);
        if (!req.fileName.isEmpty())
            dlg.selectFile(req.fileName);
        dlg.acceptTypedFiles();
        if (dlg.exec() != QDialog::Accepted)
            return std::nullopt;
        const QStringList files = dlg.chosenFiles();
        if (files.isEmpty())
            return std::nullopt;
        return files;
    }

    std::optional<qint32> colorDialog(qint32 initial, Form *owner) override
    {
        const QColor c = QColorDialog::getColor(toQColor(initial), owner, QString(),
                                                QColorDialog::DontUseNativeDialog);
        if (!c.isValid())
            return std::nullopt;
        return fromQColor(c);
    }

    std::optional<FontChoice> fontDialog(const FontChoice &initial, Form *owner) override
    {
        QFont f(initial.name);
        f.setPointSizeF(initial.size > 0 ? initial.size : 9);
        f.setBold(initial.bold);
        f.setItalic(initial.italic);
        f.setUnderline(initial.underline);
        f.setStrikeOut(initial.strikethru);
        bool ok = false;
        const QFont chosen = QFontDialog::getFont(&ok, f, owner, QString(), QFontDialog::DontUseNativeDialog);
        if (!ok)
            return std::nullopt;
        FontChoice r = initial;
        r.name = chosen.family();
        r.size = chosen.pointSizeF();
        r.bold = chosen.bold();
        r.italic = chosen.italic();
        r.underline = chosen.underline();
        r.strikethru = chosen.strikeOut();
        return r;
    }
};
} // namespace

// Qt's dialogs in Japanese from the moment the application exists.
Q_COREAPP_STARTUP_FUNCTION(installJapaneseQtTexts)

void setAppTitle(const QString &title) { titleStore() = title; }
QString appTitle() { return titleStore(); }

DialogDriver &dialogDriver()
{
    auto &d = driverStore();
    if (!d)
        d = makeRealDialogDriver();
    return *d;
}

void setDialogDriver(std::unique_ptr<DialogDriver> driver)
{
    driverStore() = std::move(driver);
}

std::unique_ptr<DialogDriver> makeRealDialogDriver()
{
    return std::make_unique<RealDriver>();
}

int MsgBox(const QString &text, int style, const QString &title)
{
    return dialogDriver().messageBox(text, style, title.isEmpty() ? appTitle() : title);
}

bool CommonDialog::showFile(bool save)
{
    FileDialogRequest req;
    req.save = save;
    req.title = DialogTitle;
    req.filter = Filter;
    req.filterIndex = FilterIndex;
    req.initDir = InitDir;
    req.fileName = FileName;
    req.multiSelect = MultiSelect && !save;
    req.owner = owner_;
    auto r = dialogDriver().fileDialog(req);
    if (!r || r->isEmpty())
        return false;
    FileNames = *r;
    FileName = r->first();
    return true;
}

bool CommonDialog::ShowOpen() { return showFile(false); }
bool CommonDialog::ShowSave() { return showFile(true); }

bool CommonDialog::ShowColor()
{
    auto r = dialogDriver().colorDialog(Color, owner_);
    if (!r)
        return false;
    Color = *r;
    return true;
}

bool CommonDialog::ShowFont()
{
    auto r = dialogDriver().fontDialog(Font, owner_);
    if (!r)
        return false;
    Font = *r;
    return true;
}

QString CommonDialog::FileTitle() const
{
    return QFileInfo(FileName).fileName();
}

} // namespace vx
