#pragma once
// Result codes of our archiver libraries: 0 is success, every other value a
// failure the caller reports without reading further.
namespace arc {
enum Result : int {
    Ok = 0,
    BadCommand = 0x8001,     // unknown verb, missing archive or folder, unsafe name
    CannotRead = 0x8002,     // archive missing, unreadable, not of this format
    UnsafeEntry = 0x8003,    // an entry would land outside the destination
    WriteFailed = 0x8004,    // destination not writable, disk full
    Damaged = 0x8005,        // truncated or corrupt data, checksum mismatch
    Unsupported = 0x8006,    // method or header form we do not write or read
    HelperMissing = 0x8007,  // a program or library this one needs is missing
    TimedOut = 0x8008,
    NothingToDo = 0x8009,    // no file named on the line exists
};
} // namespace arc
