// Linux stand-ins for the two Microsoft C runtime calls the plug-in makes.
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <string>

#include "platform/Platform.h"

namespace {

constexpr errno_t kTruncated = 80;  // the runtime's STRUNCATE

void ClearDestination(wchar_t* destination, std::size_t destinationSize) {
    if (destination != nullptr && destinationSize > 0) {
        destination[0] = L'\0';
    }
}

errno_t Fail(errno_t error, std::size_t* converted, wchar_t* destination,
             std::size_t destinationSize) {
    if (converted != nullptr) {
        *converted = 0;
    }
    ClearDestination(destination, destinationSize);
    return error;
}

}  // namespace

// Handles ASCII text, the only text the plug-in widens this way; any other byte is EILSEQ.
// `converted` counts the terminator, as the runtime's does.
errno_t mbstowcs_s(std::size_t* converted, wchar_t* destination, std::size_t destinationSize,
                   const char* source, std::size_t count) {
    const bool sizeQuery = destination == nullptr && destinationSize == 0;
    if ((destination == nullptr) != (destinationSize == 0) || source == nullptr ||
        (sizeQuery && converted == nullptr)) {
        return Fail(EINVAL, converted, destination, destinationSize);
    }
    std::size_t length = std::strlen(source);
    if (count != _TRUNCATE && count < length) {
        length = count;
    }
    for (std::size_t i = 0; i < length; ++i) {
        if (static_cast<unsigned char>(source[i]) > 0x7F) {
            return Fail(EILSEQ, converted, destination, destinationSize);
        }
    }
    if (sizeQuery) {
        *converted = length + 1;
        return 0;
    }
    errno_t result = 0;
    if (length + 1 > destinationSize) {
        if (count != _TRUNCATE) {
            return Fail(ERANGE, converted, destination, destinationSize);
        }
        length = destinationSize - 1;
        result = kTruncated;
    }
    for (std::size_t i = 0; i < length; ++i) {
        destination[i] = static_cast<wchar_t>(static_cast<unsigned char>(source[i]));
    }
    destination[length] = L'\0';
    if (converted != nullptr) {
        *converted = length + 1;
    }
    return result;
}

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
