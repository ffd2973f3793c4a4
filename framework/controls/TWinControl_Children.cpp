// TWinControl: its children, their alignment and anchors, and the tab order.
#include "framework/controls/TCustomForm.h"
#include "framework/controls/TWinControl.h"
#include "framework/core/Numbers.h"
#include "framework/core/SysUtils.h"
#include "framework/core/TList.h"
#include "framework/graphics/Graphics.h"
#include "framework/graphics/TCanvas.h"
#include "platform/win/Windows.h"

#include <algorithm>

void TWinControl::SetParent(TWinControl* value)
{
    if (value == Parent())
        return;
    for (TWinControl* p = value; p; p = p->Parent())
        if (p == this)
            throw EInvalidOperation("A control cannot be its own parent or ancestor");
    // A child window moving between two parents that have windows keeps its window (and the windows of
    // its children, and whatever hooks them); anything else makes the window anew when it is next needed.
    const bool move = FHandle && Parent() && value && value->FHandle && !FParentWindow;
    if (FHandle && !move)
        DestroyHandle();
    if (move)
        ::SetParent(FHandle, value->FHandle);
    FReparenting = move;
    try {
        inherited::SetParent(value);
    } catch (...) {
        FReparenting = false;
        throw;
    }
    FReparenting = false;
    if (move && FHandle)
        SetWindowPos(FHandle, nullptr, FLeft, FTop, FWidth, FHeight, SWP_NOZORDER | SWP_NOACTIVATE);
}

TControl* TWinControl::Controls(int index) const
{
    if (index < 0 || index >= ControlCount())
        throw EListError(Format("List index out of bounds (%d)", index));
    return FControls[size_t(index)];
}

bool TWinControl::ContainsControl(const TControl* control) const
{
    for (; control; control = control->Parent())
        if (control == this)
            return true;
    return false;
}

TControl* TWinControl::ControlAtPos(const TPoint& pos, bool allowDisabled, bool allowWinControls) const
{
    auto hits = [&](TControl* c) {
        const TPoint p { pos.X - c->Left(), pos.Y - c->Top() };
        const TRect r = c->TControl::ClientRect();
        if (p.X < r.Left || p.X >= r.Right || p.Y < r.Top || p.Y >= r.Bottom)
            return false;
        if (!c->Visible() || !(c->Enabled() || allowDisabled))
            return false;
        return c->Perform(CM_HITTEST, 0, MAKELPARAM(WORD(int16_t(p.X)), WORD(int16_t(p.Y)))) != 0;
    };
    // Windowed children lie above the windowless ones, which the parent paints on its own surface.
    if (allowWinControls)
        for (auto it = FControls.rbegin(); it != FControls.rend(); ++it)
            if (dynamic_cast<TWinControl*>(*it) && hits(*it))
                return *it;
    for (auto it = FControls.rbegin(); it != FControls.rend(); ++it)
        if (!dynamic_cast<TWinControl*>(*it) && hits(*it))
            return *it;
    return nullptr;
}

TControl* TWinControl::FindChildControl(std::string_view name) const
{
    for (TControl* c : FControls)
        if (SameText(c->Name(), name))
            return c;
    return nullptr;
}

void TWinControl::InsertControl(TControl* control)
{
    FControls.push_back(control);
    if (auto* w = dynamic_cast<TWinControl*>(control))
        FTabList.push_back(w);
    control->FParent = this;
    if (!control->ComponentState().Contains(csReading)) {
        control->Perform(CM_PARENTCOLORCHANGED, 0, 0);
        control->Perform(CM_PARENTFONTCHANGED, 0, 0);
        control->Perform(CM_PARENTSHOWHINTCHANGED, 0, 0);
        if (auto* w = dynamic_cast<TWinControl*>(control)) {
            w->Perform(CM_PARENTCTL3DCHANGED, 0, 0);
            w->UpdateControlState();
        } else if (FHandle) {
            control->Invalidate();
        }
        control->UpdateAnchorRules();
        AlignControl(control);
    }
    Perform(CM_CONTROLCHANGE, reinterpret_cast<uintptr_t>(control), 1);
}

void TWinControl::RemoveControl(TControl* control)
{
    Perform(CM_CONTROLCHANGE, reinterpret_cast<uintptr_t>(control), 0);
    if (auto* w = dynamic_cast<TWinControl*>(control)) {
        if (TCustomForm* form = GetParentForm(this))
            form->DefocusControl(w, true);
        if (!w->FReparenting)
            w->DestroyHandle();
        std::erase(FTabList, w);
    } else if (FHandle) {
        control->InvalidateControl(control->Visible(), false);
    }
    std::erase(FControls, control);
    control->FParent = nullptr;
    Realign();
}

