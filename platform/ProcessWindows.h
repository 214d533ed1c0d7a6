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
    bool answered = false;
    std::chrono::milliseconds took{0};
};

// Every message-only window, then every top-level one, whose owning process `belongs` accepts.
std::vector<FoundWindow> FindWindowsOf(const std::function<bool(DWORD processId)>& belongs);
// Sends each window WM_NULL, one after the other, waiting at most `bound` for each answer and
// answering nothing sent to this thread meanwhile.
std::vector<WindowAnswer> SendNullTo(const std::vector<FoundWindow>& windows,
                                     std::chrono::milliseconds bound);
// Whether this program can see the windows of that process at all: on Windows it can; the Linux
// stand-ins keep each process's windows within it.
bool CanSeeWindowsOf(DWORD processId);
