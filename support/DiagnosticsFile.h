// The plug-in's diagnostics file: lines a presenter can send us when PowerPoint let a key down.
//
// Nothing touches the disk until the first line comes. Then a writer thread of the file's own
// starts, opens the file at the first of its candidate paths where that works (creating its
// folder), and writes each line with the local time to the millisecond, flushed at once. Writing
// a line only queues it, so no caller ever waits for the disk; the writer thread waits on its
// queue alone, so an idle plug-in gains no wake-up. The file rotates at a bound (one older file
// kept); a file that cannot be opened anywhere leaves the lines unwritten and changes nothing
// else. With GLYPHPAD_DEBUG=1 the same lines go to standard error too.
#pragma once

#include <chrono>
#include <cstddef>
#include <memory>
#include <string>
#include <thread>
#include <vector>

using DiagnosticsClock = std::chrono::system_clock;

class DiagnosticsFile {
public:
    struct Settings {
        std::vector<std::wstring> candidates;  // paths in order of preference
        std::size_t maxBytes = 0;              // of one file, before it rotates
        bool mirrorToStandardError = false;
    };

    explicit DiagnosticsFile(Settings settings);
    // Writes what is queued, then ends the writer thread (unless Close left it behind).
    ~DiagnosticsFile();
    DiagnosticsFile(const DiagnosticsFile&) = delete;
    DiagnosticsFile& operator=(const DiagnosticsFile&) = delete;

    // Queues one line (without its end) stamped with `when`. Lines beyond what the writer has
    // fallen behind by a bound are left out, and how many is written once it catches up.
    void Write(std::string line,
               DiagnosticsClock::time_point when = DiagnosticsClock::now()) noexcept;
    // Waits until every line queued so far has been handled, at most `bound`; true when it was.
    bool Drain(std::chrono::milliseconds bound) noexcept;
    // Takes no more lines, writes those queued and ends the writer thread, waiting at most
    // `bound`; true when the writer has ended. One stuck on a disk that hangs is left to run.
    bool Close(std::chrono::milliseconds bound) noexcept;
    // The path the file was opened at; empty before the first line was handled, and when it
    // could be opened nowhere.
    std::wstring OpenedPath() const;

private:
    struct Shared;
    static void Serve(const std::shared_ptr<Shared>& shared);
    bool StartWriterOnce();
    void StopTakingLines();

    std::shared_ptr<Shared> shared;
    std::thread writer;
};

// The bound of one file: 1 MiB, or GP_TEST_DIAGNOSTICS_MAX_BYTES (1 to 1048576) for tests that
// rotate the file without writing a mebibyte.
std::size_t DiagnosticsMaxBytes();
// Whether GLYPHPAD_DEBUG=1 asks for diagnostics on standard error.
bool DiagnosticsMirrored();

// The process's diagnostics file, made on first use for this program's candidate paths. Never
// destroyed: threads that outlive main may still write to it.
DiagnosticsFile& ProcessDiagnosticsFile();
// Writes one line to the process's diagnostics file.
void WriteDiagnosticLine(std::string line,
                         DiagnosticsClock::time_point when = DiagnosticsClock::now()) noexcept;
// At the end of the process: gives the writer at most `bound` to write what is queued and end,
// so that no thread is left writing when the process ends. Later lines are left out.
void FinishDiagnostics(std::chrono::milliseconds bound) noexcept;
