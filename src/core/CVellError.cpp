#include "vellcfgrdr/CVellError.h"

namespace vellcfgrdr {

CVellError::CVellError(int32_t number, std::string description, std::string source)
    : number_(number), description_(std::move(description)), source_(std::move(source)) {}

}  // namespace vellcfgrdr
