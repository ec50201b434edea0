#include "VbError.h"

namespace vberr {

std::string standardDescription(std::int32_t number) {
    switch (number) {
    case Overflow:
        return "Overflow";
    case OutOfMemory:
        return "Out of memory";
    case SubscriptOutOfRange:
        return "Subscript out of range";
    case DivisionByZero:
        return "Division by zero";
    case TypeMismatch:
        return "Type mismatch";
    case BadFileName:
        return "Bad file name or number";
    case FileNotFound:
        return "File not found";
    case InputPastEnd:
        return "Input past end of file";
    case PermissionDenied:
        return "Permission denied";
    case PathFileAccess:
        return "Path/File access error";
    case PathNotFound:
        return "Path not found";
    default:
        return "Application-defined or object-defined error";
    }
}

void raise(std::int32_t number, std::string source) {
    throw VbError(number, std::move(source), standardDescription(number));
}

} // namespace vberr
