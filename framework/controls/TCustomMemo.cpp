#include "framework/controls/TCustomMemo.h"

#include "platform/controls/EditControl.h"
#include "platform/win/WinMessages.h"
#include "platform/win/WinStyles.h"
#include "platform/win/Windows.h"

#include <vector>

// --- TMemoStrings ----------------------------------------------------------------------------------------

intptr_t TMemoStrings::Send(uint32_t message, uintptr_t wParam, intptr_t lParam) const
{
    return SendMessage(FMemo->Handle(), message, wParam, lParam);
}

int TMemoStrings::GetCount() const
{
    auto count = static_cast<int>(Send(EM_GETLINECOUNT, 0, 0));
    if (Send(EM_LINELENGTH, static_cast<uintptr_t>(Send(EM_LINEINDEX, count - 1, 0)), 0) == 0)
        --count;
    return count;
}

std::string TMemoStrings::Get(int index) const
{
    if (index < 0 || index >= GetCount())
        Error("List index out of bounds (%d)", index);
    auto length = static_cast<int>(Send(EM_LINELENGTH, static_cast<uintptr_t>(Send(EM_LINEINDEX, index, 0)), 0));
    // EM_GETLINE takes the buffer size in its first bytes; a character takes at most four bytes.
    std::vector<char> buffer(std::max<size_t>(sizeof(WORD), length * 4u + 1));
    const WORD size = static_cast<WORD>(std::min<size_t>(buffer.size(), 0xFFFF));
    std::copy_n(reinterpret_cast<const char*>(&size), sizeof size, buffer.data());
    auto bytes = static_cast<size_t>(Send(EM_GETLINE, index, reinterpret_cast<intptr_t>(buffer.data())));
    return std::string(buffer.data(), bytes);
}

void TMemoStrings::Put(int index, std::string_view s)
{
    if (index < 0 || index >= GetCount())
        Error("List index out of bounds (%d)", index);
    intptr_t start = Send(EM_LINEINDEX, index, 0);
    Send(EM_SETSEL, start, start + Send(EM_LINELENGTH, start, 0));
    const std::string text(s);
    Send(EM_REPLACESEL, 0, reinterpret_cast<intptr_t>(text.c_str()));
}

void TMemoStrings::Insert(int index, std::string_view s)
{
    const int count = GetCount();
    if (index < 0 || index > count)
        return;
    std::string line;
    intptr_t at = 0;
    if (index < count) {
        at = Send(EM_LINEINDEX, index, 0);
        line = std::string(s) + "\r\n";
    } else if (index > 0) {
        // After the last line: a break first, then the line.
        intptr_t last = Send(EM_LINEINDEX, index - 1, 0);
        at = last + Send(EM_LINELENGTH, last, 0);
        line = "\r\n" + std::string(s);
    } else {
        line = std::string(s);
    }
    Send(EM_SETSEL, at, at);
    Send(EM_REPLACESEL, 0, reinterpret_cast<intptr_t>(line.c_str()));
}

void TMemoStrings::Delete(int index)
{
    const int count = GetCount();
    if (index < 0 || index >= count)
        Error("List index out of bounds (%d)", index);
    intptr_t start = Send(EM_LINEINDEX, index, 0);
    intptr_t end = Send(EM_LINEINDEX, index + 1, 0);
    if (end < 0) {
        // The last line takes the break before it along.
        end = start + Send(EM_LINELENGTH, start, 0);
        if (index > 0)
            start -= 2;
    }
    Send(EM_SETSEL, start, end);
    Send(EM_REPLACESEL, 0, reinterpret_cast<intptr_t>(""));
}

void TMemoStrings::Clear() { FMemo->Clear(); }

// --- TCustomMemo -----------------------------------------------------------------------------------------

TCustomMemo::TCustomMemo(TComponent* owner)
    : TCustomMemo(owner, nullptr)
{
}

TCustomMemo::TCustomMemo(TComponent* owner, std::unique_ptr<TMemoStrings> lines)
    : TCustomEdit(owner)
    , FLines(lines ? std::move(lines) : std::make_unique<TMemoStrings>(this))
{
    FWidth = 185;
    FHeight = 89;
    SetAutoSize(false);
    FControlStyle.Exclude(csFixedHeight);
    FControlStyle.Exclude(csSetCaption);
}

TCustomMemo::~TCustomMemo() = default;

void TCustomMemo::CreateParams(TCreateParams& params)
{
    inherited::CreateParams(params);
    params.Style |= ES_MULTILINE;
    if (FWordWrap && FScrollBars != ssHorizontal && FScrollBars != ssBoth)
        params.Style &= ~ES_AUTOHSCROLL;
    if (FScrollBars == ssVertical || FScrollBars == ssBoth)
        params.Style |= WS_VSCROLL;
    if (FScrollBars == ssHorizontal || FScrollBars == ssBoth)
        params.Style |= WS_HSCROLL;
    static constexpr DWORD kAlignments[] = { ES_LEFT, ES_RIGHT, ES_CENTER };
    params.Style |= kAlignments[FAlignment];
}

void TCustomMemo::SetAlignment(TAlignment value)
{
    if (value == FAlignment)
        return;
    FAlignment = value;
    UpdateStyle();
}

void TCustomMemo::SetScrollBars(TScrollStyle value)
{
    if (value == FScrollBars)
        return;
    FScrollBars = value;
    UpdateStyle();
}

void TCustomMemo::SetWordWrap(bool value)
{
    if (value == FWordWrap)
        return;
    FWordWrap = value;
    UpdateStyle();
}

TPoint TCustomMemo::CaretPos() const
{
    DWORD start = 0, end = 0;
    SendToWindow(EM_GETSEL, reinterpret_cast<uintptr_t>(&start), reinterpret_cast<intptr_t>(&end));
    auto row = static_cast<int>(SendToWindow(EM_LINEFROMCHAR, end, 0));
    auto column = static_cast<int>(end - SendToWindow(EM_LINEINDEX, row, 0));
    return TPoint {column, row};
}

void TCustomMemo::SetCaretPos(TPoint value)
{
    intptr_t at = SendToWindow(EM_LINEINDEX, value.Y, 0) + value.X;
    SendToWindow(EM_SETSEL, at, at);
}

// Enter is a line break only while WantReturns; the form's default button takes it otherwise.
void TCustomMemo::KeyPress(char32_t& key)
{
    inherited::KeyPress(key);
    if (key == '\r' && !FWantReturns)
        key = 0;
}

void TCustomMemo::WndProc(TMessage& message)
{
    if (message.Msg == WM_GETDLGCODE) {
        inherited::WndProc(message);
        if (FWantTabs)
            message.Result |= DLGC_WANTTAB;
        else
            message.Result &= ~DLGC_WANTTAB;
        if (!FWantReturns)
            message.Result &= ~DLGC_WANTALLKEYS;
        return;
    }
    inherited::WndProc(message);
}
