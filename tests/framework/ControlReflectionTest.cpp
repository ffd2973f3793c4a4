#include "ControlsTestSupport.h"
#include "platform/gdi/Gdi.h"

#include <string>
#include <vector>

namespace {

// A windowed list of three owner-drawn items that works as a list box does: it asks its parent to measure and
// draw each item, and the parent hands those requests back to it as CN_ messages, which it answers itself.
class TOwnerDrawList : public TCustomControl {
public:
    using TCustomControl::TCustomControl;

    std::vector<std::string> Log;

    void MeasureAndDraw()
    {
        HDC dc = GetDC(Handle());
        int top = 0;
        for (UINT item = 0; item < 3; ++item) {
            MEASUREITEMSTRUCT measure { ODT_LISTBOX, 0, item, 0, 13, item };
            SendMeasureItem(Handle(), measure);
            DRAWITEMSTRUCT draw { ODT_LISTBOX, 0, item, ODA_DRAWENTIRE, 0, nullptr, dc,
                RECT { 0, top, Width(), top + int(measure.itemHeight) }, item };
            SendDrawItem(Handle(), draw);
            top += int(measure.itemHeight);
        }
        ReleaseDC(Handle(), dc);
    }

protected:
    void WndProc(TMessage& message) override
    {
        if (message.Msg == CN_MEASUREITEM) {
            auto* measure = reinterpret_cast<MEASUREITEMSTRUCT*>(message.LParam);
            measure->itemHeight = 10 + 5 * measure->itemID;
            Log.push_back("measure " + std::to_string(measure->itemID));
            message.Result = TRUE;
            return;
        }
        if (message.Msg == CN_DRAWITEM) {
            const auto* draw = reinterpret_cast<const DRAWITEMSTRUCT*>(message.LParam);
            Log.push_back("draw " + std::to_string(draw->itemID) + " at " + std::to_string(draw->rcItem.top));
            HBRUSH brush = CreateSolidBrush(draw->itemID == 1 ? RGB(255, 0, 0) : RGB(0, 0, 255));
            FillRect(draw->hDC, &draw->rcItem, brush);
            DeleteObject(brush);
            message.Result = TRUE;
            return;
        }
        TCustomControl::WndProc(message);
    }
};

class ControlReflection : public ControlsTest {
protected:
    void SetUp() override
    {
        ControlsTest::SetUp();
        Form = NewForm(0, 0, 300, 200);
        Form->Show();
        Pump();
    }

    TForm* Form = nullptr;
};

TEST_F(ControlReflection, AnOwnerDrawnListGetsItsMeasureAndDrawMessagesBackFromTheParent)
{
    auto* list = new TOwnerDrawList(Form);
    list->SetBounds(10, 10, 100, 100);
    list->SetParent(Form);
    Pump();
    list->MeasureAndDraw();
    EXPECT_EQ(list->Log, (std::vector<std::string> { "measure 0", "draw 0 at 0", "measure 1", "draw 1 at 10",
                             "measure 2", "draw 2 at 25" }));
    // What the control drew reached its window: row 1 (10 to 25) red, row 2 from 25 on blue.
    EXPECT_EQ(Backend.WindowPixel(Form->Handle(), 10 + 50, 10 + 12), 0xFF0000u);
    EXPECT_EQ(Backend.WindowPixel(Form->Handle(), 10 + 50, 10 + 30), 0x0000FFu);
}

TEST_F(ControlReflection, ControlsColourThemselvesWithTheirColourAndFontColour)
{
    auto* control = new TOwnerDrawList(Form);
    control->SetBounds(10, 10, 50, 20);
    control->SetColor(clYellow);
    control->Font()->SetColor(clNavy);
    control->SetParent(Form);
    HDC dc = GetDC(control->Handle());
    const LRESULT brush = SendMessage(Form->Handle(), WM_CTLCOLOREDIT, reinterpret_cast<WPARAM>(dc),
        reinterpret_cast<LPARAM>(control->Handle()));
    EXPECT_EQ(brush, reinterpret_cast<LRESULT>(control->Brush()->Handle()));
    EXPECT_EQ(GetTextColor(dc), COLORREF(ColorToRGB(clNavy)));
    EXPECT_EQ(GetBkColor(dc), COLORREF(ColorToRGB(clYellow)));
    // A message that names no control of the framework gets the system's answer.
    EXPECT_EQ(SendMessage(Form->Handle(), WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(dc), 0), 0);
    ReleaseDC(control->Handle(), dc);
}

} // namespace
