#include "platform/controls/UpDownControl.h"

#include "platform/controls/ControlClass.h"
#include "platform/gdi/Gdi.h"
#include "platform/win/Rects.h"
#include "platform/win/ScrollBars.h"
#include "platform/win/VirtualKeys.h"
#include "platform/win/WinStyles.h"
#include "platform/win/WinSystem.h"
#include "platform/win/WindowProps.h"
#include "platform/win/Windows.h"

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

namespace {

constexpr UINT_PTR kRepeatTimer = 1;
// The props an up-down leaves on a buddy whose arrow keys it takes: its own window and the procedure before it.
constexpr const char* kBuddyOwnerProp = "UpDownOwner";
constexpr const char* kBuddyProcProp = "UpDownPrevProc";

enum TArrow { arNone, arIncrement, arDecrement };

// "1,234,567" (or plain digits without thousands), "0x04D2" in base 16.
std::string FormatPosition(int pos, int base, bool thousands)
{
    char text[32];
    if (base == 16) {
        std::snprintf(text, sizeof text, "0x%04X", static_cast<unsigned>(pos));
        return text;
    }
    std::snprintf(text, sizeof text, "%d", pos);
    std::string digits = text;
    if (!thousands)
        return digits;
    size_t first = digits[0] == '-' ? 1 : 0;
    for (size_t at = digits.size(); at > first + 3;) {
        at -= 3;
        digits.insert(at, 1, ',');
    }
    return digits;
}

// The buddy's text as a position; false when it holds no number of the base.
bool ParsePosition(std::string text, int base, int* pos)
{
    text.erase(std::remove(text.begin(), text.end(), ','), text.end());
    text.erase(std::remove(text.begin(), text.end(), ' '), text.end());
    if (text.empty())
        return false;
    const char* start = text.c_str();
    if (base == 16 && text.size() > 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X'))
        start += 2;
    char* end = nullptr;
    long long value = std::strtoll(start, &end, base);
    if (*end != '\0' || end == start || value < INT32_MIN || value > INT32_MAX)
        return false;
    *pos = static_cast<int>(value);
    return true;
}

LRESULT BuddyProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);

// One up-down's state, kept in the window's extra bytes from WM_NCCREATE to WM_NCDESTROY.
class UpDown {
public:
    UpDown(HWND hwnd, const CREATESTRUCT&)
        : hwnd_(hwnd)
    {
    }
    LRESULT Handle(UINT message, WPARAM wParam, LPARAM lParam);
    // An arrow key pressed in the buddy or the up-down: one step.
    void OnArrowKey(WPARAM key);

private:
    DWORD Style() const { return static_cast<DWORD>(GetWindowLongPtr(hwnd_, GWL_STYLE)); }
    bool Horizontal() const { return (Style() & UDS_HORZ) != 0; }
    bool InRange(int pos) const { return min_ <= max_ ? pos >= min_ && pos <= max_ : pos >= max_ && pos <= min_; }
    TArrow ArrowAt(POINT p) const;
    RECT ArrowRect(TArrow arrow) const;
    // The step of the accelerator in force after `heldMs` of holding.
    int StepAfter(uint32_t heldMs) const;
    // Asks the parent, moves the position by `step` towards the arrow's end, updates the buddy, then tells the
    // parent where it is.
    void Step(TArrow arrow, int step);
    bool Offset(int delta);
    void SetPosition(int pos);
    void UpdateBuddy();
    bool ReadBuddy(); // takes the buddy's number when it is one in range
    HWND SetBuddy(HWND buddy);
    void ReleaseBuddy();
    void EndPress();
    void Paint(HDC dc);

