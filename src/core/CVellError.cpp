#include "vellcfgrdr/CVellError.h"

#include "core/CUtf8.h"

namespace vellcfgrdr {

namespace {

// Descriptions name paths and texts of the input, which may be any bytes;
// callers and the C interface get valid UTF-8.
std::string Valid(std::string text) {
    return CUtf8::IsValidUtf8(text) ? text : CUtf8::FromExternal(text);
}

}  // namespace

CVellError::CVellError(int32_t number, std::string description, std::string source)
    : number_(number),
      description_(Valid(std::move(description))),
      source_(Valid(std::move(source))) {}

void CVellError::SetDescription(std::string description) {
    description_ = Valid(std::move(description));
}

void CVellError::SetSource(std::string source) {
    source_ = Valid(std::move(source));
}

}  // namespace vellcfgrdr
