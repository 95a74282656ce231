// SPDX-License-Identifier: MIT
#include "settings/file_errors.h"

#include <cerrno>

namespace quennix {

RunError fileError(int err, FileStep step) {
    switch (err) {
    case ENOSPC:
    case EDQUOT:
    case EFBIG:
        return RunError::diskFull();
    case EACCES:
    case EPERM:
    case EROFS:
        return RunError::permissionDenied();
    case EIO:
        return RunError::deviceIoError();
    case ENOENT:
    case ENOTDIR: // a folder on the way is a file
        if (step == FileStep::Read)
            return RunError::fileNotFound();
        [[fallthrough]];
    case EISDIR:
    case ENAMETOOLONG:
    case ELOOP:
    case EEXIST: // a file where a folder is to be made
        return RunError::pathFileAccess();
    default:
        return step == FileStep::Read ? RunError::pathFileAccess() : RunError::deviceIoError();
    }
}

} // namespace quennix
