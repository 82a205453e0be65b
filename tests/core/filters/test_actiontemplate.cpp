#include "filters/actiontemplate.h"

#include <gtest/gtest.h>

using namespace quintor;

namespace {

struct Formatted {
    const char* text;
    const char* value;
    const char* expected;
};

void PrintTo(const Formatted& f, std::ostream* out)
{
    *out << '"' << f.text << "\" with \"" << f.value << '"';
}

class FormatsLikePrintf : public testing::TestWithParam<Formatted> {};

TEST_P(FormatsLikePrintf, ForOneStringArgument)
{
    const Formatted& c = GetParam();
    EXPECT_EQ(formatActionText(c.text, c.value), c.expected) << "template: " << c.text;
}

INSTANTIATE_TEST_SUITE_P(
    Templates, FormatsLikePrintf,
    testing::Values(Formatted{"Spiel von %s", "Sven", "Spiel von Sven"}, Formatted{"ohne Prozent", "x", "ohne Prozent"},
                    Formatted{"%s", "", ""}, Formatted{"Neu: %s", "", "Neu: "}, // variable "Nichts"
                    Formatted{"50%", "x", "50"}, Formatted{"50%%", "x", "50%"}, Formatted{"%%s", "x", "%s"},
                    Formatted{"%%%s%%", "v", "%v%"}, Formatted{"a%-", "x", "a"}, Formatted{"a%-12.", "x", "a"},
                    Formatted{"a%5", "x", "a"}, Formatted{"[%5s]", "ab", "[   ab]"},
                    Formatted{"[%-5s]", "ab", "[ab   ]"}, Formatted{"[%.2s]", "abcdef", "[ab]"},
                    Formatted{"[%.s]", "abc", "[]"}, Formatted{"[%6.3s]", "abcdef", "[   abc]"},
                    Formatted{"[%-6.3s]", "abcdef", "[abc   ]"}, Formatted{"[%1s]", "abc", "[abc]"},
                    Formatted{"[%05s]", "ab", "[   ab]"},
                    // Bytes of the value are never read as a format.
                    Formatted{"%s!", "%d%n%s%%", "%d%n%s%%!"}, Formatted{"Gr\xFCn %s", "\xE4", "Gr\xFCn \xE4"}));

class RefusedTemplate : public testing::TestWithParam<const char*> {};

TEST_P(RefusedTemplate, IsATemplateError)
{
    EXPECT_THROW(ActionTemplate::compile(GetParam()), TemplateError) << "template: " << GetParam();
}

INSTANTIATE_TEST_SUITE_P(Templates, RefusedTemplate,
                         testing::Values("50% mehr", "%d", "%s und %s", "%s%s", "%S", "% s", "%+s", "%*s", "%0:s",
                                         "%5%", "%-%", "%.x", "%--s", "%x am Ende", "%99999999999999999999s",
                                         "%65536s"));

TEST(ActionTemplate, TheErrorNamesTheTemplate)
{
    try {
        ActionTemplate::compile("Spiel %d");
        FAIL() << "no error";
    } catch (const TemplateError& error) {
        EXPECT_NE(std::string(error.what()).find("\"Spiel %d\""), std::string::npos) << error.what();
    }
}

TEST(ActionTemplate, TheLargestWidthIsAllowed)
{
    EXPECT_EQ(formatActionText("%65535s", "x").size(), 65535u);
}

TEST(ActionTemplate, ACompiledTemplateFormatsManyValues)
{
    const ActionTemplate t = ActionTemplate::compile("<%-3s>");
    EXPECT_EQ(t.format("a"), "<a  >");
    EXPECT_EQ(t.format("abcd"), "<abcd>");
}

} // namespace
