// Linux stand-in for the Microsoft C runtime call the plug-in makes.
#include <cerrno>
#include <cstdio>
#include <string>

#include "platform/Platform.h"

// Linux sees the Windows-form paths that the plug-in builds with forward slashes; sharing
// modes do not exist here, so the flag is accepted and ignored.
FILE* _fsopen(const char* path, const char* mode, int /*shareFlag*/) {
    if (path == nullptr || mode == nullptr) {
        errno = EINVAL;
        return nullptr;
    }
    std::string linuxPath(path);
    for (char& character : linuxPath) {
        if (character == '\\') {
            character = '/';
        }
    }
    return std::fopen(linuxPath.c_str(), mode);
}
