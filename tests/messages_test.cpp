// The message table: every text exactly, the empty languages and the title scroller's shape.
#include <gtest/gtest.h>

#include <cctype>
#include <cstring>
#include <string>

#include "core/messages.h"

namespace {

struct Expected {
    int id;
    const char* text;
};

// Language 0, ids 0..88 (the scroller has its own checks).
const Expected kTexts[] = {
    {TXT_IMPALED, "IMPALED TO DEATH"},
    {TXT_FELL, "FELL TO DEATH"},
    {TXT_SMASHED, "SMASHED"},
    {TXT_BLOWN_UP, "BLOWN UP"},
    {TXT_STABBED_BY_MASKY, "STABBED BY MASKY"},
    {TXT_STOPPED_BY_BEETLE, "STOPPED BY BEETLE"},
    {TXT_HIT_BY_WINGEDEYE, "HIT BY WINGEDEYE"},
    {TXT_EATEN_BY_ACIDFISH, "EATEN BY ACIDFISH"},
    {TXT_KILLED_BY_SKULL, "KILLED BY SKULL"},
    {TXT_HURRY, " HURRY:"},
    {TXT_OXYGEN, "OXYGEN:"},
    {TXT_PAUSE, "-PAUSE-"},
    {TXT_SUICIDE, "SUICIDE"},
    {TXT_GO_ON, "GO ON"},
    {TXT_EXIT, "EXIT"},
    {TXT_RUN, "FRIBB, RUN!"},
    {TXT_FORGOT_RINGS, "YOU FORGOT RINGS!"},
    {TXT_PAUSE_AND_SUICIDE, "GO TO PAUSE MODE AND SUICIDE"},
    {TXT_PRESS_START, "PRESS START"},
    {TXT_NEW_GAME, "NEW GAME"},
    {TXT_CONTINUE, "CONTINUE"},
    {TXT_HISCORES, "HISCORES"},
    {TXT_OPTIONS, "OPTIONS"},
    {TXT_PRESS_START_MENU, "PRESS START"},
    {TXT_NOT_AVAILABLE, "NOT AVAILABLE"},
    {TXT_CONFIGURE_KEYS, "CONFIGURE KEYS"},
    {TXT_PRESS_START_KEY, "PRESS START KEY"},
    {TXT_PRESS_LEFT_KEY, "PRESS LEFT KEY"},
    {TXT_PRESS_RIGHT_KEY, "PRESS RIGHT KEY"},
    {TXT_PRESS_UP_KEY, "PRESS UP KEY"},
    {TXT_PRESS_DOWN_KEY, "PRESS DOWN KEY"},
    {TXT_PRESS_JUMP_KEY, "PRESS JUMP KEY"},
    {TXT_PRESS_PAUSE_KEY, "PRESS PAUSE KEY"},
    {TXT_CONFIGURE_PAD, "CONFIGURE PAD"},
    {TXT_PRESS_START_BUTTON, "PRESS START BUTTON"},
    {TXT_PRESS_JUMP_BUTTON, "PRESS JUMP BUTTON"},
    {TXT_PRESS_PAUSE_BUTTON, "PRESS PAUSE BUTTON"},
    {TXT_MUSIC_VOLUME, "MUSIC VOLUME"},
    {TXT_SFX_VOLUME, "SFX VOLUME"},
    {TXT_SCREEN_SETTINGS, "SCREEN SETTINGS"},
    {TXT_WINDOWED_1X, "WINDOWED 1X"},
    {TXT_WINDOWED_2X, "WINDOWED 2X"},
    {TXT_FULL_SCREEN, "FULL SCREEN"},
    {TXT_ANTI_ALIASING, "ANTI-ALIASING"},
    {TXT_AA_NONE, "NONE"},
    {TXT_AA_SIMPLE, "SIMPLE"},
    {TXT_AA_SCALE2X, "SCALE2X(ALT)"},
    {TXT_RESTART_TO_APPLY, "(RESTART TO APPLY)"},
    {TXT_RESET_TO_DEFAULT, "RESET TO DEFAULT"},
    {TXT_BACK_TO_MENU, "BACK TO MENU"},
    {TXT_ALREADY_USED, "ALREADY USED, CHOOSE ANOTHER ONE"},
    {TXT_ENTER_YOUR_NAME, "ENTER YOUR NAME:"},
    {TXT_TIME_UP, "TIME UP"},
    {TXT_DROWNED, "DROWNED"},
    {TXT_SURE_TO_QUIT, "SURE TO QUIT?"},
    {TXT_LEFT_YES_RIGHT_NO, "PRESS LEFT FOR YES, PRESS RIGHT FOR NO"},
    {TXT_HISCORE_LOST, "ANY POSSIBLE HISCORE ENTRY WILL BE LOST"},
    {TXT_TIME_BONUS, "TIME BONUS"},
    {TXT_LIFE_BONUS, "LIFE BONUS"},
    {TXT_CONGRATULATIONS, "CONGRATULATIONS"},
    {TXT_NEXT_STAGE, "NEXT STAGE"},
    {TXT_COMING_UP, "COMING UP"},
    {TXT_YOU_ARE_SAFE, "YOU ARE SAFE!"},
    {TXT_THE_END, "THE END!"},
    {TXT_HAPPILY_TOGETHER, "HAPPILY TOGETHER"},
    {TXT_SUDDENLY, "SUDDENLY..."},
    {TXT_RINGS_OR_SHE_DIES, "RINGS OR SHE DIES"},
    {TXT_SCORE, "SCORE"},
    {TXT_GAME_OVER, "GAME OVER!"},
    {TXT_CONTINUE_QUESTION, "CONTINUE?"},
    {TXT_CREDITS, "CREDITS"},
    {TXT_CREDITS_1, "THIS PROJECT USES CODE OF"},
    {TXT_CREDITS_2, "THE FOLLOWING OPEN-SOURCE"},
    {TXT_CREDITS_3, "PROJECTS IN UNMODDED FORM:"},
    {TXT_CREDITS_4, "SDL, SDL MIXER, LIBMODPLUG"},
    {TXT_CREDITS_5, "AND ZLIB"},
    {TXT_CREDITS_6, "YOU CAN GET THE SOURCE CODE"},
    {TXT_CREDITS_7, "OF THE MENTIONED LIBRARIES"},
    {TXT_CREDITS_8, "BY VISITING THE RESPECTIVE"},
    {TXT_CREDITS_9, "HOMEPAGES."},
    {TXT_PRESS_UP_TO_GO_ON, "PRESS UP TO GO ON"},
    {TXT_ATTENTION, "ATTENTION"},
    {TXT_WARNING_0, ""},
    {TXT_WARNING_1, "THIS GAME IS SERIOUSLY HARD"},
    {TXT_WARNING_2, "AND REQUIRES A FAST BRAIN"},
    {TXT_WARNING_3, "ALONG WITH FAST FINGERS."},
    {TXT_WARNING_4, "TAKE CARE OF YOURSELF AND"},
    {TXT_WARNING_5, "YOUR PRECIOUS HARDWARE."},
    {TXT_WARNING_6, "YOU HAVE BEEN WARNED!"},
};

TEST(MessagesTest, EveryTextOfLanguageZeroIsExact)
{
    ASSERT_EQ(currentLanguage, 0);
    ASSERT_EQ(sizeof kTexts / sizeof kTexts[0], 89u);
    for (int i = 0; i < 89; ++i) {
        ASSERT_EQ(kTexts[i].id, i);
        EXPECT_STREQ(GetText(i), kTexts[i].text) << "id " << i;
    }
}

TEST(MessagesTest, TextsThatAreEasyToGetWrong)
{
    EXPECT_STREQ(GetText(TXT_HURRY), " HURRY:");
    EXPECT_STREQ(GetText(TXT_PRESS_START), GetText(TXT_PRESS_START_MENU));
    EXPECT_STREQ(GetText(TXT_WARNING_0), "");
    EXPECT_EQ(kTextCount, 90);
    EXPECT_EQ(kLanguageCount, 4);
}

TEST(MessagesTest, OffsetRunsKeepTheirOrder)
{
    EXPECT_STREQ(GetText(TXT_IMPALED + 8), "KILLED BY SKULL");
    EXPECT_STREQ(GetText(TXT_PRESS_START_KEY + 6), "PRESS PAUSE KEY");
    EXPECT_STREQ(GetText(TXT_PRESS_START_BUTTON + 2), "PRESS PAUSE BUTTON");
    EXPECT_STREQ(GetText(TXT_YOU_ARE_SAFE + 4), "RINGS OR SHE DIES");
}

TEST(MessagesTest, OtherLanguagesAreEmpty)
{
    for (int language = 1; language < kLanguageCount; ++language) {
        currentLanguage = language;
        for (int id = 0; id < kTextCount; ++id)
            EXPECT_STREQ(GetText(id), "") << "language " << language << " id " << id;
    }
    currentLanguage = 0;
    EXPECT_STREQ(GetText(TXT_IMPALED), "IMPALED TO DEATH");
}

TEST(MessagesTest, ScrollerHasItsShape)
{
    const std::string s = GetText(TXT_SCROLLER);
    ASSERT_EQ(s.size(), 1007u);
    const std::string blanks(40, ' ');
    EXPECT_EQ(s.substr(0, 40), blanks);
    EXPECT_EQ(s.substr(s.size() - 40), blanks);
    // Exactly 40: the text proper starts and ends with a visible character.
    EXPECT_NE(s[40], ' ');
    EXPECT_NE(s[s.size() - 41], ' ');
    for (size_t i = 0; i < s.size(); ++i) {
        const unsigned char c = static_cast<unsigned char>(s[i]);
        // The fonts hold characters 32..95; no lower case.
        ASSERT_GE(c, 32) << "at " << i;
        ASSERT_LE(c, 95) << "at " << i;
        ASSERT_FALSE(std::islower(c)) << "at " << i;
    }
}

TEST(MessagesTest, EveryTextUsesOnlyFontCharacters)
{
    for (int id = 0; id < kTextCount; ++id)
        for (const char* p = GetText(id); *p; ++p)
            EXPECT_TRUE(*p >= 32 && *p <= 95) << "id " << id << " char " << int(*p);
}

} // namespace
