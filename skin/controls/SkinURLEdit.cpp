#include "skin/controls/SkinURLEdit.h"

#include "framework/controls/Messages.h"
#include "framework/controls/TCustomForm.h"
#include "framework/graphics/TBitmap.h"
#include "framework/graphics/TCanvas.h"
#include "platform/shell/ShellExecute.h"
#include "platform/win/Windows.h"

TspSkinURLEdit::TspSkinURLEdit(TComponent* owner)
    : TspSkinEdit(owner)
{
}

void TspSkinURLEdit::MeasureText()
{
    TBitmap measure;
    measure.SetSize(1, 1);
    measure.Canvas()->Font()->Assign(Font());
    FTextWidth = measure.Canvas()->TextWidth(Text());
}

void TspSkinURLEdit::SetHot(bool value)
{
    if (FHot == value)
        return;
    FHot = value;
    TFontStyles style = Font()->Style();
    if (value)
        style += TFontStyles { fsUnderline };
    else
        style -= TFontStyles { fsUnderline };
    Font()->SetStyle(style);
    SetCursor(value ? crHandPoint : crDefault);
    Invalidate();
}

void TspSkinURLEdit::MouseMove(TShiftState shift, int x, int y)
{
    inherited::MouseMove(shift, x, y);
    if (!FExecute)
        return;
    // While the left button is held (selecting text) the link stays off.
    if (InText(x)) {
        if (!FHot && !FLeftDown)
            SetHot(true);
    } else if (FHot) {
        SetHot(false);
    }
}

void TspSkinURLEdit::MouseDown(TMouseButton button, TShiftState shift, int x, int y)
{
    inherited::MouseDown(button, shift, x, y);
    if (button == mbLeft)
        FLeftDown = true;
    if (!FExecute || !FHot)
        return;
    std::string target = Text();
    if (FLinkType == spltMail) {
        if (target.find('@') == std::string::npos)
            return;
        target = "mailto:" + target;
    }
    TCustomForm* form = GetParentForm(this);
    ShellExecute(form && form->HandleAllocated() ? form->Handle() : nullptr, "open", target.c_str(), nullptr,
        nullptr, SW_SHOWNORMAL);
}

void TspSkinURLEdit::MouseUp(TMouseButton button, TShiftState shift, int x, int y)
{
    inherited::MouseUp(button, shift, x, y);
    FLeftDown = false;
}

void TspSkinURLEdit::WndProc(TMessage& message)
{
    switch (message.Msg) {
    case CM_MOUSEENTER:
        inherited::WndProc(message);
        if (FExecute)
            MeasureText();
        return;
    case CM_MOUSELEAVE:
        inherited::WndProc(message);
        SetHot(false);
        return;
    default:
        inherited::WndProc(message);
    }
}
