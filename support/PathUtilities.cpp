#include "support/PathUtilities.h"

#include <algorithm>

namespace {

char SeparatorOf(const std::string& path) {
    return path.find('\\') != std::string::npos ? '\\' : '/';
}

bool EndsWith(const std::string& text, const std::string& suffix) {
    return text.size() >= suffix.size() &&
           text.compare(text.size() - suffix.size(), suffix.size(), suffix) == 0;
}

bool EndsWith(const std::string& text, char last) {
    return !text.empty() && text.back() == last;
}

// Keeps at least one character, so a lone separator stays.
std::string WithoutTrailingSeparators(std::string path, char separator) {
    while (path.size() > 1 && path.back() == separator) {
        path.pop_back();
    }
    return path;
}

bool IsSlash(char character) {
    return character == '\\' || character == '/';
}

}  // namespace

std::string GetLastPathComponent(const std::string& path) {
    const char separator = SeparatorOf(path);
    if (separator == '\\' && EndsWith(path, ":\\")) {
        return path;
    }
    if (separator == '/' && path.find('/') == std::string::npos) {
        return path;
    }
    const std::string work = WithoutTrailingSeparators(path, separator);
    if (work.empty() || work == std::string(1, separator)) {
        return std::string(1, separator);
    }
    const std::size_t last = work.rfind(separator);
    return last == std::string::npos ? work : work.substr(last + 1);
}

std::string GetParentPath(const std::string& path) {
    const char separator = SeparatorOf(path);
    if (EndsWith(path, std::string{':', separator}) || IsNetworkShareRoot(path)) {
        return path;
    }
    const std::string work = WithoutTrailingSeparators(path, separator);
    const std::size_t last = work.rfind(separator);
    if (last == std::string::npos) {
        return EndsWith(work, ':') ? work + separator : std::string();
    }
    const std::string head = path.substr(0, last);
    if (EndsWith(head, ":\\")) {
        return head;
    }
    // A drive's root is always written with a backslash: C:\Temp gives C:\.
    if (EndsWith(head, ':')) {
        return head + '\\';
    }
    const std::string parent = WithoutTrailingSeparators(head, separator);
    if (parent.empty() && separator == '/') {
        return "/";
    }
    return parent;
}

std::string GetPathExtension(const std::string& path) {
    const std::string name = GetLastPathComponent(path);
    const std::size_t dot = name.rfind('.');
    if (dot == std::string::npos || dot + 1 == name.size()) {
        return {};
    }
    return name.substr(dot);
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
    if (path.empty()) {
        return false;
    }
    const char separator = SeparatorOf(path);
    if (path.size() < 2 || path[0] != separator || path[1] != separator) {
        return false;
    }
    const std::string rest = path.substr(2);
    return rest.find(separator) == rest.rfind(separator);
}
