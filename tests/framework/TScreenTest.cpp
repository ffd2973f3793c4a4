#include "ControlsTestSupport.h"

using ScreenTest = ControlsTest;

TEST_F(ScreenTest, ScreenCursorOverridesTheControlsCursorsUntilResetToDefault)
{
    TForm* form = NewForm(100, 100, 200, 200);
    auto* box = new TBox(form);
    box->SetBounds(10, 10, 50, 50);
    box->SetParent(form);
    box->SetCursor(crHandPoint);
    form->Show();
    Pump();
    Backend.MouseMove(120, 120);
    Pump();
    EXPECT_EQ(Backend.Cursor(), LoadCursor(nullptr, IDC_HAND));
    Backend.MouseMove(180, 180); // the form's own cursor: the default arrow
    Pump();
    EXPECT_EQ(Backend.Cursor(), LoadCursor(nullptr, IDC_ARROW));
    Screen->SetCursor(crHourGlass);
    EXPECT_EQ(Backend.Cursor(), LoadCursor(nullptr, IDC_WAIT));
    Backend.MouseMove(120, 120);
    Pump();
    EXPECT_EQ(Backend.Cursor(), LoadCursor(nullptr, IDC_WAIT));
    Screen->SetCursor(crDefault);
    EXPECT_EQ(Backend.Cursor(), LoadCursor(nullptr, IDC_HAND));
    // Registered cursors by number; unknown numbers give the arrow.
    const HCURSOR cross = LoadCursor(nullptr, IDC_CROSS);
    Screen->SetCursors(26000, cross);
    EXPECT_EQ(Screen->Cursors(26000), cross);
    EXPECT_EQ(Screen->Cursors(26001), LoadCursor(nullptr, IDC_ARROW));
}

TEST_F(ScreenTest, TheCursorTableOwnsItsCursors)
{
    const uint8_t planes[2] = { 0, 0 };
    HCURSOR first = CreateCursor(nullptr, 0, 0, 1, 1, planes, planes);
    HCURSOR second = CreateCursor(nullptr, 0, 0, 1, 1, planes, planes);
    Screen->SetCursors(1, first);
    Screen->SetCursors(2, first);
    Screen->SetCursors(1, second);
    // Still shown under number 2.
    TCursorImage image;
    EXPECT_TRUE(GetCursorImage(first, image));
    Screen->SetCursors(2, nullptr);
    EXPECT_FALSE(GetCursorImage(first, image));
    EXPECT_EQ(Screen->Cursors(1), second);
}

TEST_F(ScreenTest, MonitorsAndFormPositionsFollowTheScreenLayout)
{
    Backend.SetMonitors({ { RECT { 0, 0, 1024, 768 }, RECT { 0, 0, 1024, 728 }, true },
        { RECT { 1024, 0, 2048, 600 }, RECT { 1024, 0, 2048, 600 }, false } });
    ASSERT_EQ(Screen->MonitorCount(), 2);
    EXPECT_TRUE(Screen->Monitors(0)->Primary());
    EXPECT_EQ(Screen->Monitors(1)->BoundsRect(), (TRect { 1024, 0, 2048, 600 }));
    EXPECT_EQ(Screen->MonitorFromPoint(TPoint { 1500, 10 }), Screen->Monitors(1));
    EXPECT_EQ(Screen->Width(), 1024);
    EXPECT_EQ(Screen->WorkAreaRect(), (TRect { 0, 0, 1024, 728 }));
    EXPECT_EQ(Screen->DesktopRect(), (TRect { 0, 0, 2048, 768 }));
    // A centred form is centred on the primary work area when it first shows.
    TForm* form = NewForm(0, 0, 200, 100, bsSingle);
    form->SetPosition(poScreenCenter);
    form->Show();
    Pump();
    EXPECT_EQ(form->BoundsRect(), Bounds(412, 314, 200, 100));
    form->SetWindowState(wsMaximized);
    Pump();
    EXPECT_EQ(form->WindowState(), wsMaximized);
    EXPECT_TRUE(IsZoomed(form->Handle()));
}