void TWinControl::Broadcast(TMessage& message)
{
    for (TControl* child : std::vector<TControl*>(FControls)) {
        if (std::find(FControls.begin(), FControls.end(), child) == FControls.end())
            continue;
        child->WindowProc(message);
        if (message.Result != 0)
            return;
    }
}

void TWinControl::NotifyControls(uint32_t msg)
{
    TMessage message { msg, 0, reinterpret_cast<intptr_t>(this), 0 };
    Broadcast(message);
}

void TWinControl::ScrollBy(int deltaX, int deltaY)
{
    DisableAlign();
    for (TControl* child : std::vector<TControl*>(FControls))
        child->SetBounds(child->Left() + deltaX, child->Top() + deltaY, child->Width(), child->Height());
    EnableAlign();
    Invalidate();
}

// --- Alignment -----------------------------------------------------------------------------------------

void TWinControl::DisableAlign()
{
    ++FAlignLevel;
}

void TWinControl::EnableAlign()
{
    if (FAlignLevel == 0)
        return;
    --FAlignLevel;
    if (FAlignLevel == 0 && FControlState.Contains(csAlignmentNeeded)) {
        if (Parent())
            Parent()->Realign();
        Realign();
    }
}

void TWinControl::Realign()
{
    AlignControl(nullptr);
}

void TWinControl::AlignControl(TControl* control)
{
    if (ComponentState().Contains(csDestroying))
        return;
    if (FAlignLevel != 0) {
        FControlState.Include(csAlignmentNeeded);
        return;
    }
    DisableAlign();
    try {
        TRect rect = ClientRect();
        AlignControls(control, rect);
    } catch (...) {
        FControlState.Exclude(csAlignmentNeeded);
        --FAlignLevel;
        throw;
    }
    FControlState.Exclude(csAlignmentNeeded);
    --FAlignLevel;
}

void TWinControl::AdjustClientRect(TRect&)
{
}

namespace {

// Whether `a` goes before `b` among the controls of one alignment (`moved` wins a tie).
bool InsertBefore(const TControl* a, const TControl* b, TAlign align)
{
    switch (align) {
    case alTop:
        return a->Top() < b->Top();
    case alBottom:
        return a->Top() + a->Height() >= b->Top() + b->Height();
    case alLeft:
        return a->Left() < b->Left();
    case alRight:
        return a->Left() + a->Width() >= b->Left() + b->Width();
    default:
        return false;
    }
}

} // namespace

void TWinControl::AlignControls(TControl* control, TRect& rect)
{
    AdjustClientRect(rect);
    for (TAlign align : { alTop, alBottom, alLeft, alRight, alClient, alNone })
        DoAlign(align, control, rect);
}

void TWinControl::DoAlign(TAlign align, TControl* control, TRect& rect)
{
    std::vector<TControl*> list;
    auto takesPart = [&](TControl* c) {
        if (!c->Visible() && !c->ComponentState().Contains(csDesigning))
            return false;
        if (align == alNone)
            return c->Align() == alNone && c->Anchors() != TAnchors { akLeft, akTop };
        return c->Align() == align;
    };
    if (control && takesPart(control))
        list.push_back(control);
    for (TControl* c : FControls) {
        if (c == control || !takesPart(c))
            continue;
        auto it = list.begin();
        while (it != list.end() && !InsertBefore(c, *it, align))
            ++it;
        list.insert(it, c);
    }
    for (TControl* c : list) {
        if (align == alNone) {
            // Anchored controls keep their distances to the anchored sides of the parent.
            const TRect client = ClientRect();
            const TPoint parentSize { client.Right, client.Bottom };
            const TPoint original = c->FOriginalParentSize;
            if (original.X == 0 && original.Y == 0) {
                // The rules were made before the parent had a size: they start from here.
                c->UpdateAnchorRules();
                continue;
            }
            int left = c->Left();
            int top = c->Top();
            int width = c->Width();
            int height = c->Height();
            const TAnchors anchors = c->Anchors();
            if (anchors.Contains(akRight)) {
                if (anchors.Contains(akLeft))
                    width = parentSize.X - (original.X - c->FAnchorRules.X);
                else
                    left = c->FAnchorRules.X + (parentSize.X - original.X);
            } else if (!anchors.Contains(akLeft) && original.X != 0) {
                left = MulDiv(c->FAnchorRules.X, parentSize.X, original.X) - width / 2;
            }
            if (anchors.Contains(akBottom)) {
                if (anchors.Contains(akTop))
                    height = parentSize.Y - (original.Y - c->FAnchorRules.Y);
                else
                    top = c->FAnchorRules.Y + (parentSize.Y - original.Y);
            } else if (!anchors.Contains(akTop) && original.Y != 0) {
                top = MulDiv(c->FAnchorRules.Y, parentSize.Y, original.Y) - height / 2;
            }
            c->FAnchorMove = true;
            try {
                c->SetBounds(left, top, width, height);
            } catch (...) {
                c->FAnchorMove = false;
                throw;
            }
            c->FAnchorMove = false;
            continue;
        }
        const int rectWidth = std::max(0, rect.Right - rect.Left);
        const int rectHeight = std::max(0, rect.Bottom - rect.Top);
        int left = rect.Left;
        int top = rect.Top;
        int width = c->Width();
        int height = c->Height();
        switch (align) {
        case alTop:
            width = rectWidth;
            break;
        case alBottom:
            width = rectWidth;
            top = rect.Bottom - height;
            break;
        case alLeft:
            height = rectHeight;
            break;
        case alRight:
            height = rectHeight;
            left = rect.Right - width;
            break;
        case alClient:
            width = rectWidth;
            height = rectHeight;
            break;
        default:
            break;
        }
        c->SetBounds(left, top, width, height);
        // The control may refuse a size (constraints): the rest of the area follows what it took.
        switch (align) {
        case alTop:
            rect.Top += c->Height();
            break;
        case alBottom:
            rect.Bottom -= c->Height();
            break;
        case alLeft:
            rect.Left += c->Width();
            break;
        case alRight:
            rect.Right -= c->Width();
            break;
        default:
            break;
        }
    }
}

