// The windows of one process, message-only and top-level, and whether the threads that own
// them answer a message sent to them. A thread that owns a window must dispatch its messages
// while it waits: a program that sends to the window (a broadcast, COM calling into the
// thread's apartment) waits until it does.
#pragma once

#include <chrono>
#include <functional>
#include <string>
#include <vector>

#include "platform/Platform.h"

struct FoundWindow {
    HWND handle;
    bool messageOnly;
};

struct WindowAnswer {
    std::wstring className;
    bool messageOnly = false;
    bool answered = false;  // every send was answered within the bound
    bool gone = false;      // destroyed meanwhile: sent nothing more, and no sign of silence
    std::chrono::milliseconds took{0};  // the longest send (the one that gave up, if any)
    int sends = 0;
};

// Every message-only window, then every top-level one, whose owning process `belongs` accepts.
std::vector<FoundWindow> FindWindowsOf(const std::function<bool(DWORD processId)>& belongs);
// Sends each window WM_NULL in turn, round after round until `span` has passed (at least one
// round), waiting at most `bound` for each answer and answering nothing sent to this thread
// meanwhile; a window that once gives no answer, or has been destroyed, is sent nothing more.
// Repeating matters: a thread that pumps only now and then (COM pumps while one of its calls waits
// for another process) answers a send that happens to come just before it does.
std::vector<WindowAnswer> SendNullTo(const std::vector<FoundWindow>& windows,
                                     std::chrono::milliseconds bound,
                                     std::chrono::milliseconds span);
// Whether this program can see the windows of that process at all: on Windows it can; the Linux
// stand-ins keep each process's windows within it.
bool CanSeeWindowsOf(DWORD processId);
