// Extraction: the select buttons, the file lists and the drop boxes.
#include "form9.h"

#include "arcsmpcommon.h"
#include "launcher.h"

#include "platform/core/errors.h"
#include "platform/system/system.h"

#include <QDir>
#include <QFileInfo>

using namespace archive;

namespace {

const QString Q = QStringLiteral("\"");

Lib extractLib(int n)
{
    static const Lib libs[8] = {Lib::Unlha32, Lib::Unzip32, Lib::Cab32, Lib::Ungca32,
                                Lib::Unarj32j, Lib::Unrar32, Lib::Tar32, Lib::Yz1};
    return libs[n - 1];
}

bool presence(int n) { return n == 6 ? PresenceCheckRar() : PresenceCheck(extractLib(n)); }

// The command line of the select buttons and file lists.
QString listCommand(int n, const QString &a, const QString &d, const QString &b)
{
    switch (n) {
    case 1: return QStringLiteral("x -d1 -y1 ") + Q + a + Q + " " + Q + d + b + Q + "/ *.*";
    case 2:
    case 3: return QStringLiteral("-x -o -q ") + Q + a + Q + " " + Q + d + b + "/" + Q + " *.*";
    case 4: return QStringLiteral("e ") + Q + a + Q + " " + Q + d + b + Q + "/ *.*";
    case 5: return QStringLiteral("x ") + Q + a + Q + " " + Q + d + b + "/" + Q + " *.*";
    case 6: return QStringLiteral("e ") + Q + a + Q + " " + Q + d + b + Q + "/ *.*";
    case 7: return QStringLiteral("-xvf ") + Q + a + Q + " -o " + Q + d + b + Q;
    default: return QStringLiteral("x ") + Q + a + Q + " " + Q + d + Q;
    }
}

// A library missing at its first use (no presence check ran): its message,
// or for one without a message the failure report.
void reportMissing(Lib lib, Operation op)
{
    const LibraryRow &row = library(lib);
    if (row.missing.isEmpty())
        FailureReport(op);
    else
        vx::MsgBox(row.missing, vx::vbOKOnly | vx::vbCritical, QStringLiteral("Error"));
}

} // namespace

void Form9::ExtractionDestination(const QString &a, int n, QString &d, QString &b) const
{
    const qsizetype slash = a.lastIndexOf(QLatin1Char('/'));
    if (slash < 0)
        vx::raise(vx::err::InvalidCall);
    const QString name = a.mid(slash + 1);
    const qsizetype dot = name.lastIndexOf(QLatin1Char('.'));
    b = dot < 0 ? name : name.left(dot);
    if (n == 7 && b.endsWith(QStringLiteral(".tar"), Qt::CaseInsensitive))
        b.chop(4);
    d = Check1.Value() == 1 ? mdlDesktop::GetDesktopPath() + QStringLiteral("/") : a.left(slash + 1);
}

void Form9::SelectClick(int n)
{
    static const QString filters[8] = {
        QStringLiteral("LZHファイル(*.lzh)|*.lzh"), QStringLiteral("ZIPファイル(*.zip)|*.zip"),
        QStringLiteral("CABファイル(*.cab)|*.cab"), QStringLiteral("GCAファイル(*.gca)|*.gca"),
        QStringLiteral("ARJファイル(*.arj)|*.arj"), QStringLiteral("RARファイル(*.rar)|*.rar"),
        QStringLiteral("TARファイル(*.tar)|*.tar"), QStringLiteral("YZ1ファイル(*.yz1)|*.yz1")};
    if (!presence(n))
        return;
    Pane p = pane(n);
    p.dialog->Filter = filters[n - 1];
    // Cancel extracts nothing and shows nothing.
    if (!p.dialog->ShowOpen())
        return;
    ExtractByList(n, p.dialog->FileName, true);
}

void Form9::FileClick(int n)
{
    Pane p = pane(n);
    p.position->setCaption(QStringLiteral("%1/%2").arg(p.file->ListIndex() + 1).arg(p.file->ListCount()));
    if (!presence(n))
        return;
    if (p.file->FileName().isEmpty())
        return;
    ExtractByList(n, vx::joinPath(p.dir->Path(), p.file->FileName()), false);
}

