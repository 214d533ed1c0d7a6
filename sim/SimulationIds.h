// The class identifier of the simulated PowerPoint application. Both lanes register it under
// the ProgID "PowerPoint.Application" when the simulation stands in for PowerPoint.
#pragma once

#include "platform/Platform.h"

namespace pptsim {

// {CAF8D376-D10F-4E8A-A4D5-8E50A3D8F1DA}
inline constexpr CLSID CLSID_SimulatedPowerPoint = {
    0xCAF8D376, 0xD10F, 0x4E8A, {0xA4, 0xD5, 0x8E, 0x50, 0xA3, 0xD8, 0xF1, 0xDA}};
inline constexpr const wchar_t* kSimulatedProgId = L"PowerPoint.Application";

}  // namespace pptsim
