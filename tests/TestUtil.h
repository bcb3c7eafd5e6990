#pragma once

#include <gtest/gtest.h>
#include <stdlib.h>
#include <sys/stat.h>

#include <algorithm>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <initializer_list>
#include <iterator>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "vellcfgrdr/CPublicEnums.h"
#include "vellcfgrdr/CVellError.h"

namespace vellcfgrdr::test {

// A fresh folder under the temporary folder, removed with its content.
class TempDir {
  public:
    TempDir() {
        std::string tmpl = (std::filesystem::temp_directory_path() / "vell_test_XXXXXX").string();
        if (::mkdtemp(tmpl.data()) == nullptr) throw std::runtime_error("mkdtemp failed");
        path_ = tmpl;
    }
    ~TempDir() {
        std::error_code ec;
        std::filesystem::remove_all(path_, ec);
    }
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;

    const std::filesystem::path& Path() const { return path_; }
    std::string Str() const { return path_.string(); }
    std::string File(const std::string& name) const { return (path_ / name).string(); }
    // Writes bytes to a file of the folder, making its sub-folders, and
    // returns its path.
    std::string Write(const std::string& name, const std::string& bytes) const {
        const std::filesystem::path path = path_ / name;
        std::filesystem::create_directories(path.parent_path());
        std::ofstream(path, std::ios::binary) << bytes;
        return path.string();
    }

  private:
    std::filesystem::path path_;
};

inline std::string ReadBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

// The permission bits of a path itself (a link is not followed).
inline mode_t ModeOf(const std::string& path) {
    struct stat st {};
    ::lstat(path.c_str(), &st);
    return st.st_mode & 07777;
}

// The names in a folder, sorted.
inline std::vector<std::string> NamesIn(const std::filesystem::path& folder) {
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(folder))
        names.push_back(entry.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
}

// f of every input against its expected result.
template <class Out = std::string_view, class F>
void ExpectEach(F f, std::initializer_list<std::pair<std::string_view, Out>> cases) {
    for (const auto& [in, out] : cases)
        EXPECT_EQ(f(in), out) << in;
}

// Records the messages of source as "text|level|source", but for the debug
// ones, which come only with the Debugmode environment variable.
template <class Source>
void RecordMessages(Source& source, std::vector<std::string>& out) {
    source.EvtInfoMessage.Subscribe(
        [&out](const std::string& text, eMessageLevel level, const std::string& from) {
            if (level != eMsgDebug) out.push_back(text + "|" + std::to_string(level) + "|" + from);
        });
}

// The CVellError that f throws; a test failure when it throws none.
template <class F>
CVellError CatchError(F&& f) {
    try {
        f();
    } catch (const CVellError& e) {
        return e;
    }
    ADD_FAILURE() << "no CVellError was thrown";
    return CVellError(0, "");
}

// Sets (or, for nullptr, clears) an environment variable for the life of
// the guard; the time zone is read again both ways.
class EnvGuard {
  public:
    EnvGuard(const char* name, const char* value) : name_(name) {
        if (const char* old = ::getenv(name)) old_ = old;
        Set(value);
    }
    ~EnvGuard() { Set(old_ ? old_->c_str() : nullptr); }
    EnvGuard(const EnvGuard&) = delete;
    EnvGuard& operator=(const EnvGuard&) = delete;

  private:
    void Set(const char* value) const {
        value ? ::setenv(name_, value, 1) : ::unsetenv(name_);
        ::tzset();
    }

    const char* name_;
    std::optional<std::string> old_;
};

}  // namespace vellcfgrdr::test