void Form9::ExtractByList(int n, const QString &a, bool fromDialog)
{
    try {
        QString d, b;
        ExtractionDestination(a, n, d, b);
        if (unsafeName(a) || unsafeName(d + b)) {
            FailureReport(Operation::Extract);
            return;
        }
        const uint32_t owner = n == 4 || n == 6 ? launcherHandle() : ownHandle();
        const auto r = ArchiverCall(extractLib(n), owner, listCommand(n, a, d, b));
        if (!r)
            vx::raise(48, library(extractLib(n)).file);
        ResultReport(Operation::Extract, *r);
    } catch (const vx::RuntimeError &) {
        // Only the LZH select button reports its errors.
        if (n == 1 && fromDialog)
            FailureReport(Operation::Extract);
    }
}

void Form9::ExtractDropped(int n, const QString &a)
{
    QString d, b;
    ExtractionDestination(a, n, d, b);
    if (unsafeName(a) || unsafeName(d + b)) {
        FailureReport(Operation::Extract);
        return;
    }
    const QString s = ArcsmpCommon::PathSeparatorFor(n == 8 ? d : d + b);
    QString line;
    switch (n) {
    case 1: line = QStringLiteral("x -d1 -y1 ") + Q + a + Q + " " + Q + d + b + s + Q + " *.*"; break;
    case 2: line = QStringLiteral("-x -o -q ") + Q + a + Q + " " + Q + d + b + "/" + Q + " *.*"; break;
    case 3: line = QStringLiteral("-x -o ") + Q + a + Q + " " + Q + d + b + s + Q + " *.*"; break;
    case 7: line = QStringLiteral("-xvf ") + Q + a + Q + " -o " + Q + d + b + s + Q + " *.*"; break;
    default: line = QStringLiteral("x ") + Q + a + Q + " " + Q + d + s + Q + " *.*"; break;
    }
    const auto r = ArchiverCall(extractLib(n), launcherHandle(), line);
    if (!r) {
        reportMissing(extractLib(n), Operation::Extract);
        return;
    }
    ResultReport(Operation::Extract, *r);
}

void Form9::Text4_OLEDragDrop(const QStringList &items)
{
    if (!PresenceCheck(Lib::Ungca32))
        return;
    int32_t r = 0;
    const int count = static_cast<int>(items.size());
    for (int i = 0; i < count; ++i) {
        const QString &a = items[i];
        QString d, b;
        ExtractionDestination(a, 4, d, b);
        if (unsafeName(a) || unsafeName(d + b)) {
            r = -1;
            continue;
        }
        Label24.setCaption(QStringLiteral("Extracting(%1/%2):%3").arg(i + 1).arg(count).arg(a));
        const auto got = ArchiverCall(Lib::Ungca32, launcherHandle(),
                                      QStringLiteral("e ") + Q + a + Q + " " + Q + d + b + Q + "/ *.*");
        r = got ? *got : -1;
    }
    ResultReport(Operation::Extract, r);
    Label24.setCaption(QString());
}

void Form9::Text5_OLEDragDrop(const QStringList &items)
{
    if (!PresenceCheck(Lib::Unarj32j) || items.isEmpty())
        return;
    const QString a = items.first();
    QString d, b;
    ExtractionDestination(a, 5, d, b);
    if (unsafeName(a) || unsafeName(d + b)) {
        FailureReport(Operation::Extract);
        return;
    }
    const auto r = ArchiverCall(Lib::Unarj32j, ownHandle(), QStringLiteral("x ") + Q + a + Q + " " + Q + d + b + "/" + Q + " *.*");
    if (!r) {
        reportMissing(Lib::Unarj32j, Operation::Extract);
        return;
    }
    ResultReport(Operation::Extract, *r);
}

void Form9::Text6_OLEDragDrop(const QStringList &items)
{
    if (!PresenceCheckRar() || items.isEmpty())
        return;
    const QString a = items.first();
    QString d, b;
    ExtractionDestination(a, 6, d, b);
    if (unsafeName(a) || unsafeName(d + b)) {
        FailureReport(Operation::Extract);
        return;
    }
    const QString folder = d + b;
    bool created = false;
    if (!QFileInfo::exists(folder)) {
        if (!QDir().mkpath(folder)) {
            FailureReport(Operation::Extract);
            return;
        }
        created = true;
    }
    if (!b.endsWith(QLatin1Char('/')))
        b += QLatin1Char('/');
    const auto r = ArchiverCall(Lib::Unrar32, launcherHandle(), QStringLiteral("-x ") + Q + a + Q + " " + Q + d + b + Q);
    // A failed extraction leaves no folder behind that it made for itself.
    if ((!r || *r != 0) && created)
        QDir().rmdir(folder);
    if (!r) {
        reportMissing(Lib::Unrar32, Operation::Extract);
        return;
    }
    ResultReport(Operation::Extract, *r);
}
