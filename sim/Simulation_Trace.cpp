// The trace: one line per member call and per event of PowerPoint's life (start, exit, close,
// raise, save prompts), kept in memory for tests and appended to the file PPTSIM_TRACE names.
#include "sim/Simulation.h"

#include <fstream>

#include "sim/SimObject.h"
#include "sim/TextUnits.h"

namespace pptsim {
namespace {

std::string ArgumentText(const VARIANT& argument);

// An array as its elements in brackets: [256 258].
std::string ArrayText(const VARIANT& argument) {
    LONG lower = 0;
    LONG upper = -1;
    void* data = nullptr;
    if (argument.parray == nullptr || FAILED(SafeArrayGetLBound(argument.parray, 1, &lower)) ||
        FAILED(SafeArrayGetUBound(argument.parray, 1, &upper)) ||
        FAILED(SafeArrayAccessData(argument.parray, &data))) {
        return "[?]";
    }
    std::string text = "[";
    for (LONG index = 0; index <= upper - lower; ++index) {
        text += index == 0 ? "" : " ";
        text += (argument.vt & ~VT_ARRAY) == VT_I4
                    ? std::to_string(static_cast<const LONG*>(data)[index])
                    : ArgumentText(static_cast<const VARIANT*>(data)[index]);
    }
    SafeArrayUnaccessData(argument.parray);
    return text + "]";
}

std::string ArgumentText(const VARIANT& argument) {
    switch (argument.vt) {
        case VT_BSTR:
            return argument.bstrVal == nullptr
                       ? std::string()
                       : UnitsToUtf8(
                             std::wstring(argument.bstrVal, SysStringLen(argument.bstrVal)));
        case VT_I4:
            return std::to_string(argument.lVal);
        case VT_INT:
            return std::to_string(argument.intVal);
        case VT_I2:
            return std::to_string(argument.iVal);
        case VT_UI1:
            return std::to_string(argument.bVal);
        case VT_UI4:
        case VT_UINT:
            return std::to_string(argument.uintVal);
        case VT_BOOL:
            return argument.boolVal != VARIANT_FALSE ? "true" : "false";
        case VT_DISPATCH:
            if (const ObjectRef* target = SimObject::TargetOf(argument.pdispVal)) {
                return ObjectKindName(target->kind);
            }
            return "<object>";
        case VT_ARRAY | VT_I4:
        case VT_ARRAY | VT_VARIANT:
            return ArrayText(argument);
        default:
            return "<vt " + std::to_string(argument.vt) + ">";
    }
}

}  // namespace

void Simulation::TraceCallLocked(const ObjectRef& target, const Member& member, bool put,
                                 const std::vector<const VARIANT*>& arguments) {
    if (!pinned && !traceFile.is_open()) {
        return;  // nobody reads it: the line is not worth its conversions on every call
    }
    std::string line = member.kind == MemberKind::Method ? "call " : put ? "put " : "get ";
    line += ObjectKindName(target.kind);
    line += '.';
    line += UnitsToUtf8(member.name);
    for (const VARIANT* argument : arguments) {
        line += ' ';
        line += ArgumentText(*argument);
    }
    TraceLocked(line);
}

// The Windows lane starts a new server process for each run of PowerPoint.
bool Simulation::TraceFileShowsAQuit(const char* tracePath) {
    std::ifstream file(tracePath, std::ios::binary);
    std::string line;
    while (std::getline(file, line)) {
        if (line == "exit PowerPoint") {
            return true;
        }
    }
    return false;
}

void Simulation::TraceLocked(const std::string& line) {
    // Only tests that set a scenario read the trace from memory; a process started from
    // PPTSIM_SCENARIO (the plug-in, the server) runs for hours and keeps only the file.
    if (pinned) {
        trace.push_back(line);
    }
    if (traceFile.is_open()) {
        traceFile << line << '\n';
        traceFile.flush();
    }
}

std::vector<std::string> Simulation::TraceLines() {
    std::lock_guard<std::mutex> lock(mutex);
    return trace;
}

void Simulation::ClearTrace() {
    std::lock_guard<std::mutex> lock(mutex);
    trace.clear();
}

}  // namespace pptsim
