#include "automation/AutomationDiagnostics.h"

#include <cstdint>
#include <cstdio>

#include "support/DiagnosticsFile.h"

namespace {

constexpr std::size_t kInvokeTextSize = 256;
constexpr std::size_t kCreationTextSize = 100;

// HRESULT and DISPID are 32-bit on every lane; %lx wants an unsigned long.
unsigned long AsHex(std::int32_t value) {
    return static_cast<unsigned long>(static_cast<std::uint32_t>(value));
}

}  // namespace

std::string ComposeNameLookupFailure(const char* ansiName, HRESULT error) {
    char text[kInvokeTextSize];
    std::snprintf(text, sizeof text, "IDispatch::GetIDsOfNames(\"%s\") failed w/err 0x%08lx",
                  ansiName, AsHex(error));
    return text;
}

std::string ComposeInvokeFailure(const char* ansiName, DISPID member, HRESULT error) {
    char text[kInvokeTextSize];
    std::snprintf(text, sizeof text, "IDispatch::Invoke(\"%s\"=%08lx) failed w/err 0x%08lx",
                  ansiName, AsHex(member), AsHex(error));
    return text;
}

std::string ComposeApplicationCreationFailure(HRESULT error) {
    char text[kCreationTextSize];
    std::snprintf(text, sizeof text, "Power Point not registered properly. Error: 0x%08lx",
                  AsHex(error));
    return text;
}

void EmitDiagnostic(const std::string& text) {
    if (DiagnosticsMirrored()) {
        std::fprintf(stderr, "%s\n", text.c_str());
        std::fflush(stderr);
    }
}
