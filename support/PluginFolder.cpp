#include "support/PluginFolder.h"

#include <cstring>
#include <mutex>

#include "platform/Platform.h"
#include "support/PathUtilities.h"

namespace {

const char kPluginFolderExtension[] = ".gpPlugin";

struct PluginFolderCache {
    std::mutex mutex;
    std::string folder;
};

PluginFolderCache& Cache() {
    static PluginFolderCache cache;
    return cache;
}

bool IsWalkEnd(const std::string& path) {
    const bool driveRoot = path.size() >= 2 && path.compare(path.size() - 2, 2, ":\\") == 0;
    return path == "/" || driveRoot;
}

std::string ModulePath() {
    char buffer[MAX_PATH] = {};
    if (GetModuleFileNameA(nullptr, buffer, MAX_PATH) == 0) {
        return {};
    }
    // Older Windows leaves a path cut to fit without its terminator.
    return std::string(buffer, strnlen(buffer, MAX_PATH));
}

}  // namespace

std::string FindPluginFolder(const std::string& modulePath) {
    std::string current = modulePath;
    while (!current.empty() && !IsWalkEnd(current)) {
        if (GetPathExtension(current) == kPluginFolderExtension) {
            return current;
        }
        if (!ReplaceWithParentPath(current)) {
            break;
        }
    }
    return {};
}

std::string GetPluginFolder() {
    PluginFolderCache& cache = Cache();
    std::lock_guard<std::mutex> lock(cache.mutex);
    if (cache.folder.empty()) {
        cache.folder = FindPluginFolder(ModulePath());
    }
    return cache.folder;
}
