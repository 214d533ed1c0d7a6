#include "support/DiagnosticsFileLocation.h"

#include "platform/Platform.h"
#include "platform/UserStateFolder.h"
#include "support/PathUtilities.h"
#include "support/PluginFolder.h"
#include "support/TextConversion.h"

namespace {

// Windows' own limit for a long path is 32767 units.
constexpr DWORD kLongestPath = 32768;

std::wstring ExecutablePath() {
    std::wstring path(kLongestPath, L'\0');
    const DWORD length = GetModuleFileNameW(nullptr, &path[0], kLongestPath);
    path.resize(length < kLongestPath ? length : 0);
    return path;
}

// The folder's own separator: a backslash if it holds one, otherwise a forward slash.
std::wstring Joined(const std::wstring& folder, const std::wstring& name) {
    const wchar_t separator = folder.find(L'\\') != std::wstring::npos ? L'\\' : L'/';
    if (folder.empty() || folder.back() == separator) {
        return folder + name;
    }
    return folder + separator + name;
}

// The plug-in folder, or the executable's own folder when it lies in none. The walk is made on
// UTF-8, which keeps every separator and dot where the UTF-16 path has it.
std::wstring HomeFolderOf(const std::wstring& executablePath) {
    const std::string path = WideToUtf8(executablePath);
    std::string folder = FindPluginFolder(path);
    if (folder.empty()) {
        folder = GetParentPath(path);
    }
    return Utf8ToWide(folder);
}

}  // namespace

std::vector<std::wstring> DiagnosticsFileCandidates(const std::wstring& executablePath,
                                                    const std::wstring& stateFolder) {
    std::vector<std::wstring> candidates;
    const std::wstring home = HomeFolderOf(executablePath);
    if (!home.empty()) {
        candidates.push_back(Joined(home, kDiagnosticsFileName));
    }
    if (!stateFolder.empty()) {
        candidates.push_back(
            Joined(Joined(stateFolder, kDiagnosticsStateSubfolder), kDiagnosticsFileName));
    }
    return candidates;
}

std::vector<std::wstring> DiagnosticsFileCandidatesOfThisProgram() {
    return DiagnosticsFileCandidates(ExecutablePath(), UserStateFolder());
}

std::wstring RotatedDiagnosticsFile(const std::wstring& file) {
    const std::size_t dot = file.rfind(L'.');
    const std::size_t separator = file.find_last_of(L"\\/");
    if (dot == std::wstring::npos || (separator != std::wstring::npos && dot < separator)) {
        return file + L".1";
    }
    return file.substr(0, dot) + L".1" + file.substr(dot);
}
