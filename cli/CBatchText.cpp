#include "CBatchText.h"

#include "CMessagePrinter.h"

namespace vellcfgrdr {

std::string CBatchText::CsvText(std::string_view s) {
    std::string text = CMessagePrinter::Escaped(s, false);
    if (!text.empty() && std::string_view("=+-@").find(text.front()) != std::string_view::npos)
        text.insert(0, 1, '\'');
    if (text.find_first_of(",\"") == std::string::npos && !text.starts_with(' ') &&
        !text.ends_with(' '))
        return text;
    std::string quoted = "\"";
    for (const char c : text) {
        if (c == '"') quoted += '"';
        quoted += c;
    }
    return quoted + "\"";
}

}  // namespace vellcfgrdr