    HWND hwnd_;
    int min_ = 100; // a new up-down counts down from 100 to 0 until it is given a range
    int max_ = 0;
    int pos_ = 0;
    int base_ = 10;
    HWND buddy_ = nullptr;
    std::vector<UDACCEL> accel_ { { 0, 1 }, { 2, 5 }, { 5, 20 } };
    TArrow held_ = arNone;
    bool pressedLook_ = false;
    uint32_t pressedAt_ = 0;
};

TArrow UpDown::ArrowAt(POINT p) const
{
    RECT client;
    GetClientRect(hwnd_, &client);
    if (!PtInRect(&client, p))
        return arNone;
    if (Horizontal())
        return p.x >= (client.left + client.right) / 2 ? arIncrement : arDecrement;
    return p.y < (client.top + client.bottom) / 2 ? arIncrement : arDecrement;
}

RECT UpDown::ArrowRect(TArrow arrow) const
{
    RECT r;
    GetClientRect(hwnd_, &r);
    if (Horizontal()) {
        int middle = (r.left + r.right) / 2;
        (arrow == arIncrement ? r.left : r.right) = middle;
    } else {
        int middle = (r.top + r.bottom) / 2;
        (arrow == arIncrement ? r.bottom : r.top) = middle;
    }
    return r;
}

int UpDown::StepAfter(uint32_t heldMs) const
{
    int step = 1;
    for (const UDACCEL& a : accel_)
        if (uint64_t(a.nSec) * 1000 <= heldMs)
            step = static_cast<int>(a.nInc);
    return step;
}

bool UpDown::Offset(int delta)
{
    const int low = std::min(min_, max_);
    const int high = std::max(min_, max_);
    int64_t target = int64_t(pos_) + delta;
    if (!InRange(static_cast<int>(std::clamp<int64_t>(target, INT32_MIN, INT32_MAX))) || target < INT32_MIN
        || target > INT32_MAX) {
        if (Style() & UDS_WRAP) {
            // Past one end it comes round at the other, the overshoot carried along.
            const int64_t span = int64_t(high) - low + 1;
            target = low + (((target - low) % span) + span) % span;
        } else {
            target = std::clamp<int64_t>(target, low, high);
        }
    }
    if (target == pos_)
        return false;
    pos_ = static_cast<int>(target);
    return true;
}

void UpDown::Step(TArrow arrow, int step)
{
    // The increment arrow goes towards max, whichever way round the range is.
    int delta = (arrow == arIncrement ? step : -step) * (max_ < min_ ? -1 : 1);
    HWND parent = GetParent(hwnd_);
    NMUPDOWN notify {};
    notify.hdr.hwndFrom = hwnd_;
    notify.hdr.idFrom = static_cast<UINT_PTR>(GetWindowLongPtr(hwnd_, GWLP_ID));
    notify.hdr.code = UDN_DELTAPOS;
    notify.iPos = pos_;
    notify.iDelta = delta;
    // The parent may destroy the up-down while it hears about the step: nothing of the object is touched then.
    const HWND self = hwnd_;
    bool refused = parent && SendMessage(parent, WM_NOTIFY, notify.hdr.idFrom, reinterpret_cast<LPARAM>(&notify)) != 0;
    if (!IsWindow(self))
        return;
    if (!refused && Offset(notify.iDelta))
        UpdateBuddy();
    // The parent hears the position whether it moved or not.
    if (parent)
        SendMessage(parent, Horizontal() ? WM_HSCROLL : WM_VSCROLL,
            MAKEWPARAM(SB_THUMBPOSITION, static_cast<WORD>(pos_)), reinterpret_cast<LPARAM>(hwnd_));
}

void UpDown::SetPosition(int pos)
{
    const int low = std::min(min_, max_);
    const int high = std::max(min_, max_);
    pos_ = std::clamp(pos, low, high);
    UpdateBuddy();
}

void UpDown::UpdateBuddy()
{
    if (!buddy_ || !(Style() & UDS_SETBUDDYINT) || !IsWindow(buddy_))
        return;
    std::string text = FormatPosition(pos_, base_, !(Style() & UDS_NOTHOUSANDS));
    SetWindowText(buddy_, text.c_str());
}

bool UpDown::ReadBuddy()
{
    if (!buddy_ || !(Style() & UDS_SETBUDDYINT) || !IsWindow(buddy_))
        return true;
    std::string text(GetWindowTextLength(buddy_) + 1, '\0');
    text.resize(GetWindowText(buddy_, text.data(), static_cast<int>(text.size())));
    int pos = 0;
    if (!ParsePosition(text, base_, &pos) || !InRange(pos))
        return false;
    pos_ = pos;
    return true;
}

LRESULT BuddyProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    auto owner = reinterpret_cast<HWND>(GetProp(hwnd, kBuddyOwnerProp));
    auto previous = reinterpret_cast<WNDPROC>(GetProp(hwnd, kBuddyProcProp));
    if (message == WM_KEYDOWN && (wParam == VK_UP || wParam == VK_DOWN) && owner && IsWindow(owner)) {
        if (UpDown* upDown = ControlObjectOf<UpDown>(owner)) {
            upDown->OnArrowKey(wParam);
            return 0;
        }
    }
    return previous ? CallWindowProc(previous, hwnd, message, wParam, lParam)
                    : DefWindowProc(hwnd, message, wParam, lParam);
}

