#include "runtime/files/os_errors.h"

#include <cerrno>

#include "runtime/errors/runtime_error.h"

namespace rt {

int error_number_for_os_error(int os_error, OsCall call) {
  switch (os_error) {
    case ENOENT:
    case ENOTDIR:
      return kFileNotFound;
    case EEXIST:
      return kFileExists;
    case EACCES:
    case EPERM:
    case EBUSY:
    case ETXTBSY:
    case EAGAIN:  // a lock held by another program
      return kAccessDenied;
    case EMFILE:
    case ENFILE:
      return kTooManyFiles;
    case ENOMEM:
      return kOutOfMemory;
    case ENODEV:
    case ENXIO:  // also a FIFO opened for writing that nobody reads
    case EXDEV:
#ifdef ENOMEDIUM
    case ENOMEDIUM:
#endif
      return kBadDrive;
    case ENOSPC:
    case EDQUOT:
    case EFBIG:
    case EPIPE:
      return kDiskFull;
    case EROFS:
      return kWriteProtected;
#ifdef EMEDIUMTYPE
    case EMEDIUMTYPE:
      return kBadFormat;
#endif
    case ENAMETOOLONG:
    case EISDIR:
    case ELOOP:
      return kBadFileName;
    case EOPNOTSUPP:
      return kNotSupported;
    case EINVAL:
      return kInvalidArgument;
    case EOVERFLOW:
      return kBufferOverflow;
    case EIO:
      switch (call) {
        case OsCall::Read:
          return kReadPastEnd;
        case OsCall::Write:
        case OsCall::Close:  // a deferred write that the device refused
          return kDiskFull;
        case OsCall::Open:
          return kFileNotFound;
      }
      break;
    default:
      break;
  }
  return kDeviceFailed;
}

void raise_os_error(int os_error, OsCall call, FileOp op, std::source_location where) {
  record_api_error(os_error);
  raise_error(error_number_for_os_error(os_error, call), file_location(op, FileCheck::OsError),
              where);
}

}  // namespace rt
