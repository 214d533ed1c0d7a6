// Fuzzes FileNameFromPath and FileStemFromPath (both separator styles) differentially: every
// input is also matched against the patterns that define them (fuzz/FileNamePatterns.cpp), and
// the results must be the same. The product cuts names by hand, without regular expressions.
#include <cstddef>
#include <cstdint>
#include <string>

#include "fuzz/FileNamePatterns.h"
#include "fuzz/FuzzCheck.h"
#include "fuzz/WideFromBytes.h"
#include "support/FileNames.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::wstring path = WideFromBytes(data, size);
    FUZZ_REQUIRE(FileNameFromPath(path) == ExpectedFileName(path, FileNamePattern::Name));
    FUZZ_REQUIRE(FileStemFromPath(path, SeparatorStyle::Backslash) ==
                 ExpectedFileName(path, FileNamePattern::BackslashStem));
    FUZZ_REQUIRE(FileStemFromPath(path, SeparatorStyle::ForwardSlash) ==
                 ExpectedFileName(path, FileNamePattern::ForwardSlashStem));
    return 0;
}
