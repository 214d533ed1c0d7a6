// What tests see of the simulated PowerPoint: set it up from a scenario and read its state.
#pragma once

#include <string>
#include <vector>

#include "platform/Platform.h"

namespace pptsim {

struct PresentationState {
    std::wstring fullName;
    int slideCount;
    HWND frame;
    bool protectedView = false;  // in a ProtectedViewWindow, not in Presentations
    int windowState = 1;         // its document window's PpWindowState
};

struct ShowState {
    std::wstring presentation;  // its FullName
    int slide;                  // position in the deck
    bool ended = false;         // on the end screen
    int click = 0;              // builds of the slide played
    std::wstring namedShow;     // the custom show it runs, if any
};

struct SimulationState {
    bool running = false;
    std::vector<PresentationState> open;  // the order they opened in, Protected View included
    std::wstring active;                  // empty: none
    std::vector<ShowState> shows;         // SlideShowWindows order
};

// Ends the running PowerPoint, if any, and starts one from the scenario (JSON text, the form of
// a PPTSIM_SCENARIO file); later activations start from it too. Throws std::runtime_error for
// a scenario that does not parse. Clears the recorded trace.
void ResetSimulation(const std::string& scenarioJson);
// Ends the running PowerPoint, if any; the next activation reads PPTSIM_SCENARIO again.
void ShutDownSimulation();
// The running PowerPoint stops hanging: member calls waiting out "delayMs" go on at once and
// later ones do not wait, until the next start. Ends a hang at the moment a test chooses,
// without ending PowerPoint.
void EndSimulationDelay();

SimulationState ReadSimulationState();
// The trace lines recorded since the last reset (the same lines PPTSIM_TRACE receives), kept
// in memory only while a scenario set by ResetSimulation runs.
std::vector<std::string> SimulationTrace();
void ClearSimulationTrace();
// Automation objects of the simulation alive in this process.
long LiveSimulationObjects();

}  // namespace pptsim
