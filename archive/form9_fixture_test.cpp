#include "form9_fixture_test.h"

std::optional<int32_t> FakeArchivers::command(const std::string &file, const std::string &entry, uint32_t owner,
                                              const std::string &line)
{
    const QString f = QString::fromStdString(file);
    if (missing.contains(f))
        return std::nullopt;
    RecordedCall c{f, QString::fromStdString(entry), owner, QString::fromStdString(line), {}};
    const qsizetype at = c.line.indexOf(QStringLiteral("@"));
    if (at >= 0) {
        QString list = c.line.mid(at + 1);
        list.remove(QLatin1Char('"'));
        QFile lf(list.trimmed());
        if (lf.open(QIODevice::ReadOnly))
            c.listFile = QString::fromUtf8(lf.readAll());
    }
    calls.push_back(c);
    if (results.empty())
        return 0;
    const int32_t r = results.front();
    results.pop_front();
    return r;
}

void Form9Test::clickFile(int n, const QString &folder, const QString &name)
{
    Form9 &w = window();
    vx::DirListBox *dirs[8] = {&w.Dir1, &w.Dir2, &w.Dir3, &w.Dir4, &w.Dir5, &w.Dir6, &w.Dir7, &w.Dir8};
    vx::FileListBox *files[8] = {&w.File1, &w.File2, &w.File3, &w.File4, &w.File5, &w.File6, &w.File7, &w.File8};
    dirs[n - 1]->setPath(folder);
    for (int i = 0; i < files[n - 1]->ListCount(); ++i)
        if (files[n - 1]->List(i) == name) {
            files[n - 1]->setListIndex(i);
            w.FileClick(n);
            return;
        }
    ADD_FAILURE() << "not listed: " << name.toStdString();
}
