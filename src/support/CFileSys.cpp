#include "support/CFileSys.h"

#include <fnmatch.h>
#include <pwd.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <filesystem>
#include <system_error>

#include "core/CUtf8.h"
#include "core/ErrNum.h"
#include "core/ModGSCore.h"

namespace fs = std::filesystem;

namespace vellcfgrdr {

namespace {

// Failures are passed on as "CFileSys.<operation>", with the class prefix.
constexpr const char* kWhere = "CFileSys";

constexpr std::string_view kSeparators = "/\\";

bool IsSeparator(char c) {
    return c == '/' || c == '\\';
}

size_t NameStart(std::string_view path) {
    const size_t sep = path.find_last_of(kSeparators);
    return sep == std::string_view::npos ? 0 : sep + 1;
}

std::string_view NamePart(std::string_view path) {
    return path.substr(NameStart(path));
}

std::string Env(const char* name) {
    const char* v = std::getenv(name);
    return v ? std::string(v) : std::string();
}

std::string HomeFolder() {
    std::string home = Env("HOME");
    if (!home.empty()) return home;
    if (const passwd* pw = ::getpwuid(::getuid()); pw && pw->pw_dir && *pw->pw_dir)
        return pw->pw_dir;
    return CFileSys::GetTempPath();
}

// Walks one folder: own matching files first (name order), then the
// sub-folders. Symbolic links to folders are not followed, so a link cycle
// cannot trap the walk; unreadable sub-folders are skipped.
void FindIn(const std::string& folder, const std::string& pattern, bool recursive, bool top,
            std::vector<std::string>& found) {
    std::error_code ec;
    fs::directory_iterator it(folder.empty() ? fs::path(".") : fs::path(folder), ec);
    if (ec) {
        if (!top || ec == std::errc::no_such_file_or_directory || ec == std::errc::not_a_directory)
            return;
        throw fs::filesystem_error("FileFind", folder, ec);
    }
    std::vector<std::string> files, folders;
    for (; it != fs::directory_iterator(); it.increment(ec)) {
        if (ec) break;
        const std::string name = it->path().filename().string();
        std::error_code typeEc;
        if (it->is_directory(typeEc) && !it->is_symlink(typeEc)) {
            folders.push_back(name);
        } else if (it->is_regular_file(typeEc) &&
                   ::fnmatch(pattern.c_str(), name.c_str(), FNM_CASEFOLD) == 0) {
            files.push_back(name);
        }
    }
    if (ec && top) throw fs::filesystem_error("FileFind", folder, ec);
    std::sort(files.begin(), files.end());
    for (const auto& name : files)
        found.push_back(CFileSys::PathAppend(folder, name));
    if (!recursive) return;
    std::sort(folders.begin(), folders.end());
    for (const auto& name : folders)
        FindIn(CFileSys::PathAppend(folder, name), pattern, recursive, false, found);
}

}  // namespace

std::string CFileSys::FileExtension(std::string_view path, bool withDot) {
    return ModGSCore::Guarded(kWhere, "FileExtension", [&] {
        const std::string_view name = NamePart(path);
        const size_t dot = name.rfind('.');
        std::string ext =
            dot == std::string_view::npos ? std::string() : std::string(name.substr(dot + 1));
        return withDot ? "." + ext : ext;
    });
}

std::string CFileSys::FileNamePart(std::string_view path) {
    return ModGSCore::Guarded(kWhere, "FileNamePart", [&] { return std::string(NamePart(path)); });
}

std::string CFileSys::FilePathPart(std::string_view path) {
    return ModGSCore::Guarded(kWhere, "FilePathPart",
                              [&] { return std::string(path.substr(0, NameStart(path))); });
}

std::string CFileSys::FileBasename(std::string_view path) {
    return ModGSCore::Guarded(kWhere, "FileBasename", [&] {
        const std::string_view name = NamePart(path);
        const size_t dot = name.rfind('.');
        if (dot == std::string_view::npos || dot == 0) return std::string(name);
        return std::string(name.substr(0, dot));
    });
}

std::string CFileSys::FileChangeExtension(std::string_view path, std::string_view extension) {
    return ModGSCore::Guarded(kWhere, "FileChangeExtension", [&] {
        std::string out = FilePathPart(path) + FileBasename(path);
        if (!extension.starts_with('.')) out.push_back('.');
        out.append(extension);
        return out;
    });
}

std::string CFileSys::PathAppend(std::string_view path, std::string_view more) {
    return ModGSCore::Guarded(kWhere, "PathAppend", [&] {
        if (path.empty()) return std::string(more);
        if (more.empty()) return std::string(path);
        while (!path.empty() && IsSeparator(path.back()))
            path.remove_suffix(1);
        while (!more.empty() && IsSeparator(more.front()))
            more.remove_prefix(1);
        std::string out(path);
        out.push_back('/');
        out.append(more);
        return out;
    });
}

std::string CFileSys::PathAppendBackslash(std::string_view path) {
    return ModGSCore::Guarded(kWhere, "PathAppendBackslash", [&] {
        std::string out(path);
        if (!out.empty() && !IsSeparator(out.back())) out.push_back('/');
        return out;
    });
}

std::string CFileSys::PathCanonicalize(std::string_view path) {
    return ModGSCore::Guarded(kWhere, "PathCanonicalize", [&] {
        std::string p(CUtf8::Trim(path));
        if (p.empty()) return p;
        std::replace(p.begin(), p.end(), '\\', '/');
        return fs::path(p).lexically_normal().string();
    });
}

std::string CFileSys::GetFullPath(std::string_view path) {
    return ModGSCore::Guarded(kWhere, "GetFullPath", [&] {
        if (CUtf8::Trim(path).empty()) ModGSCore::RaiseError("empty path", ErrNum::kBadFileName);
        if (!PathIsRelative(path)) return PathCanonicalize(path);
        return PathCanonicalize(PathAppend(fs::current_path().string(), path));
    });
}

bool CFileSys::PathIsRelative(std::string_view path) {
    if (path.empty()) return true;
    if (IsSeparator(path[0])) return false;
    const bool letter = (path[0] >= 'A' && path[0] <= 'Z') || (path[0] >= 'a' && path[0] <= 'z');
    return !(path.size() >= 2 && letter && path[1] == ':');
}

std::string CFileSys::PathUnquoteSpaces(std::string_view path) {
    if (path.size() >= 2 && path.front() == '"' && path.back() == '"')
        path = path.substr(1, path.size() - 2);
    return std::string(path);
}

std::string CFileSys::MakeRelativePathTo(std::string_view targetFile, std::string_view fromFolder) {
    return ModGSCore::Guarded(kWhere, "MakeRelativePathTo", [&] {
        if (CUtf8::Trim(targetFile).empty() || CUtf8::Trim(fromFolder).empty())
            return std::string(targetFile);
        std::string from = GetFullPath(fromFolder);
        while (from.size() > 1 && from.back() == '/')
            from.pop_back();
        const fs::path rel = fs::path(GetFullPath(targetFile)).lexically_relative(from);
        return rel.empty() ? std::string(targetFile) : rel.string();
    });
}

std::string CFileSys::GetTempPath() {
    return ModGSCore::Guarded(kWhere, "GetTempPath", [] {
        const std::string tmp = Env("TMPDIR");
        return PathAppendBackslash(tmp.empty() ? "/tmp" : tmp);
    });
}

std::string CFileSys::GetTempFileName(std::string_view folder, std::string_view prefix) {
    return ModGSCore::Guarded(kWhere, "GetTempFileName", [&] {
        const std::string dir = folder.empty() ? GetTempPath() : std::string(folder);
        std::string name = PathAppend(dir, prefix);
        if (prefix.empty()) name = PathAppendBackslash(dir);
        name += "XXXXXX.tmp";
        const int fd = ::mkstemps(name.data(), 4);
        if (fd < 0)
            throw std::system_error(errno, std::generic_category(), "GetTempFileName " + dir);
        ::close(fd);
        return name;
    });
}

std::string CFileSys::GetAppDataPathSubDir(std::string_view sub, bool create) {
    return ModGSCore::Guarded(kWhere, "GetAppDataPathSubDir", [&] {
        std::string base = Env("APPDATA");
        if (base.empty()) base = Env("XDG_CONFIG_HOME");
        if (base.empty()) base = PathAppend(HomeFolder(), ".config");
        const std::string out = PathAppendBackslash(sub.empty() ? base : PathAppend(base, sub));
        if (create) MakeFolder(out);
        return out;
    });
}

bool CFileSys::MakeFolder(std::string_view path) {
    return ModGSCore::Guarded(kWhere, "MakeFolder", [&] {
        std::string p(path);
        while (p.size() > 1 && p.back() == '/')
            p.pop_back();
        if (p.empty()) return false;
        std::error_code ec;
        fs::create_directories(p, ec);
        if (ec) throw fs::filesystem_error("MakeFolder", p, ec);
        return true;
    });
}

int32_t CFileSys::RemoveFolder(std::string_view path) {
    if (::rmdir(std::string(path).c_str()) == 0) return ErrNum::kOk;
    return ErrNum::FromErrno(errno, ErrNum::Subject::folder);
}

std::vector<std::string> CFileSys::FileFind(std::string_view folder, std::string_view pattern,
                                            bool recursive) {
    return ModGSCore::Guarded(kWhere, "FileFind", [&] {
        std::vector<std::string> found;
        // "*.*" is the all-files pattern of the hosts, also for names without a dot.
        const std::string glob = pattern == "*.*" ? std::string("*") : std::string(pattern);
        FindIn(std::string(folder), glob, recursive, true, found);
        return found;
    });
}

bool CFileSys::CopyFile(std::string_view source, std::string_view target, bool failIfExists) {
    try {
        std::error_code ec;
        const auto options =
            failIfExists ? fs::copy_options::none : fs::copy_options::overwrite_existing;
        return fs::copy_file(fs::path(source), fs::path(target), options, ec) && !ec;
    } catch (...) {
        return false;
    }
}

bool CFileSys::MoveFile(std::string_view source, std::string_view target) {
    try {
        if (!source.empty() && !target.empty()) {
            const fs::path from(source);
            fs::path to(target);
            std::error_code ec;
            if (!fs::is_directory(from, ec) && fs::is_directory(to, ec)) to /= from.filename();
            ec.clear();
            fs::rename(from, to, ec);
            if (ec == std::errc::cross_device_link) {
                ec.clear();
                if (fs::is_directory(from, ec))
                    fs::copy(from, to,
                             fs::copy_options::recursive | fs::copy_options::overwrite_existing,
                             ec);
                else if (!ec)
                    fs::copy_file(from, to, fs::copy_options::overwrite_existing, ec);
                if (!ec) fs::remove_all(from, ec);
            }
            if (!ec) return true;
        }
    } catch (...) {
    }
    ModGSCore::DebugTrace("MoveFile failed");
    return false;
}

bool CFileSys::DeleteFile(std::string_view path, bool /*recycle*/, bool /*noConfirm*/) {
    try {
        if (path.empty()) return false;
        const std::string p(path);
        if (::unlink(p.c_str()) == 0) return true;
        const int err = errno;
        if (err != ENOENT)
            ModGSCore::DebugTrace("DeleteFile2 >" + p + "< " + ModGSCore::ApiErrorText(err));
        return false;
    } catch (...) {
        return false;
    }
}

bool CFileSys::FileExists(std::string_view path) {
    if (path.empty()) return false;
    try {
        std::error_code ec;
        const fs::file_status st = fs::status(fs::path(path), ec);
        return !ec && fs::exists(st) && !fs::is_directory(st);
    } catch (...) {
        return false;
    }
}

}  // namespace vellcfgrdr
