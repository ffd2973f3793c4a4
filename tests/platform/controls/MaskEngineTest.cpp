#include "platform/controls/MaskEngine.h"

#include <gtest/gtest.h>

namespace {
const MaskSeparators kDots {'.', '-'};

std::string Typed(const MaskEngine& mask, const std::string& keys, std::string* refused = nullptr)
{
    std::u32string edit = mask.EmptyText();
    int position = 0;
    for (char32_t c : ToUtf32(keys)) {
        int next = mask.Type(edit, position, c);
        if (next < 0) {
            if (refused)
                *refused += ToUtf8(std::u32string(1, c));
            continue;
        }
        position = next;
    }
    return ToUtf8(edit);
}
} // namespace

TEST(MaskEngine, LiteralsTakeTheLocaleSeparatorsAndTypingOverwritesPastThem)
{
    struct Case {
        const char* mask;
        const char* keys;
        const char* edit;
        const char* refused;
        const char* text;
    };
    const Case cases[] = {
        {"!99/99/0000;1;_", "12x0719 99", "12.07.1999", "x ", "12.07.1999"},
        {"00:00:00;1;_", "2359", "23-59-__", "", "23-59-"},
        {"00:00;0;*", "1234", "12-34", "", "1234"},
        {">LL<ll;0;_", "abCD", "ABcd", "", "ABcd"},
        {"\\(000\\) 000;1;_", "55512", "(555) 12_", "", "(555) 12"},
        {"#99;1; ", "-5a", "-5 ", "a", "-5"},
        {"LL_LL;1;_", "ab1cd", "ab cd", "1", "ab cd"},
    };
    for (const Case& c : cases) {
        MaskEngine mask(c.mask, kDots);
        std::string refused;
        std::string edit = Typed(mask, c.keys, &refused);
        EXPECT_EQ(edit, c.edit) << c.mask;
        EXPECT_EQ(refused, c.refused) << c.mask;
        EXPECT_EQ(ToUtf8(mask.Text(ToUtf32(edit))), c.text) << c.mask;
    }
}

TEST(MaskEngine, ValidationNamesTheFirstRequiredPositionLeftBlank)
{
    MaskEngine mask("00/99;1;_", kDots);
    EXPECT_EQ(mask.Invalid(ToUtf32("1_.__")), 1);
    EXPECT_EQ(mask.Invalid(ToUtf32("12.__")), -1); // optional digits may stay blank
    EXPECT_EQ(mask.Invalid(ToUtf32("12.3_")), -1);
    EXPECT_EQ(mask.Invalid(ToUtf32("1x.__")), 1);   // a character the position does not take
    EXPECT_FALSE(MaskEngine("").IsMasked());
}

TEST(MaskEngine, EditTextFromTextKeepsWhatFitsAndBlanksTheRest)
{
    MaskEngine saved("00:00;1;_", kDots);
    EXPECT_EQ(ToUtf8(saved.EditText(U"12-3x")), "12-3_");
    MaskEngine bare("00:00;0;_", kDots);
    EXPECT_EQ(ToUtf8(bare.EditText(U"1234567")), "12-34");
    std::u32string edit = bare.EditText(U"1234");
    bare.Blank(edit, 1, 4);
    EXPECT_EQ(ToUtf8(edit), "1_-_4");
    EXPECT_EQ(bare.NextEditable(2), 3);
    EXPECT_EQ(bare.PrevEditable(2), 1);
}
