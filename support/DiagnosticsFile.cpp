#include "support/DiagnosticsFile.h"

#include <spdlog/logger.h>
#include <spdlog/sinks/rotating_file_sink.h>
#include <spdlog/sinks/stdout_sinks.h>

#include <condition_variable>
#include <cstdlib>
#include <cstring>
#include <exception>
#include <mutex>
#include <system_error>
#include <type_traits>
#include <utility>

#include "support/DiagnosticsFileLocation.h"
#include "support/TextConversion.h"

namespace {

constexpr std::size_t kProductMaxBytes = 1024 * 1024;
// A writer that has fallen this far behind (a disk that hangs) costs no more memory.
constexpr std::size_t kMostQueuedLines = 1000;
constexpr char kMaxBytesVariable[] = "GP_TEST_DIAGNOSTICS_MAX_BYTES";
constexpr char kDebugVariable[] = "GLYPHPAD_DEBUG";
constexpr char kLinePattern[] = "%Y-%m-%d %H:%M:%S.%e %v";

struct Entry {
    DiagnosticsClock::time_point when;
    std::string text;
};

// spdlog takes UTF-16 names where the build asks for wide file names (Windows), UTF-8 elsewhere.
template <typename FileName>
FileName NativeFileName(const std::wstring& path) {
    if constexpr (std::is_same<FileName, std::wstring>::value) {
        return path;
    } else {
        return WideToUtf8(path);
    }
}

std::shared_ptr<spdlog::sinks::sink> OpenFirstFile(const DiagnosticsFile::Settings& settings,
                                                   std::wstring& opened) {
    for (const std::wstring& candidate : settings.candidates) {
        try {
            auto file = std::make_shared<spdlog::sinks::rotating_file_sink_st>(
                NativeFileName<spdlog::filename_t>(candidate), settings.maxBytes, 1);
            opened = candidate;
            return file;
        } catch (const std::exception&) {
            // Not writable here (or not at all): the next candidate.
        }
    }
    return nullptr;
}

std::unique_ptr<spdlog::logger> OpenLogger(const DiagnosticsFile::Settings& settings,
                                           std::wstring& opened) {
    std::vector<spdlog::sink_ptr> sinks;
    if (auto file = OpenFirstFile(settings, opened)) {
        sinks.push_back(std::move(file));
    }
    if (settings.mirrorToStandardError) {
        sinks.push_back(std::make_shared<spdlog::sinks::stderr_sink_st>());
    }
    auto logger = std::make_unique<spdlog::logger>("diagnostics", sinks.begin(), sinks.end());
    logger->set_pattern(kLinePattern);
    // A line that cannot be written is left out; spdlog's default would report it on stderr.
    logger->set_error_handler([](const std::string&) {});
    return logger;
}

void Log(spdlog::logger& logger, const Entry& entry) {
    logger.log(entry.when, spdlog::source_loc{}, spdlog::level::info,
               spdlog::string_view_t(entry.text));
}

// spdlog's logger catches what its sinks throw and hands it to the error handler.
void WriteBatch(spdlog::logger& logger, const std::vector<Entry>& batch, std::size_t leftOut) {
    for (const Entry& entry : batch) {
        Log(logger, entry);
    }
    if (leftOut > 0) {
        Log(logger, {DiagnosticsClock::now(),
                     std::to_string(leftOut) + " diagnostics left out: the file did not keep up"});
    }
    logger.flush();
}

}  // namespace

struct DiagnosticsFile::Shared {
    explicit Shared(Settings given) : settings(std::move(given)) {}

    const Settings settings;
    std::mutex mutex;
    std::condition_variable queued;   // lines to write, or the end
    std::condition_variable handled;  // lines written (or given up)
    std::vector<Entry> queue;
    std::size_t accepted = 0;
    std::size_t done = 0;
    std::size_t leftOut = 0;
    bool started = false;
    bool stopping = false;
    bool ended = false;  // the writer thread has left its loop
    std::wstring opened;
};

