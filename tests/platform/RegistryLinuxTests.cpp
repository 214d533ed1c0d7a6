// What the Linux registry stand-in adds to the Windows contract: one tree for the whole process,
// which its threads share.
#include <gtest/gtest.h>

#include <string>
#include <thread>
#include <vector>

#include "platform/Platform.h"
#include "platform/RegistryKey.h"

namespace {

// Each thread writes and reads keys of its own while another enumerates and deletes beside
// them; run under ThreadSanitizer this also shows the tree is locked.
TEST(LinuxRegistry, ThreadsShareOneTree) {
    const std::wstring base = L"Software\\Glyphpad registry threads";
    constexpr int kThreads = 4;
    constexpr int kRounds = 100;
    std::vector<int> wrong(kThreads, 0);
    std::vector<std::thread> threads;
    for (int thread = 0; thread < kThreads; ++thread) {
        threads.emplace_back([&, thread] {
            const std::wstring path = base + L"\\Thread" + std::to_wstring(thread);
            for (int round = 0; round < kRounds; ++round) {
                RegistryKey key;
                const std::wstring text = std::to_wstring(round);
                DWORD size = static_cast<DWORD>((text.size() + 1) * sizeof(wchar_t));
                wchar_t read[16] = {};
                wrong[thread] +=
                    RegCreateKeyExW(HKEY_CURRENT_USER, path.c_str(), 0, nullptr, 0,
                                    KEY_READ | KEY_WRITE, nullptr, key.Receive(),
                                    nullptr) != ERROR_SUCCESS ||
                    RegSetValueExW(key.Get(), L"Round", 0, REG_SZ,
                                   reinterpret_cast<const BYTE*>(text.c_str()),
                                   size) != ERROR_SUCCESS ||
                    RegQueryValueExW(key.Get(), L"Round", nullptr, nullptr,
                                     reinterpret_cast<BYTE*>(read), &size) != ERROR_SUCCESS ||
                    text != read;
                RegDeleteTreeW(HKEY_CURRENT_USER, path.c_str());
            }
        });
    }
    std::thread lister([&] {
        for (int round = 0; round < kRounds; ++round) {
            RegistryKey key;
            if (RegOpenKeyExW(HKEY_CURRENT_USER, base.c_str(), 0, KEY_READ, key.Receive()) ==
                ERROR_SUCCESS) {
                wchar_t name[256];
                DWORD length = 256;
                RegEnumKeyExW(key.Get(), 0, name, &length, nullptr, nullptr, nullptr, nullptr);
            }
        }
    });
    for (std::thread& thread : threads) {
        thread.join();
    }
    lister.join();
    RegDeleteTreeW(HKEY_CURRENT_USER, base.c_str());
    EXPECT_EQ(wrong, std::vector<int>(kThreads, 0));
}

}  // namespace
