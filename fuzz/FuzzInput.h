#pragma once

#include <stdlib.h>

#include <filesystem>
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

// A folder for the files of one input: libFuzzer ends a timed run without
// running exit handlers, so nothing may outlive the input that made it.
class InputFolder {
  public:
    InputFolder() {
        std::string tmpl = (std::filesystem::temp_directory_path() / "vell-fuzz-XXXXXX").string();
        if (!::mkdtemp(tmpl.data())) std::abort();
        path_ = tmpl;
    }
    ~InputFolder() {
        std::error_code ec;
        std::filesystem::remove_all(path_, ec);
    }
    InputFolder(const InputFolder&) = delete;
    InputFolder& operator=(const InputFolder&) = delete;
    const std::filesystem::path& Path() const { return path_; }

  private:
    std::filesystem::path path_;
};

}  // namespace vellcfgrdr::fuzz
