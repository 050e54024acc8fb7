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

// A stored ZIP of one entry, laid out by hand (any name, even a hostile one).
QByteArray storedZip(const QByteArray &name, const QByteArray &data)
{
    auto le16 = [](QByteArray &b, quint32 v) { b.append(char(v & 0xFF)).append(char((v >> 8) & 0xFF)); };
    auto le32 = [&](QByteArray &b, quint32 v) { le16(b, v & 0xFFFF); le16(b, v >> 16); };
    quint32 crc = 0xFFFFFFFFu;
    for (unsigned char c : data) {
        crc ^= c;
        for (int k = 0; k < 8; ++k)
            crc = (crc >> 1) ^ (0xEDB88320u & (0u - (crc & 1)));
    }
    crc ^= 0xFFFFFFFFu;
    QByteArray local;
    le32(local, 0x04034b50);
    for (quint32 v : {20u, 0u, 0u, 0u, 0x21u})
        le16(local, v);
    le32(local, crc);
    le32(local, data.size());
    le32(local, data.size());
    le16(local, name.size());
    le16(local, 0);
    local += name + data;
    QByteArray central;
    le32(central, 0x02014b50);
    for (quint32 v : {20u, 20u, 0u, 0u, 0u, 0x21u})
        le16(central, v);
    le32(central, crc);
    le32(central, data.size());
    le32(central, data.size());
    le16(central, name.size());
    for (int k = 0; k < 4; ++k)
        le16(central, 0);
    le32(central, 0);
    le32(central, 0);
    central += name;
    QByteArray end;
    le32(end, 0x06054b50);
    le16(end, 0);
    le16(end, 0);
    le16(end, 1);
    le16(end, 1);
    le32(end, central.size());
    le32(end, local.size());
    le16(end, 0);
    return local + central + end;
}
