#include "support/Localizer.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <random>
#include <string>
#include <vector>

#include "support/PluginFolder.h"

namespace {

namespace fs = std::filesystem;
using nlohmann::json;

void WriteFile(const fs::path& path, const std::string& content) {
    fs::create_directories(path.parent_path());
    std::ofstream file(path, std::ios::binary);
    file << content;
    ASSERT_TRUE(file.good()) << path;
}

// A plug-in folder of its own per test: <tmp>/<unique>/Slides.gpPlugin with a bin folder.
class LocalizerFolder : public ::testing::Test {
protected:
    void SetUp() override {
        std::random_device random;
        root = fs::temp_directory_path() /
               ("gp-localizer-" + std::to_string(random()) + "-" + std::to_string(random()));
        folder = root / "Slides.gpPlugin";
        fs::create_directories(folder / "bin");
    }
    void TearDown() override {
        std::error_code ignored;
        fs::remove_all(root, ignored);
    }

    json Load(const std::string& language) const {
        return LoadLocalizationTableFrom(folder.string(), language);
    }

    fs::path root;
    fs::path folder;
};

struct ContentCase {
    const char* name;
    std::string content;
    json expected;
};

TEST_F(LocalizerFolder, TakesLocalizationObjectOnly_FromWellFormedFile) {
    const std::vector<ContentCase> cases{
        {"other members ignored", R"({"Localization": {"Load": "Laden"}, "Version": 3})",
         json{{"Load", "Laden"}}},
        {"non-ASCII text",
         "{\"Localization\": {\"Next\": \"N\xC3\xA4"
         "chste Folie\"}}",
         json{{"Next",
               "N\xC3\xA4"
               "chste Folie"}}},
        {"empty object is a table", R"({"Localization": {}})", json::object()},
        {"nested members kept", R"({"Localization": {"a": {"b": [1, 2]}}})",
         json{{"a", {{"b", {1, 2}}}}}},
        {"trailing whitespace", "{\"Localization\": {\"a\": \"b\"}}\r\n\t \n", json{{"a", "b"}}},
        {"CRLF line ends", "{\r\n\"Localization\": {\r\n\"a\": \"b\"\r\n}\r\n}\r\n",
         json{{"a", "b"}}},
    };
    for (const ContentCase& c : cases) {
        WriteFile(folder / "de.json", c.content);
        const json table = Load("de");
        EXPECT_TRUE(table.is_object()) << c.name;
        EXPECT_EQ(table, c.expected) << c.name;
    }
}

TEST_F(LocalizerFolder, GivesNull_ForUnusableFile) {
    const std::vector<ContentCase> cases{
        {"member is a string", R"({"Localization": "Laden"})", nullptr},
        {"member is an array", R"({"Localization": ["Laden"]})", nullptr},
        {"member is null", R"({"Localization": null})", nullptr},
        {"member is a number", R"({"Localization": 1})", nullptr},
        {"member missing", R"({"Localisation": {"a": "b"}})", nullptr},
        {"top level is an array", R"([{"Localization": {"a": "b"}}])", nullptr},
        {"second value follows", R"({"Localization": {"a": "b"}} {"x": 1})", nullptr},
        {"text follows", R"({"Localization": {"a": "b"}} x)", nullptr},
        {"truncated", R"({"Localization": {"a": "b")", nullptr},
        {"empty file", "", nullptr},
        {"comments are not JSON", "// tables\n{\"Localization\": {}}", nullptr},
        {"invalid UTF-8", "{\"Localization\": {\"a\": \"\xC3\"}}", nullptr},
    };
    for (const ContentCase& c : cases) {
        WriteFile(folder / "de.json", c.content);
        EXPECT_TRUE(Load("de").is_null()) << c.name;
    }
}

TEST_F(LocalizerFolder, GivesNullWithoutFallback_WhenLanguageFileIsMissing) {
    WriteFile(folder / "en.json", R"({"Localization": {"Load": "Load"}})");
    EXPECT_TRUE(Load("fr").is_null());
    EXPECT_TRUE(Load("en").is_object());
}

TEST_F(LocalizerFolder, GivesNull_ForEmptyLanguageOrFolder) {
    WriteFile(folder / ".json", R"({"Localization": {"a": "b"}})");
    EXPECT_TRUE(Load("").is_null());
    EXPECT_TRUE(LoadLocalizationTableFrom("", "de").is_null());
}

TEST_F(LocalizerFolder, UsesLanguageUnchanged_InFileName) {
    WriteFile(folder / "sub" / "de.json", R"({"Localization": {"from": "sub"}})");
    WriteFile(root / "up.json", R"({"Localization": {"from": "parent"}})");
    EXPECT_EQ(Load("sub/de"), (json{{"from", "sub"}}));
    EXPECT_EQ(Load("../up"), (json{{"from", "parent"}}));
    EXPECT_TRUE(Load("de").is_null());
}

// The shipped tables, copied next to the executable by the build.
TEST(LocalizationFiles, ShareOneKeySchemeOfNonEmptyTexts) {
    const std::vector<std::string> languages{"en", "de", "fr", "es", "ja", "zh_CN"};
    const json english = LoadLocalizationTableFrom(GP_TEST_PLUGIN_DIR, "en");
    ASSERT_TRUE(english.is_object());
    EXPECT_EQ(english.size(), 12u);
    for (const std::string& language : languages) {
        const json table = LoadLocalizationTableFrom(GP_TEST_PLUGIN_DIR, language);
        ASSERT_TRUE(table.is_object()) << language;
        for (const auto& [key, value] : english.items()) {
            ASSERT_TRUE(table.contains(key)) << language << ": " << key;
            EXPECT_TRUE(table[key].is_string()) << language << ": " << key;
            EXPECT_FALSE(table[key].get<std::string>().empty()) << language << ": " << key;
        }
        EXPECT_EQ(table.size(), english.size()) << language;
    }
}

// This test executable is built into SupportTests.gpPlugin/bin, so the real start-up path
// (module path, walk, join, open) finds tables that the test writes into that folder.
class InstalledPluginFolder : public ::testing::Test {
protected:
    void TearDown() override {
        for (const fs::path& file : written) {
            std::error_code ignored;
            fs::remove(file, ignored);
        }
    }
    void WriteTable(const std::string& language, const std::string& content) {
        const fs::path file = fs::path(GetPluginFolder()) / (language + ".json");
        written.push_back(file);
        WriteFile(file, content);
    }
    std::vector<fs::path> written;
};

TEST_F(InstalledPluginFolder, GetPluginFolderFindsFolderAroundThisExecutable) {
    const std::string folder = GetPluginFolder();
    ASSERT_FALSE(folder.empty());
    EXPECT_EQ(fs::path(folder).filename(), "SupportTests.gpPlugin");
    EXPECT_TRUE(fs::is_directory(folder));
    EXPECT_EQ(GetPluginFolder(), folder);
}

TEST_F(InstalledPluginFolder, LoadLocalizationTableReadsFromPluginFolder) {
    WriteTable("gp-load-test", R"({"Localization": {"Play": "Wiedergabe"}})");
    EXPECT_EQ(LoadLocalizationTable("gp-load-test"), (json{{"Play", "Wiedergabe"}}));
    EXPECT_TRUE(LoadLocalizationTable("gp-missing-test").is_null());
    EXPECT_TRUE(LoadLocalizationTable("").is_null());
}

TEST_F(InstalledPluginFolder, CreateLocalizerFillsSlotOnce) {
    WriteTable("gp-first-test", R"({"Localization": {"Load": "first"}})");
    WriteTable("gp-second-test", R"({"Localization": {"Load": "second"}})");
    if (LocalizationTable() != nullptr) {
        GTEST_SKIP() << "the localizer is process-wide and was filled by an earlier repetition";
    }

    CreateLocalizer("gp-first-test");
    const json* table = LocalizationTable();
    ASSERT_NE(table, nullptr);
    EXPECT_EQ(*table, (json{{"Load", "first"}}));

    CreateLocalizer("gp-second-test");
    EXPECT_EQ(LocalizationTable(), table);
    EXPECT_EQ(*LocalizationTable(), (json{{"Load", "first"}}));
}

}  // namespace
