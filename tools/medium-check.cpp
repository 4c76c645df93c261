// medium-check [--no-files | --dump] MEDIUM_DIR: checks an installation medium before release.
#include <cstdio>
#include <cstring>
#include <iostream>
#include <string>
#include <vector>

#include "tools/medium-check/MediumCheck.h"

namespace {

int Usage() {
    std::fprintf(
        stderr,
        "usage: medium-check [--no-files] MEDIUM_DIR   one line per finding; 0 clean, 1 findings\n"
        "       medium-check --dump MEDIUM_DIR         the records setup builds, one JSON object a line\n"
        "--no-files skips the files placed only when a medium is assembled.\n");
    return 2;
}

}  // namespace

int main(int argc, char** argv) {
    bool dump = false;
    medium::CheckOptions options;
    std::string dir;
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--dump") == 0) {
            dump = true;
        } else if (std::strcmp(argv[i], "--no-files") == 0) {
            options.checkFiles = false;
        } else if (argv[i][0] == '-' || !dir.empty()) {
            return Usage();
        } else {
            dir = argv[i];
        }
    }
    if (dir.empty()) return Usage();
    if (dump) {
        if (medium::DumpMedium(dir, std::cout)) return 0;
    } else {
        std::vector<medium::Finding> findings;
        if (medium::CheckMedium(dir, options, &findings)) {
            for (const medium::Finding& finding : findings) {
                std::cout << medium::Cp936ToUtf8(medium::FormatFinding(finding)) << "\n";
            }
            return findings.empty() ? 0 : 1;
        }
    }
    std::fprintf(stderr, "medium-check: %s has no DRVCONFIG\\setup.ini\n", dir.c_str());
    return 2;
}
