// Wide text written as UTF-16 code units, whatever the width of wchar_t.
#pragma once

#include <initializer_list>
#include <string>

inline std::wstring Units(std::initializer_list<unsigned> units) {
    std::wstring text;
    for (unsigned unit : units) {
        text += static_cast<wchar_t>(unit);
    }
    return text;
}
