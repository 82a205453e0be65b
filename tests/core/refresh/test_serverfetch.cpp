#include "refresh/serverfetch.h"

#include <gtest/gtest.h>

using namespace quintor;

TEST(ServerFetch, EveryNonEmptyReplyWithoutHeaderIsNoList)
{
    using namespace std::string_literals;
    struct Case {
        std::string reply;
        std::optional<std::string> failure;
    };
    const std::string longLine(300, 'x');
    const Case cases[] = {
        {"", std::nullopt},
        {"\r\n  \r\n", std::string(kNoListReason)},
        // The reader stops at a NUL: such a reply used to pass as a list without games.
        {"\0\0\0"s, std::string(kNoListReason)},
        {"\0<html>busy\0</html>\n[Clonk Rage]"s, "<html>busy"},
        {"[Clonk Rage]\nVersion=4\n\0garbage"s, std::nullopt},
        {"[Clonk Rage]\r\nVersion=4,9,10,7,330\r\n", std::nullopt},
        {"Icon=1\n[Reference]\nTitle=A\n  [Reference]  \n[Reference]x\n", std::nullopt},
        {"Flood protection, max. of 700 backend requests per 3600 second(s) reached",
         "Flood protection, max. of 700 backend requests per 3600 second(s) reached"},
        {"\r\n<html>\t<b>503</b>\x1B</html>\r\n[Referenz]\r\n", "<html> <b>503</b> </html>"},
        {longLine + "\n[Clonk Rage]", std::nullopt},
        {longLine, std::string(kMaxReplyReasonLength, 'x')},
    };
    for (const Case& c : cases) {
        const ReplyShape shape = inspectReply(c.reply);
        EXPECT_EQ(shape.notAList, c.failure) << c.reply;
    }
}
