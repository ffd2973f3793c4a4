#include "platform/controls/TextEngine.h"

#include <gtest/gtest.h>
#include <random>
#include <string>
#include <tuple>

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

// Edits anywhere, most at the first and the last line, against the text kept as one plain string: breaks put in
// and taken out, lines joined across many others, pastes of many lines and undo. After every step each line must
// sit where the plain text has it, so a line kept in the wrong place or a stale running total shows at once.
TEST(TextEngine, LinesAndTheirPositionsFollowEditsAtBothEndsAndTheirUndo)
{
    std::string model;
    for (int i = 0; i < 120; ++i)
        model += "row " + std::to_string(i) + (i % 7 == 0 ? "" : " with words") + "\r\n";
    model += "last";
    TextEngine text;
    text.SetText(model);
    std::string undone = model; // what an undo gives back
    std::string manyLines;
    for (int i = 0; i < 150; ++i)
        manyLines += "pasted " + std::to_string(i) + "\r\n";
    const std::string inserts[] = {"", "x", "\r\n", "ab\r\ncd", "\r\n\r\n", "tail\r\n", manyLines};
    std::mt19937 random(7);
    // A position of the plain text, never between CR and LF; a third each at the start, in the last line and
    // anywhere.
    auto snap = [&](size_t at) {
        at = std::min(at, model.size());
        if (at > 0 && at < model.size() && model[at - 1] == '\r' && model[at] == '\n')
            --at;
        return static_cast<long long>(at);
    };
    auto position = [&] {
        size_t lastLine = model.rfind('\n') == std::string::npos ? 0 : model.rfind('\n') + 1;
        switch (random() % 3) {
        case 0: return snap(random() % 12);
        case 1: return snap(lastLine + random() % (model.size() - lastLine + 1));
        default: return snap(random() % (model.size() + 1));
        }
    };
    for (int step = 0; step < 600; ++step) {
        // Now and then the text is set again, and the next edit is somewhere in the middle.
        bool reset = step % 75 == 0;
        if (reset)
            text.SetText(model);
        if (!reset && random() % 8 == 0 && text.CanUndo()) {
            ASSERT_TRUE(text.Undo());
            std::swap(model, undone);
        } else {
            long long a = reset ? snap(model.size() / 2) : position();
            // Mostly a short stretch (a pure insert a third of the time), now and then up to anywhere.
            long long b = random() % 10 == 0 ? position() : snap(a + (random() % 3 == 0 ? 0 : random() % 30));
            size_t k = random() % std::size(inserts);
            // The big paste rarely, so the text stays small enough to check whole.
            const std::string& what = inserts[k == 6 && random() % 4 ? 2 : k];
            std::tie(a, b) = std::minmax(a, b);
            text.SetSel(a, b);
            text.ReplaceSel(what);
            // Putting nothing in place of nothing changes nothing, the undo step included.
            if (a != b || !what.empty()) {
                undone = model;
                model.replace(a, b - a, what);
            }
        }
        ASSERT_EQ(text.Text(), model) << "step " << step;
        ASSERT_EQ(text.Length(), static_cast<long long>(model.size()));
        size_t start = 0;
        for (int line = 0;; ++line) {
            size_t end = model.find("\r\n", start);
            std::string_view expected = std::string_view(model).substr(start, end == std::string::npos ? end : end - start);
            ASSERT_LT(line, text.LineCount()) << "step " << step;
            ASSERT_EQ(text.LineText(line), expected) << "step " << step << " line " << line;
            ASSERT_EQ(text.LineIndex(line), static_cast<long long>(start)) << "step " << step << " line " << line;
            ASSERT_EQ(text.LineFromChar(static_cast<long long>(start + expected.size())), line);
            if (end == std::string::npos) {
                ASSERT_EQ(text.LineCount(), line + 1);
                break;
            }
            start = end + 2;
        }
    }
}
