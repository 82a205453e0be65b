#include "settings/translate.h"
#include "support/tempfolder.h"

#include <gtest/gtest.h>

#include <filesystem>

using namespace quintor;

namespace {

const std::string catalogTail = "en/LC_MESSAGES/quintor.mo";

// The built catalog placed where a program folder would find it.
void placeCatalog(const test::TempFolder& folder, const std::string& localeFolder)
{
    const std::string target = folder.file(localeFolder + catalogTail);
    std::filesystem::create_directories(std::filesystem::path(target).parent_path());
    std::filesystem::copy_file(QUINTOR_BUILD_CATALOG, target);
}

class Translate : public ::testing::Test {
protected:
    void TearDown() override { useGermanTexts(); }
};

} // namespace

TEST(ChooseLanguage, SettingFirstThenTheEnvironment)
{
    struct Case {
        std::string setting;
        LocaleEnvironment environment;
        Language expected;
    };
    const Case cases[] = {
        {"de", {"en", "en_US.UTF-8", "", ""}, Language::german},
        {"en", {"de", "de_DE.UTF-8", "", ""}, Language::english},
        {"", {}, Language::german},
        {"system", {"", "", "", "en_GB.UTF-8"}, Language::english},
        {"", {"fr:en_GB:de", "", "", "de_DE.UTF-8"}, Language::english}, // the first of ours in the list
        {"", {"de:en", "", "", "en_US.UTF-8"}, Language::german},
        {"", {"fr", "", "", "en_US.UTF-8"}, Language::english}, // LANGUAGE names neither
        {"", {"", "C", "", "en_US.UTF-8"}, Language::german},   // LC_ALL wins over LANG
        {"", {"", "", "en_AU", "de_AT.UTF-8"}, Language::english},
        {"", {"", "", "", "english"}, Language::german},
        {"fr", {"", "", "", "en"}, Language::english}, // an unknown setting follows the system
    };
    for (const Case& c : cases) {
        EXPECT_EQ(chooseLanguage(c.setting, c.environment), c.expected)
            << "setting '" << c.setting << "' LANGUAGE '" << c.environment.language << "' LC_ALL '"
            << c.environment.lcAll << "' LANG '" << c.environment.lang << "'";
    }
}

TEST(ChooseLanguage, StoredSettingIsReadFromConfig)
{
    test::TempFolder folder;
    EXPECT_EQ(storedLanguageSetting(folder.path()), "");
    folder.write("config.txt", "tagparse=True\r\nlanguage=en\r\n");
    EXPECT_EQ(storedLanguageSetting(folder.path()), "en");
}

TEST_F(Translate, CatalogIsFoundBesideTheProgramAndInstalled)
{
    test::TempFolder portable;
    placeCatalog(portable, "locale/");
    EXPECT_TRUE(useLanguage(Language::english, catalogCandidates(portable.path(), Language::english)));
    EXPECT_EQ(activeLanguage(), Language::english);

    test::TempFolder prefix;
    std::filesystem::create_directories(prefix.file("bin"));
    placeCatalog(prefix, "share/locale/");
    useGermanTexts();
    EXPECT_TRUE(useLanguage(Language::english, catalogCandidates(prefix.file("bin/"), Language::english)));
    EXPECT_EQ(activeLanguage(), Language::english);

    // No catalog anywhere: the texts stay German.
    test::TempFolder empty;
    EXPECT_FALSE(useLanguage(Language::english, catalogCandidates(empty.path(), Language::english)));
    EXPECT_EQ(activeLanguage(), Language::german);
}

TEST_F(Translate, TextsAreWindows1252BothWays)
{
    const char* notice = "Gilt ab dem n\xE4"
                         "chsten Start.";
    EXPECT_EQ(tr(notice), notice);
    ASSERT_TRUE(useCatalogFile(QUINTOR_BUILD_CATALOG));
    EXPECT_EQ(tr(notice), "Takes effect at the next start.");
    EXPECT_EQ(tr("Kein Text des Katalogs"), "Kein Text des Katalogs");
    useGermanTexts();
    EXPECT_EQ(tr(notice), notice); // the cache follows the change
    EXPECT_EQ(textInLanguage(Language::english, {"/nonexistent.mo", QUINTOR_BUILD_CATALOG}, notice),
              "Takes effect at the next start.");
    EXPECT_EQ(activeLanguage(), Language::german);
}

TEST_F(Translate, CountedTextsTakeTheFormOfTheirNumber)
{
    const char* one = "%1 Spiel mit fehlerhaften Daten \xFC"
                      "bersprungen";
    const char* many = "%1 Spiele mit fehlerhaften Daten \xFC"
                       "bersprungen";
    EXPECT_EQ(trn(one, many, 1), "1 Spiel mit fehlerhaften Daten \xFC"
                                 "bersprungen");
    EXPECT_EQ(trn(one, many, 3), "3 Spiele mit fehlerhaften Daten \xFC"
                                 "bersprungen");
    ASSERT_TRUE(useCatalogFile(QUINTOR_BUILD_CATALOG));
    EXPECT_EQ(trn(one, many, 1), "1 game with faulty data skipped");
    EXPECT_EQ(trn(one, many, 0), "0 games with faulty data skipped");
}
