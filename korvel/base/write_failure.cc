#include "korvel/base/write_failure.h"

#include <cerrno>

namespace korvel {

std::string write_failure_text(int error) {
  switch (error) {
    case ENOSPC:
#ifdef EDQUOT
    case EDQUOT:
#endif
    case EFBIG:  // over the size limit of the process or of the file system
      return "There is not enough space on the disk.";
#ifdef EROFS
    case EROFS: return "The media is write protected.";
#endif
    case EACCES:
    case EPERM: return "Access is denied.";
    default: return "The system cannot write to the specified device.";
  }
}

}  // namespace korvel
