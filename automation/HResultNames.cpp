#include "automation/HResultNames.h"

#include <cstdint>
#include <cstdio>

namespace {

struct NamedCode {
    std::uint32_t code;
    const char* name;
};

// By value rather than by the headers' macros: the Linux stand-ins declare only the codes the
// plug-in itself tests for.
constexpr NamedCode kNamedCodes[] = {
    {0x80004001, "E_NOTIMPL"},
    {0x80004002, "E_NOINTERFACE"},
    {0x80004003, "E_POINTER"},
    {0x80004004, "E_ABORT"},
    {0x80004005, "E_FAIL"},
    {0x8000FFFF, "E_UNEXPECTED"},
    {0x80070005, "E_ACCESSDENIED"},
    {0x80070006, "E_HANDLE"},
    {0x8007000E, "E_OUTOFMEMORY"},
    {0x80070057, "E_INVALIDARG"},
    {0x80010001, "RPC_E_CALL_REJECTED"},
    {0x80010002, "RPC_E_CALL_CANCELED"},
    {0x80010007, "RPC_E_SERVER_DIED"},
    {0x80010012, "RPC_E_SERVER_DIED_DNE"},
    {0x80010105, "RPC_E_SERVERFAULT"},
    {0x80010108, "RPC_E_DISCONNECTED"},
    {0x8001010A, "RPC_E_SERVERCALL_RETRYLATER"},
    {0x8001010D, "RPC_E_CANTCALLOUT_ININPUTSYNCCALL"},
    {0x8001010E, "RPC_E_WRONG_THREAD"},
    {0x8001011F, "RPC_E_TIMEOUT"},
    {0x800706BA, "RPC_S_SERVER_UNAVAILABLE"},
    {0x800706BE, "RPC_S_CALL_FAILED"},
    {0x800706BF, "RPC_S_CALL_FAILED_DNE"},
    {0x80020001, "DISP_E_UNKNOWNINTERFACE"},
    {0x80020003, "DISP_E_MEMBERNOTFOUND"},
    {0x80020004, "DISP_E_PARAMNOTFOUND"},
    {0x80020005, "DISP_E_TYPEMISMATCH"},
    {0x80020006, "DISP_E_UNKNOWNNAME"},
    {0x80020007, "DISP_E_NONAMEDARGS"},
    {0x80020008, "DISP_E_BADVARTYPE"},
    {0x80020009, "DISP_E_EXCEPTION"},
    {0x8002000A, "DISP_E_OVERFLOW"},
    {0x8002000B, "DISP_E_BADINDEX"},
    {0x8002000E, "DISP_E_BADPARAMCOUNT"},
    {0x8002000F, "DISP_E_PARAMNOTOPTIONAL"},
    {0x80040110, "CLASS_E_NOAGGREGATION"},
    {0x80040111, "CLASS_E_CLASSNOTAVAILABLE"},
    {0x80040154, "REGDB_E_CLASSNOTREG"},
    {0x800401E3, "MK_E_UNAVAILABLE"},
    {0x800401F0, "CO_E_NOTINITIALIZED"},
    {0x800401F3, "CO_E_CLASSSTRING"},
    {0x800401F5, "CO_E_APPNOTFOUND"},
    {0x800401FD, "CO_E_OBJNOTCONNECTED"},
    {0x80004015, "CO_E_WRONG_SERVER_IDENTITY"},
    {0x8000401A, "CO_E_RUNAS_LOGON_FAILURE"},
    {0x80080005, "CO_E_SERVER_EXEC_FAILURE"},
    {0x80080008, "CO_E_SERVER_STOPPING"},
    {0x80080017, "CO_E_ELEVATION_DISABLED"},
};

std::uint32_t Unsigned(HRESULT code) {
    return static_cast<std::uint32_t>(code);
}

std::string Hexadecimal(HRESULT code) {
    char text[11];
    std::snprintf(text, sizeof text, "0x%08lx", static_cast<unsigned long>(Unsigned(code)));
    return text;
}

// The code's name, or none for a code without a known name.
const char* HResultName(HRESULT code) {
    for (const NamedCode& named : kNamedCodes) {
        if (named.code == Unsigned(code)) {
            return named.name;
        }
    }
    return nullptr;
}

}  // namespace

std::string WithHResultName(std::string text, HRESULT code) {
    if (const char* name = HResultName(code)) {
        text += " (";
        text += name;
        text += ')';
    }
    return text;
}

std::string DescribeHResult(HRESULT code) {
    return WithHResultName(Hexadecimal(code), code);
}
