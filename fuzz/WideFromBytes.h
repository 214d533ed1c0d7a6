// Fuzz input bytes read as UTF-16 units, for the targets that take wide text.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

// Bytes become units one to one, so that mutations stay readable, except that 0xFF introduces a
// unit given by the next two bytes (line separators, surrogates, anything).
inline std::wstring WideFromBytes(const std::uint8_t* data, std::size_t size) {
    std::wstring text;
    text.reserve(size);
    for (std::size_t index = 0; index < size; ++index) {
        if (data[index] == 0xFF && index + 2 < size) {
            text.push_back(static_cast<wchar_t>(data[index + 1] | (data[index + 2] << 8)));
            index += 2;
        } else {
            text.push_back(static_cast<wchar_t>(data[index]));
        }
    }
    return text;
}

inline std::wstring WideFromBytes(const std::string& bytes) {
    return WideFromBytes(reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size());
}
