#pragma once
// Per-user settings store: application -> section -> key -> text value.
//
// One INI-style file per application under $XDG_CONFIG_HOME (default
// ~/.config). Section and key names compare case-insensitively; the first
// spelling written is kept. Safe for several processes at once: every change
// is read-merge-write under a cross-process lock, written to a temporary file,
// flushed and renamed over the store, so a crash leaves the old or the new file.
#include <QString>
#include <QStringList>

namespace vx::store {

// Value of app/section/key, or `def` when the key or section is missing or the
// store cannot be read.
QString GetSetting(const QString &app, const QString &section, const QString &key,
                   const QString &def = QString());

// Writes a value, creating the section. Throws vx::RuntimeError when the store
// cannot be locked or written.
void SaveSetting(const QString &app, const QString &section, const QString &key,
                 const QString &value);

// Deletes one key. Throws vx::RuntimeError (err::InvalidCall) when the key or
// section does not exist, and on write failure.
void DeleteSetting(const QString &app, const QString &section, const QString &key);

// Deletes a whole section. Throws vx::RuntimeError (err::InvalidCall) when it
// does not exist, and on write failure.
void DeleteSection(const QString &app, const QString &section);

// Deletes every section of the application. Throws vx::RuntimeError
// (err::InvalidCall) when the application has no settings, and on write failure.
void DeleteApplication(const QString &app);

// Section names and key names as stored (first spelling), for tools and tests.
QStringList Sections(const QString &app);
QStringList Keys(const QString &app, const QString &section);

// Path of the application's store file.
QString StorePath(const QString &app);

} // namespace vx::store
