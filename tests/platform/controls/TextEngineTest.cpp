#include "platform/controls/TextEngine.h"

#include <gtest/gtest.h>

TEST(TextEngine, LineBreaksCountAsTwoCharactersAndComeBackAsCrLf)
{
    TextEngine text;
    text.SetText("ab\ncd\r\n\rüx");
    EXPECT_EQ(text.LineCount(), 4);
    EXPECT_EQ(text.Text(), "ab\r\ncd\r\n\r\nüx");
    EXPECT_EQ(text.Length(), 2 + 2 + 2 + 2 + 2 + 2);
    EXPECT_EQ(text.LineIndex(1), 4);
    EXPECT_EQ(text.LineIndex(3), 10);
    EXPECT_EQ(text.LineLength(3), 2);
    EXPECT_EQ(text.LineFromChar(3), 0); // between CR and LF
    EXPECT_EQ(text.LineFromChar(4), 1);
    EXPECT_EQ(text.LineFromChar(99), 3);
    EXPECT_EQ(text.TextRange(1, 11), "b\r\ncd\r\n\r\nü");
}

TEST(TextEngine, SingleLineKeepsTheFirstLineAndTextStopsAtNul)
{
    TextEngine single(false);
    single.SetText("one\r\ntwo");
    EXPECT_EQ(single.Text(), "one");
    single.SetSel(3, 3);
    single.ReplaceSel(std::string_view("x\0y", 3));
    EXPECT_EQ(single.Text(), "onex");
}

TEST(TextEngine, SelectionNeverSplitsACharacterOrALineBreak)
{
    TextEngine text;
    text.SetText("aé\r\nb");
    text.SetSel(0, 3); // inside the line break: snapped to the line end
    EXPECT_EQ(text.Caret(), 2);
    EXPECT_EQ(text.SelText(), "aé");
    EXPECT_EQ(text.NextChar(2), 4); // the break is one step
    EXPECT_EQ(text.PrevChar(4), 2);
    text.SetSel(-1, 99);
    EXPECT_EQ(text.SelStart(), 5);
    EXPECT_EQ(text.SelEnd(), 5);
}

TEST(TextEngine, InvalidUtf8BecomesReplacementCharacters)
{
    TextEngine text;
    text.SetText("a\xC3\x28\xF0\x9F\x98\x80\xED\xA0\x80z\xE2");
    // A bad lead, a good 4-byte character, a surrogate (3 bad bytes), z, a cut-off sequence.
    EXPECT_EQ(text.Text(), "a\xEF\xBF\xBD(\xF0\x9F\x98\x80\xEF\xBF\xBD\xEF\xBF\xBD\xEF\xBF\xBDz\xEF\xBF\xBD");
    EXPECT_EQ(text.Length(), 9);
}

TEST(TextEngine, LimitCutsInsertedTextAtCharacterAndBreakBoundaries)
{
    struct Case {
        const char* before;
        long long limit;
        const char* inserted;
        const char* after;
        bool whole;
    };
    const Case cases[] = {
        {"", 5, "abc", "abc", true},
        {"ab", 4, "cdef", "abcd", false},
        {"ab", 3, "\r\nc", "ab", false},     // the break does not fit whole
        {"ab", 4, "\r\nc", "ab\r\n", false},
        {"a", 3, "ééé", "aéé", false},
        {"abcd", 4, "x", "abcd", false},
    };
    for (const Case& c : cases) {
        TextEngine text;
        text.SetText(c.before);
        text.SetLimit(c.limit);
        text.SetSel(text.Length(), text.Length());
        EXPECT_EQ(text.ReplaceSel(c.inserted), c.whole) << c.before << " + " << c.inserted;
        EXPECT_EQ(text.Text(), c.after) << c.before << " + " << c.inserted;
        EXPECT_EQ(text.Caret(), text.Length());
    }
}

TEST(TextEngine, ReplacingAcrossLinesJoinsAndSplitsThem)
{
    TextEngine text;
    text.SetText("one\r\ntwo\r\nthree");
    text.SetSel(2, 12); // "e\r\ntwo\r\nth"
    text.ReplaceSel("X\r\nY");
    EXPECT_EQ(text.Text(), "onX\r\nYree");
    EXPECT_EQ(text.LineCount(), 2);
    EXPECT_EQ(text.LineIndex(1), 5);
    EXPECT_EQ(text.Length(), 9);
    text.SetSel(0, text.Length());
    text.ReplaceSel("");
    EXPECT_EQ(text.LineCount(), 1);
    EXPECT_EQ(text.Length(), 0);
}

TEST(TextEngine, TypingIsOneUndoStepAndUndoingTwiceRedoes)
{
    TextEngine text;
    text.SetText("ab");
    text.SetSel(2, 2);
    for (const char* c : {"c", "d", "\n", "e"})
        text.Type(c);
    EXPECT_EQ(text.Text(), "abcd\r\ne");
    ASSERT_TRUE(text.CanUndo());
    text.Undo();
    EXPECT_EQ(text.Text(), "ab");
    EXPECT_EQ(text.Caret(), 2);
    text.Undo();
    EXPECT_EQ(text.Text(), "abcd\r\ne");
    EXPECT_EQ(text.SelStart(), 2);
    EXPECT_EQ(text.SelEnd(), 7);

    // Typing over a selection undoes to the selected text; a replacement is its own step.
    text.SetSel(0, 2);
    text.Type("Z");
    text.Type("Y");
    text.SetSel(0, 0);
    text.ReplaceSel("pasted");
    text.Undo();
    EXPECT_EQ(text.Text(), "ZYcd\r\ne");
}

TEST(TextEngine, WordMovesStopAtWordStartsAndLineEnds)
{
    TextEngine text;
    text.SetText("one  two\r\nthree");
    EXPECT_EQ(text.NextWord(0), 5);
    EXPECT_EQ(text.NextWord(5), 8);
    EXPECT_EQ(text.NextWord(8), 10);
    EXPECT_EQ(text.PrevWord(10), 8);
    EXPECT_EQ(text.PrevWord(8), 5);
    EXPECT_EQ(text.PrevWord(6), 5);
    EXPECT_EQ(text.PrevWord(5), 0);
}

TEST(TextEngine, PositionsStayRightAfterEditsFarFromWhereTheyWereLastAsked)
{
    std::string big;
    for (int i = 0; i < 2000; ++i)
        big += "line " + std::to_string(i) + "\r\n";
    TextEngine text;
    text.SetText(big);
    EXPECT_EQ(text.LineFromChar(text.LineIndex(1500) + 3), 1500);
    text.SetSel(text.LineIndex(10), text.LineIndex(10));
    text.ReplaceSel("xx\r\n");
    EXPECT_EQ(text.LineCount(), 2002);
    EXPECT_EQ(text.LineText(1501), "line 1500");
    EXPECT_EQ(text.LineIndex(1501), static_cast<long long>(text.TextRange(0, text.Length()).find("line 1500")));
    EXPECT_EQ(text.LineFromChar(text.LineIndex(1999)), 1999);
}
