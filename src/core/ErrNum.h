#pragma once

#include <cstdint>

namespace vellcfgrdr {

// Error and status numbers used by the component. Numbers below 1024 are the
// run-time error numbers whose standard texts ModGSCore knows.
struct ErrNum {
    static constexpr int32_t kInvalidCall = 5;
    static constexpr int32_t kOverflow = 6;
    static constexpr int32_t kOutOfMemory = 7;
    static constexpr int32_t kSubscript = 9;
    static constexpr int32_t kTypeMismatch = 13;
    static constexpr int32_t kInternal = 51;
    static constexpr int32_t kBadFileName = 52;
    static constexpr int32_t kFileNotFound = 53;
    static constexpr int32_t kDeviceIo = 57;
    static constexpr int32_t kFileExists = 58;
    static constexpr int32_t kDiskFull = 61;
    static constexpr int32_t kPastEnd = 62;
    static constexpr int32_t kTooManyFiles = 67;
    static constexpr int32_t kBadRecord = 63;
    static constexpr int32_t kPermission = 70;
    static constexpr int32_t kPathFileAccess = 75;
    static constexpr int32_t kPathNotFound = 76;
    static constexpr int32_t kObjectNotSet = 91;
    static constexpr int32_t kInvalidPattern = 93;
    static constexpr int32_t kBadFileFormat = 321;
    static constexpr int32_t kResourceNotFound = 326;
    static constexpr int32_t kInvalidPropertyValue = 380;
    static constexpr int32_t kObjectRequired = 424;
    static constexpr int32_t kWrongArgCount = 450;
    static constexpr int32_t kDuplicateKey = 457;

    static constexpr int32_t kOk = 0;
    static constexpr int32_t kUnknownFormat = 14001;
    static constexpr int32_t kPlcNotValid = 14002;
    static constexpr int32_t kWarnings = 14003;

    // What a failed system call was about: a missing file is 53, a missing
    // folder (on the way to a file, or the folder itself) 76.
    enum class Subject { file, folder };
    // The one translation of a system error code (errno) into an error
    // number; every file operation of the component and the tool uses it.
    static int32_t FromErrno(int code, Subject subject = Subject::file) noexcept;
};

}  // namespace vellcfgrdr
