#pragma once

#include <string>
#include <string_view>
#include <vector>

// How one fuzz input becomes the files of a project, shared by the fuzz
// targets and the seed maker so that seeds and inputs agree.
namespace vellcfgrdr::fuzz {

// Cuts the input of a project of several files (main file first).
constexpr std::string_view kPartSeparator = "%%VELLPART%%";

// The files read beside the main file, in the order they follow it in an
// input; none for a format of one file.
inline std::vector<std::string> CompanionsOf(std::string_view extension) {
    if (extension == "dcf") return {"mdf", "ddf", "dpf", "ndf", "tdf"};
    return {};
}

// The input cut at kPartSeparator; the last part takes the rest.
inline std::vector<std::string_view> SplitParts(std::string_view input, size_t count) {
    std::vector<std::string_view> parts;
    while (parts.size() + 1 < count) {
        const size_t at = input.find(kPartSeparator);
        if (at == std::string_view::npos) break;
        parts.push_back(input.substr(0, at));
        input.remove_prefix(at + kPartSeparator.size());
    }
    parts.push_back(input);
    return parts;
}

}  // namespace vellcfgrdr::fuzz
