#include "fieldcheck/DiagnosticsAttachment.h"

#include <deque>
#include <filesystem>
#include <fstream>
#include <system_error>
#include <vector>

#include "platform/UserStateFolder.h"
#include "support/DiagnosticsFileLocation.h"
#include "support/TextConversion.h"

namespace {

namespace fs = std::filesystem;

fs::path PathOf(const std::wstring& utf16) {
    return fs::u8path(WideToUtf8(utf16));
}

// Appends the file's lines, keeping only the last `most` of everything appended.
void KeepLastLines(const fs::path& file, std::size_t most, std::deque<std::string>& kept) {
    std::ifstream stream(file, std::ios::binary);
    for (std::string line; std::getline(stream, line);) {
        if (!line.empty() && line.back() == '\r') {
            line.pop_back();
        }
        kept.push_back(std::move(line));
        if (kept.size() > most) {
            kept.pop_front();
        }
    }
}

}  // namespace

nlohmann::json DiagnosticsAttachment(const std::string& pluginPath, std::size_t lines) {
    std::error_code ignored;
    const fs::path plugin = fs::absolute(fs::u8path(pluginPath), ignored);
    const std::vector<std::wstring> candidates =
        DiagnosticsFileCandidates(Utf8ToWide(plugin.u8string()), UserStateFolder());
    nlohmann::json attachment{
        {"file", ""}, {"found", false}, {"lastLines", nlohmann::json::array()}};
    if (candidates.empty()) {
        return attachment;
    }
    std::wstring file = candidates.front();
    for (const std::wstring& candidate : candidates) {
        if (fs::is_regular_file(PathOf(candidate), ignored)) {
            file = candidate;
            attachment["found"] = true;
            break;
        }
    }
    attachment["file"] = WideToUtf8(file);
    std::deque<std::string> kept;
    KeepLastLines(PathOf(RotatedDiagnosticsFile(file)), lines, kept);
    KeepLastLines(PathOf(file), lines, kept);
    for (std::string& line : kept) {
        attachment["lastLines"].push_back(std::move(line));
    }
    return attachment;
}
