#pragma once
// Run-time errors of the window layer: one exception type carrying the
// classic error number and its standard Japanese description.
#include <QString>
#include <stdexcept>

namespace vx {

class RuntimeError : public std::runtime_error {
public:
    explicit RuntimeError(int number, const QString &description = QString());
    int number() const noexcept { return number_; }
    const QString &description() const noexcept { return description_; }

private:
    int number_;
    QString description_;
};

// Standard description for an error number ("" for unknown numbers).
QString errorText(int number);

// Throws RuntimeError(number) with its standard description (or `detail`
// appended when given, so a message can name what failed).
[[noreturn]] void raise(int number, const QString &detail = QString());

namespace err {
inline constexpr int InvalidCall = 5;      // invalid procedure call or argument
inline constexpr int Overflow = 6;
inline constexpr int OutOfMemory = 7;
inline constexpr int Subscript = 9;
inline constexpr int TypeMismatch = 13;
inline constexpr int BadFileName = 52;
inline constexpr int FileNotFound = 53;
inline constexpr int DeviceIO = 57;
inline constexpr int FileExists = 58;
inline constexpr int DiskFull = 61;
inline constexpr int DeviceUnavailable = 68;
inline constexpr int PermissionDenied = 70;
inline constexpr int DiskNotReady = 71;
inline constexpr int PathFileAccess = 75;
inline constexpr int PathNotFound = 76;
inline constexpr int InvalidProperty = 380;
inline constexpr int InvalidPicture = 481;
inline constexpr int PrinterError = 482;
inline constexpr int CancelSelected = 32755;
} // namespace err

} // namespace vx
