#pragma once
// The archive window under test: a recording stand-in for the archiver
// libraries, a launcher handle that counts its reads, and a scratch folder.
#include "form9.h"
#include "launcher.h"

#include "platform/archivers/loader/archivers.h"
#include "testing/harness.h"

#include <QDir>
#include <QFile>
#include <QSet>
#include <QTemporaryDir>

struct RecordedCall {
    QString file;
    QString entry;
    uint32_t owner;
    QString line;
    QString listFile; // contents of the "@" list file at the time of the call
};

class FakeArchivers : public vx::archivers::Backend {
public:
    QSet<QString> missing; // library files that are not there
    QMap<QString, int16_t> versions;
    QSet<QString> archives; // files the archive checks accept
    std::vector<RecordedCall> calls;
    std::deque<int32_t> results; // next results (0 when none queued)

    bool present(const std::string &file) override { return !missing.contains(QString::fromStdString(file)); }
    std::optional<int32_t> command(const std::string &file, const std::string &entry, uint32_t owner,
                                   const std::string &line) override;
    std::optional<int16_t> version(const std::string &file, const std::string &) override
    {
        const QString f = QString::fromStdString(file);
        if (missing.contains(f))
            return std::nullopt;
        return versions.value(f, 100);
    }
    std::optional<int32_t> check(const std::string &file, const std::string &, const std::string &archive,
                                 int32_t) override
    {
        if (missing.contains(QString::fromStdString(file)))
            return std::nullopt;
        return archives.contains(QString::fromStdString(archive)) ? 1 : 0;
    }
    QStringList lines() const
    {
        QStringList l;
        for (const auto &c : calls)
            l << c.line;
        return l;
    }
};

// A stored ZIP of one entry, laid out by hand (any name, even a hostile one).
QByteArray storedZip(const QByteArray &name, const QByteArray &data);

class Form9Test : public vxtest::GuiTest {
protected:
    void SetUp() override
    {
        GuiTest::SetUp();
        auto f = std::make_unique<FakeArchivers>();
        fake = f.get();
        vx::archivers::setBackend(std::move(f));
        archive::setLauncherHandle([this] {
            ++launcherReads;
            return 777u;
        });
        ASSERT_TRUE(scratch.isValid());
        root = scratch.path();
    }
    void TearDown() override
    {
        GuiTest::TearDown();
        vx::archivers::setBackend(nullptr);
        archive::setLauncherHandle(nullptr);
    }
    Form9 &window() { return vx::instance<Form9>(); }
    QString path(const QString &rel) const { return root + QLatin1Char('/') + rel; }
    void touch(const QString &rel, const QByteArray &data = "x")
    {
        QDir().mkpath(QFileInfo(path(rel)).absolutePath());
        QFile f(path(rel));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(data);
    }
    // Shows pane n's folder and clicks the named file in its list.
    void clickFile(int n, const QString &folder, const QString &name);

    FakeArchivers *fake = nullptr;
    int launcherReads = 0;
    QTemporaryDir scratch;
    QString root;
};
