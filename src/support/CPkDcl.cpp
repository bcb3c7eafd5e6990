#include "support/CPkDcl.h"

#include <algorithm>
#include <cstring>

#include "core/ErrNum.h"
#include "core/ModGSCore.h"

// The compression library exports the classic interface of the format but
// installs no header for it: these are its two entry points.
extern "C" {
unsigned int explode(unsigned int (*read_buf)(char* buf, unsigned int* size, void* param),
                     void (*write_buf)(char* buf, unsigned int* size, void* param), char* work_buf,
                     void* param);
unsigned int implode(unsigned int (*read_buf)(char* buf, unsigned int* size, void* param),
                     void (*write_buf)(char* buf, unsigned int* size, void* param), char* work_buf,
                     void* param, unsigned int* type, unsigned int* dsize);
}

namespace vellcfgrdr {

namespace {

// The library's work areas are its private structures (about 12.6 KB to
// expand, 36 KB to compress on 32-bit systems, somewhat more with 64-bit
// pointers); these sizes leave ample room.
constexpr size_t kExplodeWork = 64 * 1024;
constexpr size_t kImplodeWork = 128 * 1024;

struct Streams {
    const CPkDcl::Reader* read = nullptr;
    const CPkDcl::Writer* write = nullptr;
    // A callback must not throw through the C library: the first error is
    // kept and passed on once the library has returned.
    std::exception_ptr error;
};

unsigned int ReadBuf(char* buf, unsigned int* size, void* param) {
    auto* s = static_cast<Streams*>(param);
    if (s->error) return 0;
    try {
        const size_t got = (*s->read)(reinterpret_cast<uint8_t*>(buf), *size);
        return static_cast<unsigned int>(std::min<size_t>(got, *size));
    } catch (...) {
        s->error = std::current_exception();
        return 0;
    }
}

void WriteBuf(char* buf, unsigned int* size, void* param) {
    auto* s = static_cast<Streams*>(param);
    if (s->error) return;
    try {
        (*s->write)(reinterpret_cast<const uint8_t*>(buf), *size);
    } catch (...) {
        s->error = std::current_exception();
    }
}

}  // namespace

int CPkDcl::Explode(const Reader& read, const Writer& write) {
    std::vector<char> work(kExplodeWork);
    Streams s{&read, &write, nullptr};
    const unsigned int code = explode(&ReadBuf, &WriteBuf, work.data(), &s);
    if (s.error) std::rethrow_exception(s.error);
    return static_cast<int>(code);
}

std::vector<uint8_t> CPkDcl::Implode(std::span<const uint8_t> data, bool ascii,
                                     unsigned dictionarySize) {
    if (dictionarySize != 1024 && dictionarySize != 2048 && dictionarySize != 4096)
        ModGSCore::RaiseError("dictionary size " + std::to_string(dictionarySize),
                              ErrNum::kInvalidCall);
    std::vector<uint8_t> out;
    size_t pos = 0;
    const Reader read = [&](uint8_t* buffer, size_t size) {
        const size_t n = std::min(size, data.size() - pos);
        if (n) std::memcpy(buffer, data.data() + pos, n);
        pos += n;
        return n;
    };
    const Writer write = [&](const uint8_t* p, size_t n) { out.insert(out.end(), p, p + n); };
    std::vector<char> work(kImplodeWork);
    Streams s{&read, &write, nullptr};
    unsigned int type = ascii ? 1 : 0;
    unsigned int dsize = dictionarySize;
    implode(&ReadBuf, &WriteBuf, work.data(), &s, &type, &dsize);
    if (s.error) std::rethrow_exception(s.error);
    return out;
}

}  // namespace vellcfgrdr