HWND UpDown::SetBuddy(HWND buddy)
{
    HWND previous = buddy_;
    ReleaseBuddy();
    buddy_ = buddy && IsWindow(buddy) ? buddy : nullptr;
    if (!buddy_)
        return previous;
    DWORD style = Style();
    if (style & UDS_ARROWKEYS) {
        SetProp(buddy_, kBuddyOwnerProp, reinterpret_cast<HANDLE>(hwnd_));
        LONG_PTR old = SetWindowLongPtr(buddy_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&BuddyProc));
        SetProp(buddy_, kBuddyProcProp, reinterpret_cast<HANDLE>(old));
    }
    // Aligned to a side of the buddy, the up-down takes that much of the buddy's width, at the buddy's height.
    if (style & (UDS_ALIGNLEFT | UDS_ALIGNRIGHT)) {
        RECT b;
        GetWindowRect(buddy_, &b);
        HWND parent = GetParent(buddy_);
        MapWindowPoints(nullptr, parent, reinterpret_cast<POINT*>(&b), 2);
        RECT self;
        GetWindowRect(hwnd_, &self);
        int width = std::min<int>(self.right - self.left, b.right - b.left);
        int height = b.bottom - b.top;
        if (style & UDS_ALIGNRIGHT) {
            SetWindowPos(
                buddy_, nullptr, 0, 0, b.right - b.left - width, height, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
            SetWindowPos(hwnd_, nullptr, b.right - width, b.top, width, height, SWP_NOZORDER | SWP_NOACTIVATE);
        } else {
            SetWindowPos(buddy_, nullptr, b.left + width, b.top, b.right - b.left - width, height,
                SWP_NOZORDER | SWP_NOACTIVATE);
            SetWindowPos(hwnd_, nullptr, b.left, b.top, width, height, SWP_NOZORDER | SWP_NOACTIVATE);
        }
    }
    UpdateBuddy();
    return previous;
}

void UpDown::ReleaseBuddy()
{
    if (!buddy_ || !IsWindow(buddy_)) {
        buddy_ = nullptr;
        return;
    }
    if (reinterpret_cast<HWND>(GetProp(buddy_, kBuddyOwnerProp)) == hwnd_) {
        // Setting the procedure that was there before takes this hook out of the chain, wherever it sits.
        if (auto previous = reinterpret_cast<WNDPROC>(GetProp(buddy_, kBuddyProcProp)))
            SetWindowLongPtr(buddy_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(previous));
        RemoveProp(buddy_, kBuddyOwnerProp);
        RemoveProp(buddy_, kBuddyProcProp);
    }
    buddy_ = nullptr;
}

void UpDown::OnArrowKey(WPARAM key)
{
    if (!IsWindowEnabled(hwnd_))
        return;
    ReadBuddy();
    Step(key == VK_UP ? arIncrement : arDecrement, StepAfter(0));
}

void UpDown::EndPress()
{
    if (held_ == arNone)
        return;
    held_ = arNone;
    pressedLook_ = false;
    KillTimer(hwnd_, kRepeatTimer);
    if (GetCapture() == hwnd_)
        ReleaseCapture();
    InvalidateRect(hwnd_, nullptr, FALSE);
    if (HWND parent = GetParent(hwnd_))
        SendMessage(parent, Horizontal() ? WM_HSCROLL : WM_VSCROLL, MAKEWPARAM(SB_ENDSCROLL, static_cast<WORD>(pos_)),
            reinterpret_cast<LPARAM>(hwnd_));
}

void UpDown::Paint(HDC dc)
{
    bool enabled = IsWindowEnabled(hwnd_);
    for (TArrow arrow : { arIncrement, arDecrement }) {
        RECT r = ArrowRect(arrow);
        UINT kind = Horizontal() ? (arrow == arIncrement ? DFCS_SCROLLRIGHT : DFCS_SCROLLLEFT)
                                 : (arrow == arIncrement ? DFCS_SCROLLUP : DFCS_SCROLLDOWN);
        UINT state = kind | (held_ == arrow && pressedLook_ ? DFCS_PUSHED : 0) | (enabled ? 0 : DFCS_INACTIVE);
        DrawFrameControl(dc, &r, DFC_SCROLL, state);
    }
}

