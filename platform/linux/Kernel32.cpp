// Linux stand-ins for the kernel32 calls: the module path, ending the process, and the
// UTF-8 <-> UTF-16 conversions.
//
// The conversions go through glibc's iconv, whose UTF-8 decoder already rejects everything that
// MB_ERR_INVALID_CHARS rejects (bad lead or continuation bytes, overlong forms, encoded
// surrogates, code points above U+10FFFF) and whose UTF-16 decoder rejects unpaired surrogates.
// A sequence cut off at the end of the input comes back as EINVAL rather than EILSEQ; both count
// as invalid here. Without the strict flag each offending unit becomes U+FFFD, as on Windows.
#include <iconv.h>
#include <locale.h>
#include <unistd.h>
#include <wctype.h>
#include <atomic>

#include <cerrno>
#include <chrono>
#include <climits>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "platform/Platform.h"

// AddressSanitizer builds (GCC says so with __SANITIZE_ADDRESS__, clang through __has_feature).
#if defined(__SANITIZE_ADDRESS__)
#define GP_LEAK_CHECK_AT_EXIT 1
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
#define GP_LEAK_CHECK_AT_EXIT 1
#endif
#endif
#ifdef GP_LEAK_CHECK_AT_EXIT
#include <sanitizer/lsan_interface.h>
#endif

namespace {

// What GetCurrentProcess returns on Windows too.
HANDLE const kCurrentProcess = reinterpret_cast<HANDLE>(static_cast<std::intptr_t>(-1));

constexpr char16_t kReplacementCharacter = 0xFFFD;
constexpr char kUtf8Replacement[] = "\xEF\xBF\xBD";

// Owns one iconv conversion descriptor.
class IconvDescriptor {
public:
    IconvDescriptor(const char* to, const char* from) : handle(iconv_open(to, from)) {}
    ~IconvDescriptor() {
        if (IsValid()) {
            iconv_close(handle);
        }
    }
    IconvDescriptor(const IconvDescriptor&) = delete;
    IconvDescriptor& operator=(const IconvDescriptor&) = delete;

