// Fuzzes Utf8ToWide and WideToUtf8 against a strict decoder and encoder written here, apart
// from the platform's conversion calls: a conversion must succeed exactly when the input is
// well-formed, give exactly the expected units or bytes, and round-trip.
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>

#include "fuzz/FuzzCheck.h"
#include "support/TextConversion.h"

namespace {

// Well-formed UTF-8 as Unicode defines it: no stray continuation bytes, no C0/C1/F5..FF leads,
// no overlong forms, no encoded surrogates, nothing above U+10FFFF, no truncated sequence.
std::optional<std::wstring> DecodeStrictUtf8(const std::string& bytes) {
    std::wstring units;
    std::size_t index = 0;
    while (index < bytes.size()) {
        const auto lead = static_cast<unsigned char>(bytes[index]);
        std::size_t length = 0;
        std::uint32_t codePoint = 0;
        std::uint32_t minimum = 0;
        if (lead < 0x80) {
            length = 1;
            codePoint = lead;
        } else if (lead >= 0xC2 && lead <= 0xDF) {
            length = 2;
            codePoint = lead & 0x1Fu;
            minimum = 0x80;
        } else if (lead >= 0xE0 && lead <= 0xEF) {
            length = 3;
            codePoint = lead & 0x0Fu;
            minimum = 0x800;
        } else if (lead >= 0xF0 && lead <= 0xF4) {
            length = 4;
            codePoint = lead & 0x07u;
            minimum = 0x10000;
        } else {
            return std::nullopt;
        }
        if (bytes.size() - index < length) {
            return std::nullopt;
        }
        for (std::size_t k = 1; k < length; ++k) {
            const auto next = static_cast<unsigned char>(bytes[index + k]);
            if ((next & 0xC0u) != 0x80u) {
                return std::nullopt;
            }
            codePoint = (codePoint << 6) | (next & 0x3Fu);
        }
        if (codePoint < minimum || codePoint > 0x10FFFF ||
            (codePoint >= 0xD800 && codePoint <= 0xDFFF)) {
            return std::nullopt;
        }
        if (codePoint >= 0x10000) {
            const std::uint32_t offset = codePoint - 0x10000;
            units.push_back(static_cast<wchar_t>(0xD800 + (offset >> 10)));
            units.push_back(static_cast<wchar_t>(0xDC00 + (offset & 0x3FFu)));
        } else {
            units.push_back(static_cast<wchar_t>(codePoint));
        }
        index += length;
    }
    return units;
}

void AppendUtf8(std::uint32_t codePoint, std::string& out) {
    if (codePoint < 0x80) {
        out.push_back(static_cast<char>(codePoint));
    } else if (codePoint < 0x800) {
        out.push_back(static_cast<char>(0xC0 | (codePoint >> 6)));
        out.push_back(static_cast<char>(0x80 | (codePoint & 0x3F)));
    } else if (codePoint < 0x10000) {
        out.push_back(static_cast<char>(0xE0 | (codePoint >> 12)));
        out.push_back(static_cast<char>(0x80 | ((codePoint >> 6) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | (codePoint & 0x3F)));
    } else {
        out.push_back(static_cast<char>(0xF0 | (codePoint >> 18)));
        out.push_back(static_cast<char>(0x80 | ((codePoint >> 12) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | ((codePoint >> 6) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | (codePoint & 0x3F)));
    }
}

// UTF-16 to UTF-8; fails on a surrogate that is not part of a high-low pair.
std::optional<std::string> EncodeStrictUtf8(const std::wstring& units) {
    std::string bytes;
    for (std::size_t index = 0; index < units.size(); ++index) {
        const auto unit = static_cast<std::uint32_t>(units[index]);
        if (unit >= 0xDC00 && unit <= 0xDFFF) {
            return std::nullopt;
        }
        if (unit >= 0xD800 && unit <= 0xDBFF) {
            if (index + 1 == units.size()) {
                return std::nullopt;
            }
            const auto low = static_cast<std::uint32_t>(units[index + 1]);
            if (low < 0xDC00 || low > 0xDFFF) {
                return std::nullopt;
            }
            AppendUtf8(0x10000 + ((unit - 0xD800) << 10) + (low - 0xDC00), bytes);
            ++index;
        } else {
            AppendUtf8(unit, bytes);
        }
    }
    return bytes;
}

// Each pair of input bytes is one UTF-16 unit (little-endian), as Windows holds wide text.
std::wstring UnitsFromBytes(const std::uint8_t* data, std::size_t size) {
    std::wstring units;
    for (std::size_t index = 0; index + 1 < size; index += 2) {
        units.push_back(static_cast<wchar_t>(data[index] | (data[index + 1] << 8)));
    }
    return units;
}

// One direction of the conversion against the strict reading above: well-formed input gives
// what the reading gives, and converts back to itself; malformed input gives nothing at all,
// never a partial or substituted text.
template <typename From, typename To>
void CheckConversion(const From& input, To (*convert)(const From&),
                     std::optional<To> (*strict)(const From&), From (*back)(const To&)) {
    const To converted = convert(input);
    const std::optional<To> expected = strict(input);
    if (!expected) {
        FUZZ_REQUIRE(converted.empty());
        return;
    }
    FUZZ_REQUIRE(converted == *expected);
    FUZZ_REQUIRE(back(converted) == input);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    CheckConversion(std::string(reinterpret_cast<const char*>(data), size), Utf8ToWide,
                    DecodeStrictUtf8, WideToUtf8);
    CheckConversion(UnitsFromBytes(data, size), WideToUtf8, EncodeStrictUtf8, Utf8ToWide);
    return 0;
}
