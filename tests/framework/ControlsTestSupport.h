// The fixture of the controls tests: the headless display with a still virtual clock, the application
// objects, and small controls that record what reaches them.
#pragma once
#include "framework/controls/Forms.h"
#include "framework/controls/TCustomControl.h"
#include "framework/controls/TGraphicControl.h"
#include "framework/graphics/Graphics.h"
#include "platform/backend/headless/THeadlessBackend.h"
#include "platform/win/Windows.h"

#include <gtest/gtest.h>
#include <string>
#include <vector>

class ControlsTest : public testing::Test {
protected:
    void SetUp() override
    {
        Backend.UseManualClock(1000);
        ASSERT_TRUE(Backend.Install());
        InitializeForms();
        // Nothing may show a real box in a test: boxes are recorded and answered "cancel".
        TApplication::SetMessageBoxProc([this](HWND, const std::string& text, const std::string&, int) {
            Boxes.push_back(text);
            return IDCANCEL;
        });
        Backend.MouseMove(1000, 760);
    }

    void TearDown() override
    {
        TApplication::SetMessageBoxProc(nullptr);
        FinalizeForms();
        Backend.Uninstall();
    }

    void Pump() { Application->ProcessMessages(); }

    // A shown form at (x, y) with the given client size.
    TForm* NewForm(int x, int y, int width, int height, TFormBorderStyle border = bsNone)
    {
        auto* form = TCustomForm::Create<TForm>(Application);
        form->SetBorderStyle(border);
        form->SetBounds(x, y, width, height);
        return form;
    }

    // A click well apart in time from the last one, so it is never a double click.
    void Click(int x, int y)
    {
        Backend.AdvanceClock(1000);
        Backend.Click(x, y);
        Pump();
    }

    THeadlessBackend Backend;
    std::vector<std::string> Boxes;
};

// What a recording control saw, as text: "Name:Event", in order.
using TTrace = std::vector<std::string>;

// Records the framework's messages and mouse events of a control class into a shared trace.
template <class Base> class TRecorder : public Base {
public:
    TRecorder(TComponent* owner, TTrace* trace, const char* name)
        : Base(owner)
        , FTrace(trace)
    {
        this->SetName(name);
    }

    void WndProc(TMessage& message) override
    {
        switch (message.Msg) {
        case CM_MOUSEENTER:
            Add("Enter");
            break;
        case CM_MOUSELEAVE:
            Add("Leave");
            break;
        case CM_CANCELMODE: {
            TControl* sender = MessageSender(message);
            Add("CancelMode(" + (sender ? sender->Name() : std::string("null")) + ")");
            break;
        }
        case CM_ENTER:
            Add("CMEnter");
            break;
        case CM_EXIT:
            Add("CMExit");
            break;
        case CM_FOCUSCHANGED: {
            TControl* focus = MessageSender(message);
            Add("FocusChanged(" + (focus ? focus->Name() : std::string("null")) + ")");
            break;
        }
        }
        Base::WndProc(message);
    }

    TTrace* FTrace;

protected:
    void Add(const std::string& event)
    {
        if (FTrace)
            FTrace->push_back(this->Name() + ":" + event);
    }
    void MouseDown(TMouseButton button, TShiftState shift, int x, int y) override
    {
        Add("Down(" + std::to_string(x) + "," + std::to_string(y) + ")");
        Base::MouseDown(button, shift, x, y);
    }
    void MouseUp(TMouseButton button, TShiftState shift, int x, int y) override
    {
        Add("Up(" + std::to_string(x) + "," + std::to_string(y) + ")");
        Base::MouseUp(button, shift, x, y);
    }

public:
    void Click() override
    {
        Add("Click");
        Base::Click();
    }
};

// A windowed container (panels come as TPanel; this one has no painting of its own).
class TBox : public TCustomControl {
    using inherited = TCustomControl;

public:
    explicit TBox(TComponent* owner)
        : TCustomControl(owner)
    {
        FControlStyle.Include(csAcceptsControls);
        SetTabStop(true);
    }
};

class TSpot : public TGraphicControl {
    using inherited = TGraphicControl;

public:
    using TGraphicControl::TGraphicControl;
};

using TRecordingBox = TRecorder<TBox>;
using TRecordingSpot = TRecorder<TSpot>;
