#pragma once

#include <string>

#include "vellcfgrdr/CEvent.h"
#include "vellcfgrdr/CPublicEnums.h"

namespace vellcfgrdr {

// A message for the host: text, level and source.
using InfoMessageEvent = CEvent<const std::string&, eMessageLevel, const std::string&>;
// A formatted error report of the parts knowledge, not meant for the host.
using ReportErrorEvent = CEvent<const std::string&>;

}  // namespace vellcfgrdr
