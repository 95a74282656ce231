// SPDX-License-Identifier: MIT
#pragma once

#include "countdown/run_error.h"

namespace quennix {

// What the program was doing with the settings file when a system call
// failed.
enum class FileStep { Read, Save };

// The error the user is told for a failed system call's errno, the one map
// for reading and saving alike. Only a file that is not there when it is read
// is "File not found"; at a save that is a folder on the way that is missing
// or not a folder, an access error like anything else standing in the way.
// A full disk or quota, and a limit on a file's size, are "Disk full"; what
// the user may not do, or a read-only file system, "Permission denied"; a
// failing device, and any error a save cannot name, "Device I/O error".
RunError fileError(int err, FileStep step);

} // namespace quennix
