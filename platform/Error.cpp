#include "platform/Error.h"

#include "platform/Text.h"

#include <utility>

namespace relingo {

Error::Error(int32_t number) : Error(number, StandardDescription(number)) {}

Error::Error(int32_t number, std::u16string description, std::u16string source,
             std::u16string helpFile, int32_t helpContext)
    : number_(number), description_(std::move(description)), source_(std::move(source)),
      helpFile_(std::move(helpFile)), helpContext_(helpContext),
      what_("Error " + std::to_string(number) + ": " + ToUtf8(description_)) {}

std::u16string StandardDescription(int32_t number) {
    switch (number) {
    case errnum::kInvalidProcedureCall:
        return u"Invalid procedure call or argument";
    case errnum::kOverflow:
        return u"Overflow";
    case errnum::kOutOfMemory:
        return u"Out of memory";
    case errnum::kTypeMismatch:
        return u"Type mismatch";
    case errnum::kInternalError:
        return u"Internal error";
    case errnum::kBadFileName:
        return u"Bad file name or number";
    case errnum::kFileNotFound:
        return u"File not found";
    case errnum::kDeviceUnavailable:
        return u"Device unavailable";
    case errnum::kDiskNotReady:
        return u"Disk not ready";
    case errnum::kPathFileAccess:
        return u"Path/File access error";
    case errnum::kPathNotFound:
        return u"Path not found";
    case errnum::kInvalidFileFormat:
        return u"Invalid file format";
    case errnum::kInvalidPropertyValue:
        return u"Invalid property value";
    case errnum::kSetNotSupportedAtRunTime:
        return u"Set not supported at run time";
    default:
        return u"Application-defined or object-defined error";
    }
}

} // namespace relingo
