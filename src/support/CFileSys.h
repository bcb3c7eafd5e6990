#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace vellcfgrdr {

// Path and file operations. Paths may arrive in Windows form from hosts and
// project files: the splitting functions accept both "/" and "\" as
// separators; everything this class builds uses "/".
//
// GetFullPath, GetTempFileName, GetTempPath, MakeFolder, FileFind and the
// splitting functions raise numbered errors with the source
// "CFileSys.<operation>"; RemoveFolder returns an error number; the Boolean
// operations never raise.
class CFileSys {
  public:
    // --- Splitting (both separators) ---
    // Text after the last "." of the name part; empty when there is none.
    // withDot puts "." in front, even of an empty extension.
    static std::string FileExtension(std::string_view path, bool withDot);
    // The last element; empty when the path ends in a separator.
    static std::string FileNamePart(std::string_view path);
    // Everything up to and including the last separator.
    static std::string FilePathPart(std::string_view path);
    // The name part without its last "." and what follows; a name whose last
    // "." is its first character (".profile") is kept whole.
    static std::string FileBasename(std::string_view path);
    static std::string FileChangeExtension(std::string_view path, std::string_view extension);

    // --- Building ---
    // Exactly one "/" between the pieces.
    static std::string PathAppend(std::string_view path, std::string_view more);
    // Adds "/" unless the path ends in a separator; an empty path stays empty.
    static std::string PathAppendBackslash(std::string_view path);
    // Lexical: trims spaces, drops "." and resolves ".." steps, merges
    // separators (both kinds) into "/". No file-system access.
    static std::string PathCanonicalize(std::string_view path);
    // Absolute form: the current folder in front of a relative path, then
    // PathCanonicalize.
    static std::string GetFullPath(std::string_view path);
    // Relative unless it starts with a separator or a drive ("C:").
    static bool PathIsRelative(std::string_view path);
    static std::string PathUnquoteSpaces(std::string_view path);
    // From a folder to a file, both made absolute first; the target unchanged
    // when there is no relative path.
    static std::string MakeRelativePathTo(std::string_view targetFile, std::string_view fromFolder);

    // --- Folders ---
    // TMPDIR when set and not empty, else /tmp; ends in "/".
    static std::string GetTempPath();
    // Creates a new empty file "<prefix>XXXXXX.tmp" in the folder (the
    // temporary folder when empty) and returns its path.
    static std::string GetTempFileName(std::string_view folder, std::string_view prefix);
    // APPDATA, else XDG_CONFIG_HOME, else $HOME/.config; joined with sub when
    // given; ends in "/". With create set the folder and its parents are made.
    static std::string GetAppDataPathSubDir(std::string_view sub, bool create);
    // Creates the folder and its missing parents; true when it exists after.
    static bool MakeFolder(std::string_view path);
    // Removes an empty folder: 0, or 76 (missing), 70 (permission), 75 (other,
    // e.g. not empty).
    static int32_t RemoveFolder(std::string_view path);
    // Full paths of the plain files matching pattern (wildcards "*", "?",
    // "[...]", letter case ignored, "*.*" matches every name): the folder's
    // own files in name order, then with recursive set each sub-folder's,
    // depth first. A missing folder gives no files.
    static std::vector<std::string> FileFind(std::string_view folder, std::string_view pattern,
                                             bool recursive);

    // --- Files ---
    static bool CopyFile(std::string_view source, std::string_view target, bool failIfExists);
    // Renames a file or folder, replacing a target file; a file moved onto a
    // folder goes into it. Across devices: copy, then remove the source.
    static bool MoveFile(std::string_view source, std::string_view target);
    // There is no recycle bin here: the file is always deleted directly, and
    // the two flags are kept for the callers' sake.
    static bool DeleteFile(std::string_view path, bool recycle = false, bool noConfirm = true);
    // True only for an existing path that is not a folder.
    static bool FileExists(std::string_view path);
};

}  // namespace vellcfgrdr
