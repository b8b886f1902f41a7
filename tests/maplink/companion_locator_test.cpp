#include "maplink/companion_locator.h"

#include <gtest/gtest.h>

#include <fstream>

#include "companion_settings_writer.h"
#include "link_test_environment.h"
#include "maplink/ini_settings_file.h"

TEST(AnIniValue, isDecodedAsQSettingsWritesIt) {
    EXPECT_EQ(DecodeIniValue("  plain text  "), "plain text");
    EXPECT_EQ(DecodeIniValue(R"("/opt/a b/zidevu")"), "/opt/a b/zidevu");
    EXPECT_EQ(DecodeIniValue(R"("a,b;c")"), "a,b;c");
    EXPECT_EQ(DecodeIniValue(R"("C:\\Program Files\\x\"y")"), R"(C:\Program Files\x"y)");
    EXPECT_EQ(DecodeIniValue(R"(\x4e0a\x6d77)"), "上海");
    EXPECT_EQ(DecodeIniValue("value ; comment"), "value");
    EXPECT_EQ(DecodeIniValue("@@at"), "@at");
}

TEST(AnIniValue, isNoPlainStringWhenItIsAListOrTyped) {
    EXPECT_FALSE(DecodeIniValue("a, b"));
    EXPECT_FALSE(DecodeIniValue("@ByteArray(abc)"));
    EXPECT_FALSE(DecodeIniValue("@Variant(\\0\\0)"));
}

TEST(AnIniValue, survivesEncodingAndDecoding) {
    for (std::string text : {"", "@x", " lead", "a,b", "q\"uo\\te", "line\nbreak", "路径/程序"}) {
        EXPECT_EQ(DecodeIniValue(EncodeIniValue(text)), text);
    }
}

TEST(AnIniSettingsFile, findsKeysByGroupAndSkipsComments) {
    auto file = IniSettingsFile::Parse(
        "\xEF\xBB\xBF; written by hand\r\n"
        "Top=1\r\n"
        "[MainFrm]\r\n"
        "# another comment\r\n"
        "LastVersion = 501\r\n"
        "broken line\r\n"
        "[Other]\nLastVersion=7\n");
    EXPECT_EQ(file.Value("General", "Top"), "1");
    EXPECT_EQ(file.Value("MainFrm", "LastVersion"), "501");
    EXPECT_EQ(file.Value("Other", "LastVersion"), "7");
    EXPECT_FALSE(file.Value("MainFrm", "LastRunPath"));
}

class ACompanionLocator : public ::testing::Test {
  protected:
    LinkTestEnvironment env;

    void WriteSettings(const std::string& text) {
        std::filesystem::create_directories(env.ConfigDir() + "/Darazoz Software");
        std::ofstream(env.CompanionSettings()) << text;
    }
};

TEST_F(ACompanionLocator, readsTheFileTheSimulatorWritesUnderXdgConfigHome) {
    EXPECT_EQ(CompanionSettingsPath(), env.CompanionSettings());
    CompanionLocator locator;
    EXPECT_FALSE(locator.Installed());
    EXPECT_EQ(locator.Version(), 0u);

    ASSERT_TRUE(WriteCompanionSettings(CompanionSettingsPath(), 502, "/opt/地图, v5/zidevu"));
    EXPECT_TRUE(locator.Installed());
    EXPECT_EQ(locator.Version(), 502u);
    EXPECT_EQ(locator.RunPath(), "/opt/地图, v5/zidevu");
}

TEST_F(ACompanionLocator, keepsVersionAndPathForTheRunOnceAPositiveVersionWasRead) {
    WriteSettings("[MainFrm]\nLastVersion=abc\nLastRunPath=/a\n");
    CompanionLocator locator;
    EXPECT_EQ(locator.Version(), 0u);
    EXPECT_EQ(locator.RunPath(), "");

    WriteSettings("[MainFrm]\nLastVersion=600\nLastRunPath=/b\n");
    EXPECT_EQ(locator.Version(), 600u);
    WriteSettings("[MainFrm]\nLastVersion=100\nLastRunPath=/c\n");
    EXPECT_EQ(locator.Version(), 600u);
    EXPECT_EQ(locator.RunPath(), "/b");
}

TEST_F(ACompanionLocator, takesOnlyAPositive32BitIntegerAsVersion) {
    for (const char* value : {"0", "-5", "4294967296", "501x", "\"\"", "1,2"}) {
        WriteSettings(std::string("[MainFrm]\nLastVersion=") + value + "\n");
        EXPECT_EQ(CompanionLocator().Version(), 0u) << value;
    }
    WriteSettings("[MainFrm]\nLastVersion=\"4294967295\"\nLastRunPath=a,b\n");
    CompanionLocator locator;
    EXPECT_EQ(locator.Version(), 4294967295u);
    EXPECT_EQ(locator.RunPath(), "");  // a list is no path
}
