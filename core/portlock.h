#pragma once
// The lock file the serial port leaves in the system's lock directory, and
// the process-wide handling of file-size limits.

#include <QString>

namespace tav {

// Where the lock file of a device lives ("LCK.." + the device's name under
// /dev with "/" as "_"), in the first lock directory that can hold it.
QString portLockFile(const QString &device);

// Removes the device's lock file when it is ours and stale: owned by this
// user and naming no running process (or empty, as a write cut short by a
// full disk or a size limit leaves it). Another program's live lock stays.
// Returns whether a file was removed.
bool clearStalePortLock(const QString &device);

// A file-size limit (ulimit -f) must make writes fail, as a full disk does,
// so they are reported; by default the signal it raises ends the program.
void ignoreFileSizeSignal();

} // namespace tav
