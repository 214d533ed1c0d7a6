#include "support/PathUtilities.h"

#include <algorithm>
#include <string_view>

// The operations work on views into the path and copy only their result: the plug-in folder
// walk calls them once per enclosing folder.
namespace {

char SeparatorOf(std::string_view path) {
    return path.find('\\') != std::string_view::npos ? '\\' : '/';
}

bool EndsWith(std::string_view text, std::string_view suffix) {
    return text.size() >= suffix.size() && text.substr(text.size() - suffix.size()) == suffix;
}

// Keeps at least one character, so a lone separator stays.
std::string_view WithoutTrailingSeparators(std::string_view path, char separator) {
    while (path.size() > 1 && path.back() == separator) {
        path.remove_suffix(1);
    }
    return path;
}

bool IsSlash(char character) {
    return character == '\\' || character == '/';
}

bool IsShareRoot(std::string_view path) {
    if (path.size() < 2) {
        return false;
    }
    const char separator = SeparatorOf(path);
    if (path[0] != separator || path[1] != separator) {
        return false;
    }
    const std::string_view rest = path.substr(2);
    return rest.find(separator) == rest.rfind(separator);
}

std::string_view LastPathComponent(std::string_view path) {
    const char separator = SeparatorOf(path);
    if (separator == '\\' && EndsWith(path, ":\\")) {
        return path;
    }
    if (separator == '/' && path.find('/') == std::string_view::npos) {
        return path;
    }
    // A lone separator is its own last component.
    const std::string_view work = WithoutTrailingSeparators(path, separator);
    const std::size_t last = work.size() > 1 ? work.rfind(separator) : std::string_view::npos;
    return last == std::string_view::npos ? work : work.substr(last + 1);
}

}  // namespace

std::string GetLastPathComponent(const std::string& path) {
    return std::string(LastPathComponent(path));
}

namespace {

// A parent is the path cut short, with at most one separator put back after a drive.
struct ParentPath {
    std::size_t length;  // of the prefix of the path that the parent starts with
    char appended;       // '\0' for none
};

ParentPath ParentPathOf(std::string_view path) {
    const char separator = SeparatorOf(path);
    const char driveRoot[] = {':', separator};
    if (EndsWith(path, std::string_view(driveRoot, 2)) || IsShareRoot(path)) {
        return {path.size(), '\0'};
    }
    const std::string_view work = WithoutTrailingSeparators(path, separator);
    const std::size_t last = work.rfind(separator);
    if (last == std::string_view::npos) {
        return EndsWith(work, ":") ? ParentPath{work.size(), separator} : ParentPath{0, '\0'};
    }
    const std::string_view head = work.substr(0, last);
    if (EndsWith(head, ":\\")) {
        return {head.size(), '\0'};
    }
    // A drive's root is always written with a backslash: C:/Temp gives C:\.
    if (EndsWith(head, ":")) {
        return {head.size(), '\\'};
    }
    const std::string_view parent = WithoutTrailingSeparators(head, separator);
    if (parent.empty() && separator == '/') {
        return {1, '\0'};  // the path's own leading slash
    }
    return {parent.size(), '\0'};
}

}  // namespace

std::string GetParentPath(const std::string& path) {
    const ParentPath parent = ParentPathOf(path);
    std::string result = path.substr(0, parent.length);
    if (parent.appended != '\0') {
        result += parent.appended;
    }
    return result;
}

bool ReplaceWithParentPath(std::string& path) {
    const ParentPath parent = ParentPathOf(path);
    const bool appends = parent.appended != '\0';
    const bool unchanged = parent.length + (appends ? 1 : 0) == path.size() &&
                           (!appends || path[parent.length] == parent.appended);
    if (unchanged) {
        return false;
    }
    path.resize(parent.length);
    if (appends) {
        path += parent.appended;
    }
    return true;
}

std::string GetPathExtension(const std::string& path) {
    const std::string_view name = LastPathComponent(path);
    const std::size_t dot = name.rfind('.');
    if (dot == std::string_view::npos || dot + 1 == name.size()) {
        return {};
    }
    return std::string(name.substr(dot));
}

std::string JoinPath(const std::string& base, const std::string& component) {
    if (base.empty()) {
        return component;
    }
    const bool baseEndsWithSlash = IsSlash(base.back());
    const bool componentStartsWithSlash = !component.empty() && IsSlash(component.front());
    std::string result;
    if (baseEndsWithSlash && componentStartsWithSlash) {
        result = base + component.substr(1);
    } else if (!baseEndsWithSlash && !componentStartsWithSlash) {
        result = base + '\\' + component;
    } else {
        result = base + component;
    }
    std::replace(result.begin(), result.end(), '/', '\\');
    return result;
}

bool IsNetworkShareRoot(const std::string& path) {
    return IsShareRoot(path);
}