    bool IsValid() const { return handle != reinterpret_cast<iconv_t>(-1); }
    iconv_t Get() const { return handle; }

private:
    iconv_t handle;
};

// Opening a descriptor costs far more than a short conversion, and the plug-in converts on every
// refresh: each thread keeps one per direction. A descriptor is not safe to share between
// threads, and Transcode resets its state before each use, so no call sees another's leftovers.
enum class Direction { FromUtf8, ToUtf8 };

iconv_t ThreadDescriptor(Direction direction) {
    thread_local const IconvDescriptor fromUtf8("UTF-16LE", "UTF-8");
    thread_local const IconvDescriptor toUtf8("UTF-8", "UTF-16LE");
    const IconvDescriptor& descriptor = direction == Direction::FromUtf8 ? fromUtf8 : toUtf8;
    return descriptor.IsValid() ? descriptor.Get() : reinterpret_cast<iconv_t>(-1);
}

// Converts the whole input. On an invalid or truncated sequence a strict conversion fails; a
// lenient one appends `replacement` and skips one input unit of `unitSize` bytes.
bool Transcode(Direction direction, const char* input, std::size_t inputSize, std::size_t unitSize,
               bool strict, const std::string& replacement, std::string& output) {
    const iconv_t descriptor = ThreadDescriptor(direction);
    if (descriptor == reinterpret_cast<iconv_t>(-1)) {
        return false;
    }
    iconv(descriptor, nullptr, nullptr, nullptr, nullptr);  // as fresh as a new descriptor
    output.clear();
    char chunk[4096];
    char* in = const_cast<char*>(input);  // iconv's signature; it does not write input.
    std::size_t inLeft = inputSize;
    while (inLeft > 0) {
        char* out = chunk;
        std::size_t outLeft = sizeof chunk;
        const std::size_t result = iconv(descriptor, &in, &inLeft, &out, &outLeft);
        const int error = errno;
        output.append(chunk, sizeof chunk - outLeft);
        if (result != static_cast<std::size_t>(-1)) {
            continue;
        }
        if (error == E2BIG) {
            continue;
        }
        if (error != EILSEQ && error != EINVAL) {
            return false;
        }
        if (strict) {
            return false;
        }
        output += replacement;
        const std::size_t skipped = inLeft < unitSize ? inLeft : unitSize;
        in += skipped;
        inLeft -= skipped;
    }
    return true;
}

bool IsUtf8CodePage(UINT codePage) {
    // The Linux system code page is UTF-8, so CP_ACP means the same as CP_UTF8 here.
    return codePage == CP_UTF8 || codePage == CP_ACP;
}

bool DecodeUtf8(const char* text, std::size_t length, bool strict, std::u16string& units) {
    std::string little;
    const std::string replacement{static_cast<char>(kReplacementCharacter & 0xFF),
                                  static_cast<char>(kReplacementCharacter >> 8)};
    if (!Transcode(Direction::FromUtf8, text, length, 1, strict, replacement, little)) {
        return false;
    }
    units.resize(little.size() / 2);
    for (std::size_t i = 0; i < units.size(); ++i) {
        const auto low = static_cast<unsigned char>(little[2 * i]);
        const auto high = static_cast<unsigned char>(little[2 * i + 1]);
        units[i] = static_cast<char16_t>(low | (high << 8));
    }
    return true;
}

bool EncodeUtf8(const wchar_t* wide, std::size_t length, bool strict, std::string& bytes) {
    // A wchar_t here holds one UTF-16 unit; anything wider is not a unit at all.
    std::string little;
    little.reserve(2 * length);
    for (std::size_t i = 0; i < length; ++i) {
        auto unit = static_cast<std::uint32_t>(wide[i]);
        if (unit > 0xFFFF) {
            if (strict) {
                return false;
            }
            unit = kReplacementCharacter;
        }
        little += static_cast<char>(unit & 0xFF);
        little += static_cast<char>(unit >> 8);
    }
    return Transcode(Direction::ToUtf8, little.data(), little.size(), 2, strict, kUtf8Replacement,
                     bytes);
}

// Windows' length convention: -1 means zero-terminated, terminator included; 0 or less than
// -1 is an invalid parameter.
template <typename Unit>
bool ResolveInputLength(const Unit* text, int length, std::size_t& count) {
    if (text == nullptr || length == 0 || length < -1) {
        return false;
    }
    if (length > 0) {
        count = static_cast<std::size_t>(length);
        return true;
    }
    count = std::char_traits<Unit>::length(text) + 1;
    return true;
}

bool IsValidOutputBuffer(const void* buffer, int size) {
    return size >= 0 && (buffer != nullptr || size == 0);
}

// Size query when `capacity` is 0; otherwise copies all of `source` or nothing.
template <typename Source, typename Target>
int DeliverUnits(const Source& source, Target* target, int capacity) {
    if (source.size() > static_cast<std::size_t>(INT_MAX)) {
        return 0;
    }
    const int size = static_cast<int>(source.size());
    if (capacity == 0) {
        return size;
    }
    if (size > capacity) {
        return 0;
    }
    for (int i = 0; i < size; ++i) {
        target[i] = static_cast<Target>(source[static_cast<std::size_t>(i)]);
    }
    return size;
}

// Both conversions: the input's length (-1: up to its terminator, which is converted too), the
// output buffer checked, the conversion (strict: invalid input fails it), then the result
// delivered, or its size when no buffer is given.
template <typename Converted, typename Unit, typename Target, typename Convert>
int ConvertText(const Unit* input, int inputLength, Target* output, int outputLength, bool strict,
                Convert convert) {
    std::size_t count = 0;
    if (!ResolveInputLength(input, inputLength, count) ||
        !IsValidOutputBuffer(output, outputLength)) {
        return 0;
    }
    Converted converted;
    if (!convert(input, count, strict, converted)) {
        return 0;
    }
    return DeliverUnits(converted, output, outputLength);
}

}  // namespace

namespace {

// The executable's path as Linux gives it (bytes, UTF-8 by convention); empty when unknown.
std::string ExecutablePath() {
    std::vector<char> path(PATH_MAX);
    for (;;) {
        const ssize_t length = readlink("/proc/self/exe", path.data(), path.size());
        if (length < 0) {
            return {};
        }
        if (static_cast<std::size_t>(length) < path.size()) {
            return std::string(path.data(), static_cast<std::size_t>(length));
        }
        path.resize(path.size() * 2);
    }
}

// Like Windows: a path that does not fit is cut to size - 1 units plus the terminator and the
// full size is returned.
template <typename Unit, typename Path>
DWORD DeliverModulePath(const Path& path, Unit* buffer, DWORD size) {
    const std::size_t copied = path.size() >= size ? size - 1 : path.size();
    for (std::size_t i = 0; i < copied; ++i) {
        buffer[i] = static_cast<Unit>(path[i]);
    }
    buffer[copied] = 0;
    return path.size() >= size ? size : static_cast<DWORD>(path.size());
}

}  // namespace

DWORD GetModuleFileNameA(HMODULE module, LPSTR buffer, DWORD size) {
    // Only the executable's own path is known here: other module handles fail.
    if (module != nullptr || buffer == nullptr || size == 0) {
        return 0;
    }
    const std::string path = ExecutablePath();
    return path.empty() ? 0 : DeliverModulePath(path, buffer, size);
}

