#include "support/PercentDecoding.h"

#include "support/TextConversion.h"

namespace {

int HexValue(wchar_t unit) {
    if (unit >= L'0' && unit <= L'9') {
        return unit - L'0';
    }
    if (unit >= L'a' && unit <= L'f') {
        return unit - L'a' + 10;
    }
    if (unit >= L'A' && unit <= L'F') {
        return unit - L'A' + 10;
    }
    return -1;
}

bool IsEscapeAt(std::wstring_view text, std::size_t at) {
    return at + 2 < text.size() && text[at] == L'%' && HexValue(text[at + 1]) >= 0 &&
           HexValue(text[at + 2]) >= 0;
}

// How many bytes the UTF-8 sequence that starts with this byte takes; 0 for a byte that
// starts none.
std::size_t SequenceLength(unsigned char lead) {
    if (lead < 0x80) {
        return 1;
    }
    if (lead >= 0xC2 && lead <= 0xDF) {
        return 2;
    }
    if (lead >= 0xE0 && lead <= 0xEF) {
        return 3;
    }
    if (lead >= 0xF0 && lead <= 0xF4) {
        return 4;
    }
    return 0;
}

// Appends a run of escapes (three units per byte) decoded: each valid UTF-8 sequence as its
// character, each byte of an invalid one as its escape.
void DecodeRun(std::wstring_view escapes, const std::string& bytes, std::wstring& decoded) {
    std::size_t at = 0;
    while (at < bytes.size()) {
        const std::size_t length = SequenceLength(static_cast<unsigned char>(bytes[at]));
        if (length > 0 && at + length <= bytes.size()) {
            const std::wstring character = Utf8ToWide(bytes.substr(at, length));
            if (!character.empty()) {
                decoded += character;
                at += length;
                continue;
            }
        }
        decoded += escapes.substr(at * 3, 3);
        ++at;
    }
}

}  // namespace

std::wstring DecodePercentEscapes(std::wstring_view text) {
    std::wstring decoded;
    decoded.reserve(text.size());
    std::size_t at = 0;
    while (at < text.size()) {
        if (!IsEscapeAt(text, at)) {
            decoded += text[at++];
            continue;
        }
        // A character beyond ASCII is several escaped bytes in a row.
        const std::size_t runStart = at;
        std::string bytes;
        while (IsEscapeAt(text, at)) {
            bytes += static_cast<char>(HexValue(text[at + 1]) * 16 + HexValue(text[at + 2]));
            at += 3;
        }
        DecodeRun(text.substr(runStart, at - runStart), bytes, decoded);
    }
    return decoded;
}
