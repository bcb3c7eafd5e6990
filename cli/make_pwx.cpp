// vell-make-pwx: packs files into a Tessel project container (".pwx"), each
// entry compressed in the PKWARE DCL implode format, binary literal mode
// unless --ascii is given. The last file should be the project database.
//
//     vell-make-pwx [--ascii] OUTPUT.pwx FILE...
#include <cstdio>
#include <cstring>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "support/CFileSys.h"
#include "support/CPkDcl.h"
#include "vellcfgrdr/CVellError.h"

namespace {

void PutInt32Le(std::string& out, uint32_t v) {
    for (int i = 0; i < 4; ++i)
        out += static_cast<char>((v >> (8 * i)) & 0xFF);
}

}  // namespace

int main(int argc, char** argv) {
    bool ascii = false;
    int first = 1;
    if (argc > 1 && std::strcmp(argv[1], "--ascii") == 0) {
        ascii = true;
        first = 2;
    }
    if (argc - first < 2) {
        std::fprintf(stderr, "usage: vell-make-pwx [--ascii] OUTPUT.pwx FILE...\n");
        return 64;
    }
    try {
        std::string container;
        for (int i = first + 1; i < argc; ++i) {
            std::ifstream in(argv[i], std::ios::binary);
            if (!in) {
                std::fprintf(stderr, "vell-make-pwx: cannot read %s\n", argv[i]);
                return 1;
            }
            const std::vector<uint8_t> data((std::istreambuf_iterator<char>(in)), {});
            const std::string name = vellcfgrdr::CFileSys::FileNamePart(argv[i]);
            const std::vector<uint8_t> packed = vellcfgrdr::CPkDcl::Implode(data, ascii);
            PutInt32Le(container, static_cast<uint32_t>(name.size()));
            container += name;
            PutInt32Le(container, static_cast<uint32_t>(packed.size()));
            container.append(packed.begin(), packed.end());
        }
        std::ofstream out(argv[first], std::ios::binary);
        out << container;
        if (!out.flush()) {
            std::fprintf(stderr, "vell-make-pwx: cannot write %s\n", argv[first]);
            return 1;
        }
    } catch (const vellcfgrdr::CVellError& e) {
        std::fprintf(stderr, "vell-make-pwx: %s\n", e.Description().c_str());
        return 1;
    }
    return 0;
}
