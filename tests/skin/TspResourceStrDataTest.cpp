#include "skin/core/TspResourceStrData.h"

#include <gtest/gtest.h>

namespace {

TEST(TspResourceStrData, NewTableHoldsTheEnglishDefaults)
{
    TspResourceStrData table(nullptr);
    EXPECT_EQ(table.ResStrings()->Count(), 120);
    EXPECT_EQ(table.ResStrings()->Strings(0), "MI_MINCAPTION=Mi&nimize");
    EXPECT_EQ(table.ResStrings()->Strings(119), "CUSTOMCOLOR=Custom...");
    EXPECT_EQ(table.CharSet(), 1);
    struct Case {
        const char* Name;
        const char* Text;
    };
    const Case kCases[] = {
        { "MI_ROLLUPCAPTION", "Ro&llUp" },
        { "FLV_LOOKIN", "Look in: " },
        { "mi_mincaption", "Mi&nimize" },
        { "MSG_OVERWRITE", "Are you want to overwrite old file?" },
        { "FIND_REPLACE_All", "Replace All" },
        { "PRNDLG_PROPERTIES", "Properties..." },
        { "NO_SUCH_NAME", "" },
        { "", "" },
    };
    for (const Case& c : kCases) {
        SCOPED_TRACE(c.Name);
        EXPECT_EQ(table.GetResStr(c.Name), c.Text);
    }
}

TEST(TspResourceStrData, ReplacedTableAnswersFromItsOwnCopy)
{
    TspResourceStrData table(nullptr);
    TStringList lines;
    lines.Add("MSG_BTN_OK=Okay=Yes");
    lines.Add("NOEQUALSIGN");
    lines.Add("=nameless");
    table.SetResStrings(&lines);
    lines.Clear();
    EXPECT_EQ(table.ResStrings()->Count(), 3);
    EXPECT_EQ(table.GetResStr("MSG_BTN_OK"), "Okay=Yes");
    EXPECT_EQ(table.GetResStr("MSG_BTN_CANCEL"), "");
    EXPECT_EQ(table.GetResStr("NOEQUALSIGN"), "");
    EXPECT_EQ(table.GetResStr(""), "");
}

} // namespace