// --- Tab order -----------------------------------------------------------------------------------------

int TWinControl::TabOrder() const
{
    if (!Parent())
        return -1;
    const auto& list = Parent()->FTabList;
    auto it = std::find(list.begin(), list.end(), this);
    return it == list.end() ? -1 : static_cast<int>(it - list.begin());
}

void TWinControl::SetTabOrder(int value)
{
    if (!Parent())
        return;
    auto& list = Parent()->FTabList;
    const int current = TabOrder();
    if (current < 0)
        return;
    const int count = static_cast<int>(list.size());
    if (value < 0 || value >= count)
        value = count - 1;
    if (value == current)
        return;
    list.erase(list.begin() + current);
    list.insert(list.begin() + value, this);
}

void TWinControl::SetTabStop(bool value)
{
    if (value == FTabStop)
        return;
    FTabStop = value;
    if (FHandle) {
        const LONG style = GetWindowLong(FHandle, GWL_STYLE);
        SetWindowLong(FHandle, GWL_STYLE, value ? (style | WS_TABSTOP) : (style & ~LONG(WS_TABSTOP)));
    }
    Perform(CM_TABSTOPCHANGED, 0, 0);
}

void TWinControl::GetTabOrderList(std::vector<TWinControl*>& list)
{
    for (TWinControl* child : FTabList) {
        if (child->CanFocus() || child->FControlStyle.Contains(csAcceptsControls))
            list.push_back(child);
        child->GetTabOrderList(list);
    }
}

TWinControl* TWinControl::FindNextControl(TWinControl* current, bool goForward, bool checkTabStop, bool checkParent)
{
    std::vector<TWinControl*> list;
    GetTabOrderList(list);
    if (list.empty())
        return nullptr;
    const int count = static_cast<int>(list.size());
    int start = -1;
    if (auto it = std::find(list.begin(), list.end(), current); it != list.end())
        start = static_cast<int>(it - list.begin());
    if (start < 0)
        start = goForward ? count - 1 : 0;
    int i = start;
    for (int n = 0; n < count; ++n) {
        i = goForward ? (i + 1) % count : (i + count - 1) % count;
        TWinControl* candidate = list[size_t(i)];
        if (candidate->CanFocus() && (!checkTabStop || candidate->TabStop())
            && (!checkParent || candidate->Parent() == this))
            return candidate;
    }
    return nullptr;
}

void TWinControl::SelectNext(TWinControl* current, bool goForward, bool checkTabStop)
{
    if (TWinControl* next = FindNextControl(current, goForward, checkTabStop, !checkTabStop))
        next->SetFocus();
}

void TWinControl::SelectFirst()
{
    TCustomForm* form = GetParentForm(this);
    if (!form)
        return;
    TWinControl* control = form->FindNextControl(nullptr, true, true, false);
    if (!control)
        control = form->FindNextControl(nullptr, true, false, false);
    if (control)
        control->SetFocus();
}
