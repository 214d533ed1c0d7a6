#include "support/DiagnosticsFile.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <regex>
#include <string>
#include <thread>
#include <vector>

#include "support/DiagnosticsFileLocation.h"
#include "support/TextConversion.h"

namespace {

namespace fs = std::filesystem;

constexpr std::chrono::milliseconds kDrainBound{10000};

// A fresh folder under the temporary folder, named in UTF-8; removed at the end.
class ScratchFolder {
public:
    explicit ScratchFolder(const std::string& name)
        : path(fs::temp_directory_path() / fs::u8path(name + "-" + std::to_string(Stamp()))) {
        fs::create_directories(path);
    }
    ~ScratchFolder() {
        std::error_code ignored;
        fs::remove_all(path, ignored);
    }
    ScratchFolder(const ScratchFolder&) = delete;
    ScratchFolder& operator=(const ScratchFolder&) = delete;

    fs::path At(const std::string& relative) const { return path / fs::u8path(relative); }
    static std::wstring Wide(const fs::path& at) { return Utf8ToWide(at.u8string()); }

private:
    static long long Stamp() { return std::chrono::steady_clock::now().time_since_epoch().count(); }
    fs::path path;
};

std::vector<std::string> LinesOf(const fs::path& file) {
    std::ifstream stream(file, std::ios::binary);
    std::vector<std::string> lines;
    for (std::string line; std::getline(stream, line);) {
        if (!line.empty() && line.back() == '\r') {
            line.pop_back();
        }
        lines.push_back(line);
    }
    return lines;
}

// A folder where the file's name is taken by a folder cannot hold the file, even for an
// administrator (the tests may run as root).
TEST(DiagnosticsFile, OpensNothingUntilTheFirstLine_ThenTheFirstCandidateThatOpens) {
    // A name outside every ANSI code page: Windows opens it only by its UTF-16 name.
    ScratchFolder scratch("diagnostics-Vorträge 講演");
    const fs::path blocked = scratch.At("plugin/glyphpad-powerpoint.log");
    fs::create_directories(blocked);
    const fs::path fallback = scratch.At("state/Glyphpad/glyphpad-powerpoint.log");
    {
        DiagnosticsFile file(
            {{ScratchFolder::Wide(blocked), ScratchFolder::Wide(fallback)}, 1024 * 1024, false});
        EXPECT_TRUE(file.Drain(kDrainBound));
        EXPECT_FALSE(fs::exists(fallback.parent_path())) << "touched the disk before a line";

        file.Write("first line");
        file.Write("second line");
        ASSERT_TRUE(file.Drain(kDrainBound));
        EXPECT_EQ(file.OpenedPath(), ScratchFolder::Wide(fallback));
    }
    const std::vector<std::string> lines = LinesOf(fallback);
    ASSERT_EQ(lines.size(), 2u);
    const std::regex stamped(R"(\d{4}-\d\d-\d\d \d\d:\d\d:\d\d\.\d{3} (first|second) line)");
    for (const std::string& line : lines) {
        EXPECT_TRUE(std::regex_match(line, stamped)) << line;
    }
}

TEST(DiagnosticsFile, NowhereToOpen_LeavesTheLinesOut) {
    ScratchFolder scratch("diagnostics-nowhere");
    const fs::path blocked = scratch.At("glyphpad-powerpoint.log");
    fs::create_directories(blocked);
    DiagnosticsFile file({{ScratchFolder::Wide(blocked)}, 1024 * 1024, false});
    file.Write("a line");
    EXPECT_TRUE(file.Drain(kDrainBound));
    EXPECT_TRUE(file.OpenedPath().empty());
    EXPECT_TRUE(fs::is_directory(blocked));
}

// The way out of the process: Close while another thread goes on writing. What came before is on
// the disk, whole lines only; what is written after Close returns never is, because the writer
// thread has ended instead of writing on into the end of the process.
TEST(DiagnosticsFile, CloseWhileAnotherThreadWrites_EndsTheWriterAfterWhatCameBefore) {
    ScratchFolder scratch("diagnostics-close");
    const fs::path path = scratch.At("glyphpad-powerpoint.log");
    DiagnosticsFile file({{ScratchFolder::Wide(path)}, 1024 * 1024, false});
    file.Write("before close");
    std::atomic<bool> closed{false};
    std::thread stillWriting([&] {
        while (!closed) {
            file.Write("while closing");
        }
        file.Write("after close");
    });
    ASSERT_TRUE(file.Close(kDrainBound));
    closed = true;
    stillWriting.join();
    // A writer still running would write "after close" now.
    EXPECT_TRUE(file.Drain(kDrainBound));
    const std::vector<std::string> lines = LinesOf(path);
    ASSERT_FALSE(lines.empty());
    EXPECT_NE(lines.front().find("before close"), std::string::npos) << lines.front();
    const std::regex stamped(R"(\d{4}-\d\d-\d\d \d\d:\d\d:\d\d\.\d{3} )"
                             R"((before close|while closing|\d+ diagnostics left out: .*))");
    for (const std::string& line : lines) {
        EXPECT_TRUE(std::regex_match(line, stamped)) << line;
    }
}

struct CandidatesCase {
    std::wstring executable;
    std::wstring stateFolder;
    std::vector<std::wstring> expected;
};

TEST(DiagnosticsFileCandidates, PluginFolderFirst_ThenTheStateFolder) {
    const std::vector<CandidatesCase> cases{
        {LR"(C:\Glyphpad\Plugins\x.gpPlugin\glyphpad-powerpoint.exe)",
         LR"(C:\Users\Ana\AppData\Local)",
         {LR"(C:\Glyphpad\Plugins\x.gpPlugin\glyphpad-powerpoint.log)",
          LR"(C:\Users\Ana\AppData\Local\Glyphpad\glyphpad-powerpoint.log)"}},
        {L"/opt/Vorträge/x.gpPlugin/bin/glyphpad-powerpoint",
         L"/home/ana/.local/state",
         {L"/opt/Vorträge/x.gpPlugin/glyphpad-powerpoint.log",
          L"/home/ana/.local/state/Glyphpad/glyphpad-powerpoint.log"}},
        // Outside a plug-in folder (a test program): beside the executable.
        {LR"(C:\build\tests\support_tests.exe)",
         L"",
         {LR"(C:\build\tests\glyphpad-powerpoint.log)"}},
    };
    for (const CandidatesCase& c : cases) {
        EXPECT_EQ(DiagnosticsFileCandidates(c.executable, c.stateFolder), c.expected)
            << WideToUtf8(c.executable);
    }
    EXPECT_EQ(RotatedDiagnosticsFile(LR"(C:\x.gpPlugin\glyphpad-powerpoint.log)"),
              LR"(C:\x.gpPlugin\glyphpad-powerpoint.1.log)");
}

}  // namespace
