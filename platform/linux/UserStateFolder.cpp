#include "platform/UserStateFolder.h"

#include <cstdlib>

#include "platform/Platform.h"

namespace {

std::wstring Widen(const std::string& text) {
    const int units = MultiByteToWideChar(CP_UTF8, 0, text.c_str(), -1, nullptr, 0);
    if (units <= 1) {
        return {};
    }
    std::wstring wide(static_cast<std::size_t>(units), L'\0');
    MultiByteToWideChar(CP_UTF8, 0, text.c_str(), -1, &wide[0], units);
    wide.resize(static_cast<std::size_t>(units - 1));
    return wide;
}

bool IsAbsolute(const char* path) {
    return path != nullptr && path[0] == '/';
}

}  // namespace

std::wstring UserStateFolder() {
    // XDG's base directory rules ignore a relative XDG_STATE_HOME, as they do an empty one.
    const char* const stateHome = std::getenv("XDG_STATE_HOME");
    const char* const home = std::getenv("HOME");
    std::string folder;
    if (IsAbsolute(stateHome)) {
        folder = stateHome;
    } else if (IsAbsolute(home)) {
        folder = std::string(home) + "/.local/state";
    }
    while (folder.size() > 1 && folder.back() == '/') {
        folder.pop_back();
    }
    return Widen(folder);
}
