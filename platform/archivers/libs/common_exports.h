#pragma once
// Entry points every library shares in shape: the command entry, the version,
// the archive check, readiness, and the cursor and background functions
// callers may declare (they keep a value and change nothing else).
#include "entry.h"
#include "result.h"

#include <new>

#define ARC_GUARDED(expr)                                                                                   \
    try {                                                                                                   \
        return (expr);                                                                                      \
    } catch (const std::bad_alloc &) {                                                                      \
        return arc::WriteFailed;                                                                            \
    } catch (...) {                                                                                         \
        return arc::BadCommand;                                                                             \
    }

#define ARC_COMMAND(Name, body)                                                                             \
    ARC_EXPORT int32_t Name(uint32_t hwnd, const char *line, char *output, uint32_t size)                   \
    {                                                                                                       \
        (void)hwnd;                                                                                         \
        if (output && size)                                                                                 \
            output[0] = '\0';                                                                               \
        if (!line)                                                                                          \
            return arc::BadCommand;                                                                         \
        arc::Utf8Locale utf8;                                                                               \
        ARC_GUARDED(body(std::string(line)))                                                                \
    }

#define ARC_VERSION(Name)                                                                                   \
    ARC_EXPORT int16_t Name##GetVersion(void) { return arc::kVersion; }

#define ARC_CHECK(Name, fmt)                                                                                \
    ARC_EXPORT int32_t Name##CheckArchive(const char *file, int32_t mode)                                   \
    {                                                                                                       \
        (void)mode;                                                                                         \
        if (!file)                                                                                          \
            return 0;                                                                                       \
        arc::Utf8Locale utf8;                                                                               \
        try {                                                                                               \
            return arc::isArchiveOf(fmt, file) ? 1 : 0;                                                     \
        } catch (...) {                                                                                     \
            return 0;                                                                                       \
        }                                                                                                   \
    }

#define ARC_MODES(Name)                                                                                     \
    namespace {                                                                                             \
    int32_t g_cursorInterval = 80;                                                                          \
    int32_t g_backGround = 0;                                                                               \
    int32_t g_cursorMode = 0;                                                                               \
    }                                                                                                       \
    ARC_EXPORT int32_t Name##GetCursorInterval(void) { return g_cursorInterval; }                           \
    ARC_EXPORT int32_t Name##SetCursorInterval(int32_t v) { g_cursorInterval = v; return 1; }               \
    ARC_EXPORT int32_t Name##GetBackGroundMode(void) { return g_backGround; }                               \
    ARC_EXPORT int32_t Name##SetBackGroundMode(int32_t v) { g_backGround = v; return 1; }                   \
    ARC_EXPORT int32_t Name##GetCursorMode(void) { return g_cursorMode; }                                   \
    ARC_EXPORT int32_t Name##SetCursorMode(int32_t v) { g_cursorMode = v; return 1; }                       \
    ARC_EXPORT int32_t Name##GetRunning(void) { return 0; }
