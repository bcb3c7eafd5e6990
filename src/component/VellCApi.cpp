#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <istream>
#include <new>
#include <streambuf>
#include <string>
#include <string_view>

#include "core/ErrNum.h"
#include "core/ModGSCore.h"
#include "vellcfgrdr/CPlcCfgReader.h"
#include "vellcfgrdr/vellcfgrdr.h"

using vellcfgrdr::CPlcCfgReader;
using vellcfgrdr::CVellError;
using vellcfgrdr::ErrNum;
using vellcfgrdr::ModGSCore;

struct vell_reader {
    CPlcCfgReader reader;
    vell_message_callback callback = nullptr;
    void* user = nullptr;
    // Set while a read or an Xml runs: a callback must not swap the
    // configuration out from under the running reader.
    bool busy = false;
    bool destroyPending = false;
};

namespace {

constexpr const char* kSourcePrefix = "VellCfgRdr > CApi.";

// Copies as much of text as fits, cut before a UTF-8 continuation byte so
// that no character is split.
void CopyText(char* dst, size_t size, std::string_view text) noexcept {
    size_t n = std::min(text.size(), size - 1);
    if (n < text.size())
        while (n > 0 && (static_cast<unsigned char>(text[n]) & 0xC0) == 0x80)
            --n;
    std::memcpy(dst, text.data(), n);
    dst[n] = '\0';
}

void Clear(vell_error* err) noexcept {
    if (!err) return;
    err->number = 0;
    err->line_number = 0;
    err->os_error = 0;
    err->description[0] = '\0';
    err->source[0] = '\0';
}

void Fill(vell_error* err, const CVellError& e) noexcept {
    if (!err) return;
    err->number = e.Number();
    err->line_number = e.LineNumber();
    err->os_error = e.OsError();
    CopyText(err->description, sizeof err->description, e.Description());
    CopyText(err->source, sizeof err->source, e.Source());
}

// For failures found here, before any string is made: fixed texts only.
void Fill(vell_error* err, int32_t number, const char* detail, const char* function) noexcept {
    if (!err) return;
    err->number = number;
    err->line_number = 0;
    err->os_error = 0;
    char description[VELL_ERROR_DESCRIPTION_SIZE];
    std::snprintf(description, sizeof description, "%s - %s", ModGSCore::StandardErrorText(number),
                  detail);
    CopyText(err->description, sizeof err->description, description);
    char source[VELL_ERROR_SOURCE_SIZE];
    std::snprintf(source, sizeof source, "%s%s", kSourcePrefix, function);
    CopyText(err->source, sizeof err->source, source);
}

// To be called inside a catch block. Turning the error into a CVellError
// needs memory; when even that fails, out of memory is the answer.
void FillCurrent(vell_error* err) noexcept {
    try {
        Fill(err, ModGSCore::CurrentError());
    } catch (...) {
        if (!err) return;
        Clear(err);
        err->number = ErrNum::kOutOfMemory;
        CopyText(err->description, sizeof err->description,
                 ModGSCore::StandardErrorText(ErrNum::kOutOfMemory));
        CopyText(err->source, sizeof err->source, CVellError::kDefaultSource);
    }
}

char* Duplicate(const std::string& text) noexcept {
    char* copy = static_cast<char*>(std::malloc(text.size() + 1));
    if (copy) {
        std::memcpy(copy, text.data(), text.size());
        copy[text.size()] = '\0';
    }
    return copy;
}

// Guards the public calls that run the reader: refuses a nested call from a
// callback and releases a reader whose destroy came during the call.
class BusyScope {
  public:
    explicit BusyScope(vell_reader* r) noexcept : r_(r) { r_->busy = true; }
    ~BusyScope() {
        r_->busy = false;
        if (r_->destroyPending) delete r_;
    }
    BusyScope(const BusyScope&) = delete;
    BusyScope& operator=(const BusyScope&) = delete;

