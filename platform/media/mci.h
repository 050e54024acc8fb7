#pragma once
// Media command strings: one entry point takes a command such as
// `open "/music/a.mp3" alias Media` or `status Media position` and gives an
// error number (0 = success) and a reply text. The program uses the real
// interpreter over the playback engine; tests of windows put in a recording
// fake.
#include <QString>

#include <memory>

namespace vx {

namespace mci {
// Error numbers of the interpreter (0 = success).
inline constexpr int NoError = 0;
inline constexpr int UnknownCommand = 301;  // a verb this interpreter does not know
inline constexpr int BadArguments = 302;    // words missing, extra or not allowed
inline constexpr int NoClosingQuote = 303;
inline constexpr int NotOpen = 304;         // no device is open under that name
inline constexpr int AliasInUse = 305;
inline constexpr int FileNotFound = 306;
inline constexpr int CannotPlay = 307;      // no decoder for the file, or the file is damaged
inline constexpr int Timeout = 308;         // the device did not answer in time
inline constexpr int NoEngine = 309;        // the playback engine could not start
inline constexpr int DeviceFailed = 310;    // the device refused the operation
} // namespace mci

// Japanese text of an error number ("" for 0 and for unknown numbers).
QString mciGetErrorString(int error);

class MediaCommandDriver {
public:
    virtual ~MediaCommandDriver() = default;
    // Carries out one command; `reply` receives the device's answer ("" when
    // the command has none).
    virtual int send(const QString &command, QString &reply) = 0;
};

MediaCommandDriver &mediaCommandDriver();
// Replaces the driver (tests); nullptr restores the real one. Devices the old
// driver held are closed.
void setMediaCommandDriver(std::unique_ptr<MediaCommandDriver> driver);
std::unique_ptr<MediaCommandDriver> makeMediaCommandInterpreter();

// Sends through the current driver.
int mciSendString(const QString &command, QString &reply);
int mciSendString(const QString &command);

} // namespace vx
