#include "engine/error.h"

#include "engine/text.h"

namespace engine {

String StandardDescription(Long number) {
    switch (number) {
        case err::kInvalidCall:
            return u"Invalid procedure call or argument";
        case err::kOverflow:
            return u"Overflow";
        case err::kOutOfMemory:
            return u"Out of memory";
        case err::kSubscript:
            return u"Subscript out of range";
        case err::kTypeMismatch:
            return u"Type mismatch";
        case err::kFileNotFound:
            return u"File not found";
        case 75:
            return u"Path/File access error";
        case err::kPathNotFound:
            return u"Path not found";
        case err::kObjectNotSet:
            return u"Object variable or With block variable not set";
        case 326:
            return u"Resource with identifier not found";
        case err::kInvalidProperty:
            return u"Invalid property value";
        case err::kObjectRequired:
            return u"Object required";
        case err::kInvalidPicture:
            return u"Invalid picture";
        default:
            return u"Application-defined or object-defined error";
    }
}

RuntimeError::RuntimeError(Long number, String description)
    : number_(number),
      description_(std::move(description)),
      what_("run-time error " + std::to_string(number) + ": " + ToUtf8(description_)) {}

void Raise(Long number) { throw RuntimeError(number); }
void Raise(Long number, String description) { throw RuntimeError(number, std::move(description)); }

String RuntimeErrorReport(const RuntimeError& e) {
    return u"Run-time error '" + DecimalText(e.Number()) + u"':\r\n\r\n" + e.Description();
}

}  // namespace engine