  private:
    vell_reader* r_;
};

// The checks every read makes, then the read itself; -1 with err filled
// when they refuse or the read raises.
template <class F>
int32_t GuardedRead(vell_reader* reader, vell_error* err, const char* where, F&& read) {
    Clear(err);
    if (!reader) {
        Fill(err, ErrNum::kObjectNotSet, "the reader is NULL", where);
        return -1;
    }
    if (reader->busy) {
        Fill(err, ErrNum::kInvalidCall, "the reader is busy", where);
        return -1;
    }
    BusyScope scope(reader);
    try {
        return read(reader->reader);
    } catch (...) {
        FillCurrent(err);
        return -1;
    }
}

// Reads bytes in place: a project in memory is not copied before it is
// written to the reader's temporary file.
class CMemoryBuffer final : public std::streambuf {
  public:
    CMemoryBuffer(const void* data, size_t size) {
        char* begin = static_cast<char*>(const_cast<void*>(data));
        setg(begin, begin, begin + size);
    }
};

int32_t ReadPath(vell_reader* reader, const char* path, const char* format, vell_error* err,
                 const char* where) {
    if (reader && !path) {
        Clear(err);
        Fill(err, ErrNum::kInvalidCall, "the path is NULL", where);
        return -1;
    }
    return GuardedRead(reader, err, where, [&](CPlcCfgReader& r) {
        return format && *format ? r.ReadIOmap(path, format) : r.ReadIOmap(path);
    });
}

}  // namespace

extern "C" {

vell_reader* vell_reader_create(vell_error* err) {
    Clear(err);
    try {
        auto* r = new vell_reader;
        r->reader.EvtInfoMessage.Subscribe([r](const std::string& text,
                                               vellcfgrdr::eMessageLevel level,
                                               const std::string& source) {
            if (r->callback) r->callback(text.c_str(), level, source.c_str(), r->user);
        });
        return r;
    } catch (...) {
        FillCurrent(err);
        return nullptr;
    }
}

void vell_reader_destroy(vell_reader* reader) {
    if (!reader) return;
    if (reader->busy)
        reader->destroyPending = true;
    else
        delete reader;
}

int32_t vell_reader_read(vell_reader* reader, const char* path, vell_error* err) {
    return ReadPath(reader, path, nullptr, err, "vell_reader_read");
}

int32_t vell_reader_read_as(vell_reader* reader, const char* path, const char* format,
                            vell_error* err) {
    return ReadPath(reader, path, format, err, "vell_reader_read_as");
}

int32_t vell_reader_read_memory(vell_reader* reader, const void* data, size_t size,
                                const char* format, const char* name, vell_error* err) {
    if (reader && !data && size > 0) {
        Clear(err);
        Fill(err, ErrNum::kInvalidCall, "the data are NULL", "vell_reader_read_memory");
        return -1;
    }
    return GuardedRead(reader, err, "vell_reader_read_memory", [&](CPlcCfgReader& r) {
        CMemoryBuffer buffer(data ? data : "", data ? size : 0);
        std::istream input(&buffer);
        return r.ReadIOmap(input, format ? format : "", name ? name : "memory");
    });
}

char* vell_reader_xml(vell_reader* reader, vell_error* err) {
    Clear(err);
    if (!reader) {
        Fill(err, ErrNum::kObjectNotSet, "the reader is NULL", "vell_reader_xml");
        return nullptr;
    }
    if (reader->busy) {
        Fill(err, ErrNum::kInvalidCall, "the reader is busy", "vell_reader_xml");
        return nullptr;
    }
    BusyScope scope(reader);
    try {
        char* xml = Duplicate(reader->reader.Xml());
        if (!xml) throw std::bad_alloc();
        return xml;
    } catch (...) {
        FillCurrent(err);
        return nullptr;
    }
}

char* vell_error_description(vell_reader* reader, int32_t number) {
    if (!reader) return nullptr;
    try {
        return Duplicate(reader->reader.ErrorDescription(number));
    } catch (...) {
        return nullptr;
    }
}

void vell_reader_set_message_callback(vell_reader* reader, vell_message_callback callback,
                                      void* user) {
    if (!reader) return;
    reader->callback = callback;
    reader->user = user;
}

int32_t vell_set_language(int32_t language, vell_error* err) {
    Clear(err);
    try {
        CPlcCfgReader::SetLanguage(static_cast<vellcfgrdr::eGuiLanguage>(language));
        return 0;
    } catch (...) {
        FillCurrent(err);
        return -1;
    }
}

void vell_free(void* p) {
    std::free(p);
}

const char* vell_version(void) {
    return VELL_VERSION_STRING;
}

}  // extern "C"
