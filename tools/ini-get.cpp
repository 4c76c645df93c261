// ini-get FILE SECTION KEY DEFAULT SIZE: prints the bytes our profile reader returns for a host file.
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <vector>

#include "platform/sim/ProfileReader.h"

int main(int argc, char** argv) {
    if (argc != 6) {
        std::fprintf(stderr, "usage: ini-get FILE SECTION KEY DEFAULT SIZE\n");
        return 2;
    }
    char* end = nullptr;
    unsigned long size = std::strtoul(argv[5], &end, 10);
    if (*argv[5] == '\0' || *end != '\0' || size > 1u << 24) {
        std::fprintf(stderr, "ini-get: SIZE must be a number of bytes, not '%s'\n", argv[5]);
        return 2;
    }
    std::vector<char> buffer(size + 1, '\0');
    win::DWORD length;
    std::ifstream in(argv[1], std::ios::binary);
    if (in) {
        std::ostringstream bytes;
        bytes << in.rdbuf();
        length = win::sim::ProfileDocument(bytes.str())
                     .GetString(argv[2], argv[3], argv[4], buffer.data(), static_cast<win::DWORD>(size));
    } else {
        length = win::sim::CopyProfileDefault(argv[2], argv[3], argv[4], buffer.data(), static_cast<win::DWORD>(size));
    }
    std::fwrite(buffer.data(), 1, length, stdout);
    std::fputc('\n', stdout);
    return 0;
}
