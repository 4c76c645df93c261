// Every fuzz target over its seeds (the sample medium's files) and over every input kept from a failure.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "tests/fuzz/FuzzTargets.h"

namespace {

namespace fs = std::filesystem;

std::vector<fs::path> FilesUnder(const fs::path& folder) {
    std::vector<fs::path> files;
    if (!fs::is_directory(folder)) return files;
    for (const auto& entry : fs::recursive_directory_iterator(folder))
        if (entry.is_regular_file()) files.push_back(entry.path());
    return files;
}

std::string Read(const fs::path& file) {
    std::ifstream in(file, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

TEST(FuzzReplay, EveryTargetSurvivesItsSeedsAndKeptFailures) {
    const fs::path source = SOURCE_DIR;
    std::vector<fs::path> medium = FilesUnder(source / "medium");
    int runs = 0;
    for (const FuzzTarget& target : kFuzzTargets) {
        std::vector<fs::path> inputs = FilesUnder(source / "tests" / "fuzz" / "regressions" / target.name);
        for (const fs::path& file : FilesUnder(source / "tests" / "fuzz" / "corpus" / target.name)) inputs.push_back(file);
        for (const fs::path& file : medium)
            if (file.extension() == ".ini" || file.extension() == ".INI") inputs.push_back(file);
        for (const fs::path& file : inputs) {
            SCOPED_TRACE(std::string(target.name) + " " + file.string());
            std::string bytes = Read(file);
            target.run(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size());
            ++runs;
        }
    }
    EXPECT_GT(runs, 20);
}

}  // namespace