LRESULT UpDown::Handle(UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_CREATE:
        // An auto buddy is the window made just before this one (the one below it).
        if (Style() & UDS_AUTOBUDDY)
            SetBuddy(GetWindow(hwnd_, GW_HWNDNEXT));
        return 0;
    case WM_DESTROY:
        EndPress();
        ReleaseBuddy();
        return 0;
    case WM_PAINT:
    case WM_PRINTCLIENT:
        if (wParam) {
            Paint(reinterpret_cast<HDC>(wParam));
        } else {
            PAINTSTRUCT paint;
            HDC dc = BeginPaint(hwnd_, &paint);
            Paint(dc);
            EndPaint(hwnd_, &paint);
        }
        return 0;
    case WM_ERASEBKGND:
        return 1;
    case WM_ENABLE:
        if (!wParam)
            EndPress();
        InvalidateRect(hwnd_, nullptr, FALSE);
        return 0;
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK: {
        TArrow arrow = ArrowAt(MAKEPOINT(lParam));
        if (arrow == arNone || held_ != arNone || !IsWindowEnabled(hwnd_))
            return 0;
        if (buddy_ && GetFocus() != buddy_)
            SetFocus(buddy_);
        SetCapture(hwnd_);
        held_ = arrow;
        pressedLook_ = true;
        pressedAt_ = GetTickCount();
        InvalidateRect(hwnd_, nullptr, FALSE);
        ReadBuddy();
        SetTimer(hwnd_, kRepeatTimer, kUpDownFirstRepeatDelay, nullptr);
        Step(arrow, StepAfter(0));
        return 0;
    }
    case WM_MOUSEMOVE:
        if (held_ != arNone) {
            bool over = ArrowAt(MAKEPOINT(lParam)) == held_;
            if (over != pressedLook_) {
                pressedLook_ = over;
                InvalidateRect(hwnd_, nullptr, FALSE);
            }
        }
        return 0;
    case WM_LBUTTONUP:
        EndPress();
        return 0;
    case WM_CAPTURECHANGED:
        if (reinterpret_cast<HWND>(lParam) != hwnd_)
            EndPress();
        return 0;
    case WM_TIMER:
        if (wParam != kRepeatTimer)
            return DefWindowProc(hwnd_, message, wParam, lParam);
        if (held_ == arNone) {
            KillTimer(hwnd_, kRepeatTimer);
            return 0;
        }
        SetTimer(hwnd_, kRepeatTimer, kUpDownRepeatDelay, nullptr);
        // A held button steps only while the pointer is on it.
        if (pressedLook_)
            Step(held_, StepAfter(GetTickCount() - pressedAt_));
        return 0;
    case WM_KEYDOWN:
        if ((Style() & UDS_ARROWKEYS) && (wParam == VK_UP || wParam == VK_DOWN))
            OnArrowKey(wParam);
        return 0;
    case WM_GETDLGCODE:
        return DLGC_WANTARROWS;

    case UDM_SETRANGE:
        min_ = static_cast<int16_t>(HIWORD(lParam));
        max_ = static_cast<int16_t>(LOWORD(lParam));
        return 0;
    case UDM_GETRANGE:
        return MAKELONG(static_cast<WORD>(max_), static_cast<WORD>(min_));
    case UDM_SETRANGE32:
        min_ = static_cast<int>(static_cast<int32_t>(wParam));
        max_ = static_cast<int>(static_cast<int32_t>(lParam));
        return 0;
    case UDM_GETRANGE32:
        if (wParam)
            *reinterpret_cast<int*>(wParam) = min_;
        if (lParam)
            *reinterpret_cast<int*>(lParam) = max_;
        return 0;
    case UDM_SETPOS:
    case UDM_SETPOS32: {
        int previous = pos_;
        SetPosition(message == UDM_SETPOS ? static_cast<int16_t>(LOWORD(lParam))
                                          : static_cast<int>(static_cast<int32_t>(lParam)));
        return message == UDM_SETPOS ? static_cast<WORD>(previous) : previous;
    }
    case UDM_GETPOS: {
        bool ok = ReadBuddy();
        return MAKELONG(static_cast<WORD>(pos_), ok ? 0 : 1);
    }
    case UDM_GETPOS32: {
        bool ok = ReadBuddy();
        if (lParam)
            *reinterpret_cast<BOOL*>(lParam) = ok ? FALSE : TRUE;
        return pos_;
    }
    case UDM_SETBUDDY:
        return reinterpret_cast<LRESULT>(SetBuddy(reinterpret_cast<HWND>(wParam)));
    case UDM_GETBUDDY:
        return reinterpret_cast<LRESULT>(buddy_);
    case UDM_SETACCEL: {
        const auto* table = reinterpret_cast<const UDACCEL*>(lParam);
        if (!table || wParam == 0)
            return FALSE;
        accel_.assign(table, table + wParam);
        return TRUE;
    }
    case UDM_GETACCEL: {
        auto* table = reinterpret_cast<UDACCEL*>(lParam);
        size_t room = std::min<size_t>(wParam, accel_.size());
        if (table)
            std::copy(accel_.begin(), accel_.begin() + static_cast<std::ptrdiff_t>(room), table);
        return static_cast<LRESULT>(accel_.size());
    }
    case UDM_SETBASE: {
        if (wParam != 10 && wParam != 16)
            return 0;
        int previous = base_;
        base_ = static_cast<int>(wParam);
        UpdateBuddy();
        return previous;
    }
    case UDM_GETBASE:
        return base_;
    default:
        return DefWindowProc(hwnd_, message, wParam, lParam);
    }
}

} // namespace

ATOM RegisterUpDownClass()
{
    return RegisterControlClass<UpDown>(UPDOWN_CLASS, IDC_ARROW);
}
