// Fuzzes the narrow path operations and the plug-in folder walk. JoinPath and
// IsNetworkShareRoot are small enough to be stated again here and compared exactly; for the
// others the fuzzer checks what must hold for any path: results are pieces of the input, and
// walking up from any path ends.
#include <fuzzer/FuzzedDataProvider.h>

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <string>

#include "fuzz/FuzzCheck.h"
#include "support/PathUtilities.h"
#include "support/PluginFolder.h"

namespace {

char SeparatorOf(const std::string& path) {
    return path.find('\\') != std::string::npos ? '\\' : '/';
}

bool StartsWith(const std::string& text, const std::string& prefix) {
    return text.compare(0, prefix.size(), prefix) == 0;
}

bool EndsWith(const std::string& text, const std::string& suffix) {
    return text.size() >= suffix.size() &&
           text.compare(text.size() - suffix.size(), suffix.size(), suffix) == 0;
}

std::string WithBackslashes(std::string text) {
    for (char& character : text) {
        if (character == '/') {
            character = '\\';
        }
    }
    return text;
}

std::string ExpectedJoin(const std::string& base, const std::string& component) {
    if (base.empty()) {
        return component;
    }
    const bool baseEnds = base.back() == '\\' || base.back() == '/';
    const bool componentStarts =
        !component.empty() && (component.front() == '\\' || component.front() == '/');
    if (baseEnds && componentStarts) {
        return WithBackslashes(base + component.substr(1));
    }
    if (!baseEnds && !componentStarts) {
        return WithBackslashes(base + "\\" + component);
    }
    return WithBackslashes(base + component);
}

// Read as counting: two leading separators, and no more than three in the whole path.
bool ExpectedShareRoot(const std::string& path) {
    const char separator = SeparatorOf(path);
    const bool twoLeading = path.rfind(std::string(2, separator), 0) == 0;
    return twoLeading && std::count(path.begin(), path.end(), separator) <= 3;
}

void CheckLastComponent(const std::string& path) {
    const std::string last = GetLastPathComponent(path);
    FUZZ_REQUIRE(last.empty() == path.empty());
    FUZZ_REQUIRE(path.find(last) != std::string::npos);
    const char separator = SeparatorOf(path);
    if (last != path && last != std::string(1, separator)) {
        FUZZ_REQUIRE(last.find(separator) == std::string::npos);
    }
}

void CheckExtension(const std::string& path) {
    const std::string extension = GetPathExtension(path);
    if (extension.empty()) {
        return;
    }
    FUZZ_REQUIRE(extension.size() >= 2);
    FUZZ_REQUIRE(extension.front() == '.');
    FUZZ_REQUIRE(extension.find('.', 1) == std::string::npos);
    FUZZ_REQUIRE(EndsWith(GetLastPathComponent(path), extension));
}

// The parent is the path cut short, at most with one separator put back after a drive.
// The in-place form used by the folder walk must agree with it exactly.
void CheckParent(const std::string& path) {
    const std::string parent = GetParentPath(path);
    std::string inPlace = path;
    const bool changed = ReplaceWithParentPath(inPlace);
    FUZZ_REQUIRE(inPlace == parent && changed == (parent != path));
    if (parent == path || parent.empty()) {
        return;
    }
    if (StartsWith(path, parent)) {
        FUZZ_REQUIRE(parent.size() < path.size());
        return;
    }
    FUZZ_REQUIRE(parent.size() >= 2);
    FUZZ_REQUIRE(parent.back() == '\\' || parent.back() == '/');
    FUZZ_REQUIRE(StartsWith(path, parent.substr(0, parent.size() - 1)));
}

// The walk that finds the plug-in folder from the executable's path must end for any path
// (start-up waits for it; libFuzzer's timeout catches a loop) and may only stop at an
// enclosing ".gpPlugin" folder.
void CheckPluginFolderWalk(const std::string& path) {
    const std::string folder = FindPluginFolder(path);
    if (folder.empty()) {
        return;
    }
    FUZZ_REQUIRE(GetPathExtension(folder) == ".gpPlugin");
    FUZZ_REQUIRE(StartsWith(path, folder) || StartsWith(path, folder.substr(0, folder.size() - 1)));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string whole(reinterpret_cast<const char*>(data), size);
    CheckLastComponent(whole);
    CheckExtension(whole);
    CheckParent(whole);
    CheckPluginFolderWalk(whole);
    FUZZ_REQUIRE(IsNetworkShareRoot(whole) == ExpectedShareRoot(whole));

    FuzzedDataProvider provider(data, size);
    const std::string base = provider.ConsumeRandomLengthString();
    const std::string component = provider.ConsumeRemainingBytesAsString();
    FUZZ_REQUIRE(JoinPath(base, component) == ExpectedJoin(base, component));
    return 0;
}