// The writer thread: waits for lines, never for time.
void DiagnosticsFile::Serve(const std::shared_ptr<Shared>& shared) {
    std::unique_ptr<spdlog::logger> logger;
    for (;;) {
        std::vector<Entry> batch;
        std::size_t leftOut = 0;
        {
            std::unique_lock<std::mutex> lock(shared->mutex);
            shared->queued.wait(lock, [&] { return !shared->queue.empty() || shared->stopping; });
            if (shared->queue.empty()) {
                shared->ended = true;
                shared->handled.notify_all();
                return;
            }
            batch.swap(shared->queue);
            leftOut = std::exchange(shared->leftOut, 0);
        }
        try {
            if (!logger) {
                std::wstring opened;
                logger = OpenLogger(shared->settings, opened);
                std::lock_guard<std::mutex> lock(shared->mutex);
                shared->opened = opened;
            }
            WriteBatch(*logger, batch, leftOut);
        } catch (...) {
            // Out of memory: this batch is lost; the next one tries again.
        }
        {
            std::lock_guard<std::mutex> lock(shared->mutex);
            shared->done += batch.size();
        }
        shared->handled.notify_all();
    }
}

DiagnosticsFile::DiagnosticsFile(Settings settings)
    : shared(std::make_shared<Shared>(std::move(settings))) {}

DiagnosticsFile::~DiagnosticsFile() {
    StopTakingLines();
    if (writer.joinable()) {
        writer.join();
    }
}

void DiagnosticsFile::StopTakingLines() {
    {
        std::lock_guard<std::mutex> lock(shared->mutex);
        shared->stopping = true;
    }
    shared->queued.notify_one();
}

void DiagnosticsFile::Write(std::string line, DiagnosticsClock::time_point when) noexcept {
    try {
        std::lock_guard<std::mutex> lock(shared->mutex);
        // Once stopping, no writer thread starts any more: Close reads `writer` unlocked.
        if (shared->stopping || !StartWriterOnce()) {
            return;
        }
        if (shared->queue.size() >= kMostQueuedLines) {
            ++shared->leftOut;
            return;
        }
        shared->queue.push_back({when, std::move(line)});
        ++shared->accepted;
    } catch (...) {
        return;  // out of memory, or no lock: the line is left out
    }
    shared->queued.notify_one();
}

// With the lock held.
bool DiagnosticsFile::StartWriterOnce() {
    if (!shared->started) {
        shared->started = true;
        try {
            writer = std::thread(Serve, shared);
        } catch (const std::system_error&) {
            shared->stopping = true;  // no thread to write with: lines go nowhere
        }
    }
    return writer.joinable();
}

bool DiagnosticsFile::Drain(std::chrono::milliseconds bound) noexcept {
    try {
        std::unique_lock<std::mutex> lock(shared->mutex);
        const std::size_t target = shared->accepted;
        return shared->handled.wait_for(lock, bound, [&] { return shared->done >= target; });
    } catch (...) {
        return false;
    }
}

bool DiagnosticsFile::Close(std::chrono::milliseconds bound) noexcept {
    try {
        StopTakingLines();
        if (!writer.joinable()) {
            return true;
        }
        std::unique_lock<std::mutex> lock(shared->mutex);
        if (!shared->handled.wait_for(lock, bound, [&] { return shared->ended; })) {
            return false;
        }
        lock.unlock();
        // It has left its loop: the join only waits for the thread to finish ending.
        writer.join();
        return true;
    } catch (...) {
        return false;
    }
}

std::wstring DiagnosticsFile::OpenedPath() const {
    std::lock_guard<std::mutex> lock(shared->mutex);
    return shared->opened;
}

std::size_t DiagnosticsMaxBytes() {
    const char* const setting = std::getenv(kMaxBytesVariable);
    if (setting == nullptr) {
        return kProductMaxBytes;
    }
    char* end = nullptr;
    const unsigned long long bytes = std::strtoull(setting, &end, 10);
    const bool valid = end != setting && *end == '\0' && bytes >= 1 && bytes <= kProductMaxBytes;
    return valid ? static_cast<std::size_t>(bytes) : kProductMaxBytes;
}

bool DiagnosticsMirrored() {
    const char* const setting = std::getenv(kDebugVariable);
    return setting != nullptr && std::strcmp(setting, "1") == 0;
}

DiagnosticsFile& ProcessDiagnosticsFile() {
    static DiagnosticsFile* const file = new DiagnosticsFile(
        {DiagnosticsFileCandidatesOfThisProgram(), DiagnosticsMaxBytes(), DiagnosticsMirrored()});
    return *file;
}

void WriteDiagnosticLine(std::string line, DiagnosticsClock::time_point when) noexcept {
    try {
        ProcessDiagnosticsFile().Write(std::move(line), when);
    } catch (...) {
        // No memory for the file's first use: the line is left out.
    }
}

void FinishDiagnostics(std::chrono::milliseconds bound) noexcept {
    try {
        ProcessDiagnosticsFile().Close(bound);
    } catch (...) {
        // Never made: nothing to write.
    }
}