DWORD GetModuleFileNameW(HMODULE module, LPWSTR buffer, DWORD size) {
    if (module != nullptr || buffer == nullptr || size == 0) {
        return 0;
    }
    const std::string path = ExecutablePath();
    std::u16string units;
    if (path.empty() || !DecodeUtf8(path.data(), path.size(), false, units)) {
        return 0;
    }
    return DeliverModulePath(units, buffer, size);
}

DWORD GetCurrentThreadId() {
    static std::atomic<DWORD> lastId{0x100};
    thread_local const DWORD id = lastId += 4;
    return id;
}

DWORD GetCurrentProcessId() {
    return static_cast<DWORD>(getpid());
}

DWORD GetTickCount() {
    const auto since = std::chrono::steady_clock::now().time_since_epoch();
    return static_cast<DWORD>(std::chrono::duration_cast<std::chrono::milliseconds>(since).count());
}

HANDLE GetCurrentProcess() {
    return kCurrentProcess;
}

BOOL TerminateProcess(HANDLE process, UINT exitCode) {
    if (process != kCurrentProcess) {
        return FALSE;
    }
#ifdef GP_LEAK_CHECK_AT_EXIT
    // _Exit skips the leak check that a sanitizer build runs at exit; the process's leaks are
    // checked here instead (a leak ends it with the sanitizer's exit code and a report).
    __lsan_do_leak_check();
#endif
    std::_Exit(static_cast<int>(exitCode));
}

int MultiByteToWideChar(UINT codePage, DWORD flags, LPCCH text, int length, LPWSTR wide,
                        int wideLength) {
    if (!IsUtf8CodePage(codePage) || (flags & ~MB_ERR_INVALID_CHARS) != 0) {
        return 0;
    }
    return ConvertText<std::u16string>(text, length, wide, wideLength,
                                       (flags & MB_ERR_INVALID_CHARS) != 0, DecodeUtf8);
}

int WideCharToMultiByte(UINT codePage, DWORD flags, LPCWCH wide, int wideLength, LPSTR text,
                        int length, LPCCH defaultChar, LPBOOL usedDefaultChar) {
    // UTF-8 takes no default character, as on Windows.
    if (!IsUtf8CodePage(codePage) || (flags & ~WC_ERR_INVALID_CHARS) != 0 ||
        defaultChar != nullptr || usedDefaultChar != nullptr) {
        return 0;
    }
    return ConvertText<std::string>(wide, wideLength, text, length,
                                    (flags & WC_ERR_INVALID_CHARS) != 0, EncodeUtf8);
}

namespace {

// Upper case of one UTF-16 unit by the Unicode simple mappings that stay within one unit, which
// is what Windows' own case table holds; surrogates stay as they are.
wchar_t UpperUnit(wchar_t unit) {
    // ASCII, most of what file names hold, needs no look-up in the locale.
    if (unit < 0x80) {
        return unit >= L'a' && unit <= L'z' ? static_cast<wchar_t>(unit - L'a' + L'A') : unit;
    }
    static const locale_t unicode = newlocale(LC_CTYPE_MASK, "C.UTF-8", static_cast<locale_t>(0));
    if (unit >= 0xD800 && unit <= 0xDFFF) {
        return unit;
    }
    if (unicode == static_cast<locale_t>(0)) {
        return unit >= L'a' && unit <= L'z' ? static_cast<wchar_t>(unit - L'a' + L'A') : unit;
    }
    const wint_t upper = towupper_l(static_cast<wint_t>(unit), unicode);
    return upper <= 0xFFFF ? static_cast<wchar_t>(upper) : unit;
}

std::size_t UnitCount(LPCWCH text, int length) {
    if (length >= 0) {
        return static_cast<std::size_t>(length);
    }
    std::size_t count = 0;
    while (text[count] != 0) {
        ++count;
    }
    return count;
}

}  // namespace

int CompareStringOrdinal(LPCWCH first, int firstLength, LPCWCH second, int secondLength,
                         BOOL ignoreCase) {
    if (first == nullptr || second == nullptr) {
        return 0;
    }
    const std::size_t firstCount = UnitCount(first, firstLength);
    const std::size_t secondCount = UnitCount(second, secondLength);
    for (std::size_t at = 0; at < firstCount && at < secondCount; ++at) {
        if (first[at] == second[at]) {
            continue;
        }
        const wchar_t a = ignoreCase ? UpperUnit(first[at]) : first[at];
        const wchar_t b = ignoreCase ? UpperUnit(second[at]) : second[at];
        if (a != b) {
            return a < b ? CSTR_LESS_THAN : CSTR_GREATER_THAN;
        }
    }
    if (firstCount == secondCount) {
        return CSTR_EQUAL;
    }
    return firstCount < secondCount ? CSTR_LESS_THAN : CSTR_GREATER_THAN;
}
