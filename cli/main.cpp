#include <cstdio>
#include <cstring>

int main(int argc, char** argv) {
    if (argc > 1 && std::strcmp(argv[1], "--version") == 0) {
        std::printf("vellcfgrdr %s\n", VELL_VERSION);
        return 0;
    }
    std::fprintf(stderr, "vellcfgrdr %s: no reader is available yet\n", VELL_VERSION);
    return 0;
}
