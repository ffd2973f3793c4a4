#include "skin/controls/SkinPasswordEdit.h"

#include "framework/controls/Messages.h"
#include "framework/core/SysUtils.h"
#include "framework/graphics/TBitmap.h"
#include "framework/graphics/TCanvas.h"
#include "framework/graphics/TClipboard.h"
#include "platform/controls/MaskEngine.h"
#include "platform/win/Caret.h"
#include "platform/win/VirtualKeys.h"
#include "platform/win/WinMessages.h"
#include "platform/win/Windows.h"
#include "skin/controls/SkinControlSupport.h"
#include "skin/core/SkinEditRecords.h"
#include "skin/core/SkinImages.h"
#include "skin/core/TspSkinData.h"

#include <algorithm>

using namespace SPUtils;

namespace {

std::u32string Converted(std::u32string text, TEditCharCase charCase)
{
    if (charCase == ecNormal || text.empty())
        return text;
    const std::string utf8 = ToUtf8(text);
    return ToUtf32(charCase == ecUpperCase ? AnsiUpperCase(utf8) : AnsiLowerCase(utf8));
}

bool IsSpace(char32_t c) { return c == U' '; }

} // namespace

TspSkinPasswordEdit::TspSkinPasswordEdit(TComponent* owner)
    : inherited(owner)
{
    // The text is the control's own, never its caption.
    FControlStyle = TControlStyle { csCaptureMouse, csClickEvents, csOpaque, csDoubleClicks };
    SetTabStop(true);
    SetCursor(crIBeam);
    SetSkinDataName("edit");
    SetBounds(Left(), Top(), 121, 21);
}

TspSkinPasswordEdit::~TspSkinPasswordEdit()
{
    if (FHasCaret)
        DestroyCaret();
}

// ---- Properties -----------------------------------------------------------------------------------------------

void TspSkinPasswordEdit::SetText(std::string_view value) { SetText32(ToUtf32(value)); }

void TspSkinPasswordEdit::SetText32(std::u32string value)
{
    if (!ValidText(value))
        return;
    value = Converted(std::move(value), FCharCase);
    const bool changed = value != FText;
    FText = std::move(value);
    FTextUtf8 = ToUtf8(FText);
    const int length = static_cast<int>(FText.size());
    // Positions past a shorter text would point at nothing.
    FCaretPosition = std::min(FCaretPosition, length);
    FSelEnd = std::min(FSelEnd, length);
    FSelLength = std::clamp(FSelEnd + FSelLength, 0, length) - FSelEnd;
    Repaint();
    if (changed)
        Change();
}

void TspSkinPasswordEdit::SetPasswordKind(TspPasswordKind value)
{
    if (value == FPasswordKind)
        return;
    FPasswordKind = value;
    Repaint();
}

void TspSkinPasswordEdit::SetTextAlignment(TAlignment value)
{
    if (value == FTextAlignment)
        return;
    FTextAlignment = value;
    Repaint();
}

void TspSkinPasswordEdit::SetCharCase(TEditCharCase value)
{
    if (value == FCharCase)
        return;
    FCharCase = value;
    if (!FText.empty())
        SetText32(FText);
}

void TspSkinPasswordEdit::SetHideSelection(bool value)
{
    if (value == FHideSelection)
        return;
    FHideSelection = value;
    Repaint();
}

void TspSkinPasswordEdit::SetDefaultColor(TColor value)
{
    FDefaultColor = value;
    Repaint();
}

void TspSkinPasswordEdit::Change()
{
    if (Enabled() && HandleAllocated())
        SetCaretPosition(FCaretPosition);
    if (OnChange)
        OnChange(this);
}

// ---- Caret and selection --------------------------------------------------------------------------------------

void TspSkinPasswordEdit::SetCaretPosition(int value)
{
    FCaretPosition = std::clamp(value, 0, static_cast<int>(FText.size()));
    UpdateFirstVisibleChar();
    if (FSelLength == 0)
        FSelEnd = FCaretPosition;
    UpdateCaretPos();
}

void TspSkinPasswordEdit::UpdateCaretPos()
{
    if (FHasCaret && Focused())
        SetCaretPos(GetCharX(FCaretPosition), GetEditRect().Top);
}

int TspSkinPasswordEdit::SelStart() const
{
    if (FSelLength > 0)
        return FSelEnd;
    if (FSelLength < 0)
        return FSelEnd + FSelLength;
    return FCaretPosition;
}

void TspSkinPasswordEdit::SetSelStart(int value)
{
    value = std::clamp(value, 0, static_cast<int>(FText.size()));
    if (value == SelStart() && FSelLength == 0)
        return;
    FSelLength = 0;
    FSelEnd = value;
    SetCaretPosition(value);
    Repaint();
}

void TspSkinPasswordEdit::SetSelLength(int value)
{
    value = std::clamp(FSelEnd + value, 0, static_cast<int>(FText.size())) - FSelEnd;
    if (value == FSelLength)
        return;
    FSelLength = value;
    Repaint();
}

std::string TspSkinPasswordEdit::SelText() const
{
    return ToUtf8(std::u32string_view(FText).substr(SelStart(), SelLength()));
}

void TspSkinPasswordEdit::SelectAll()
{
    // The caret ends at the start, the selection running right from it.
    FSelLength = 0;
    SetCaretPosition(0);
    FSelLength = static_cast<int>(FText.size());
    Repaint();
}

void TspSkinPasswordEdit::SelectWord()
{
    // The caret before a word's first character belongs to that word, not to the one before it.
    const int length = static_cast<int>(FText.size());
    const int inWord = FCaretPosition < length && !IsSpace(FText[FCaretPosition]) ? FCaretPosition + 1 : FCaretPosition;
    const int start = GetPrivWordBeging(inWord);
    const int end = GetNextWordBeging(start);
    FSelLength = 0;
    SetCaretPosition(end);
    FSelLength = start - end;
    Repaint();
}

void TspSkinPasswordEdit::MoveCaret(int position, bool extend)
{
    position = std::clamp(position, 0, static_cast<int>(FText.size()));
    if (extend) {
        // The anchor stays; the end follows the caret.
        const int anchor = FSelEnd + FSelLength;
        FSelEnd = position;
        FSelLength = anchor - position;
    } else {
        FSelLength = 0;
    }
    SetCaretPosition(position);
    Repaint();
}

int TspSkinPasswordEdit::GetPrivWordBeging(int position) const
{
    int at = std::clamp(position, 0, static_cast<int>(FText.size()));
    while (at > 0 && IsSpace(FText[at - 1]))
        --at;
    while (at > 0 && !IsSpace(FText[at - 1]))
        --at;
    return at;
}

int TspSkinPasswordEdit::GetNextWordBeging(int position) const
{
    const int length = static_cast<int>(FText.size());
    int at = std::clamp(position, 0, length);
    // Starting in spaces, the word after them is the current one.
    while (at < length && IsSpace(FText[at]))
        ++at;
    while (at < length && !IsSpace(FText[at]))
        ++at;
    while (at < length && IsSpace(FText[at]))
        ++at;
    return at;
}

// ---- Editing --------------------------------------------------------------------------------------------------

void TspSkinPasswordEdit::InsertText(std::u32string_view text)
{
    if (FReadOnly)
        return;
    const int start = SelStart();
    std::u32string result = FText;
    result.replace(start, SelLength(), text);
    if (FMaxLength > 0 && static_cast<int>(result.size()) > FMaxLength) {
        FSelLength = 0;
        FSelEnd = FCaretPosition;
        Repaint();
        return;
    }
    FSelLength = 0;
    FCaretPosition = start + static_cast<int>(text.size());
    FSelEnd = FCaretPosition;
    SetText32(std::move(result));
    SetCaretPosition(start + static_cast<int>(text.size()));
    Repaint();
}

void TspSkinPasswordEdit::InsertAfter(int position, std::u32string_view text, bool select)
{
    position = std::clamp(position, 0, static_cast<int>(FText.size()));
    if (FMaxLength > 0)
        text = text.substr(0, std::max(0, FMaxLength - static_cast<int>(FText.size())));
    std::u32string result = FText;
    result.insert(position, text);
    SetText32(std::move(result));
    if (select) {
        FSelLength = 0;
        SetCaretPosition(position + static_cast<int>(text.size()));
        FSelLength = -static_cast<int>(text.size());
        Repaint();
    }
}

void TspSkinPasswordEdit::DeleteFrom(int start, int count, bool reset)
{
    const int from = std::clamp(start - 1, 0, static_cast<int>(FText.size()));
    std::u32string result = FText;
    result.erase(from, std::max(0, count));
    if (reset) {
        FSelLength = 0;
        FSelEnd = from;
        FCaretPosition = from;
    }
    SetText32(std::move(result));
    if (reset)
        SetCaretPosition(from);
}

void TspSkinPasswordEdit::ClearSelection()
{
    if (FReadOnly || SelLength() == 0)
        return;
    DeleteFrom(SelStart() + 1, SelLength(), true);
}

void TspSkinPasswordEdit::PasteFromClipboard()
{
    if (FReadOnly)
        return;
    // The clipboard's text arrives as UTF-8 whichever of its text forms it holds.
    const std::string text = Clipboard()->AsText();
    if (!text.empty())
        InsertText(ToUtf32(text));
}

// ---- Geometry -------------------------------------------------------------------------------------------------

TRect TspSkinPasswordEdit::GetEditRect()
{
    if (SkinIndex == -1)
        return Rect(2, 2, Width() - 2, Height() - 2);
    TRect r = SizedClientRect;
    if (!UseSkinFont())
        r.Bottom += Height() - RectHeight(SkinRectangle);
    return r;
}

int TspSkinPasswordEdit::GetPasswordCharWidth() { return RectHeight(GetEditRect()) / 2 + 3; }

int TspSkinPasswordEdit::AlignmentOffset()
{
    const TRect r = GetEditRect();
    const int used = static_cast<int>(FText.size()) * GetPasswordCharWidth();
    if (used >= RectWidth(r))
        return 0;
    if (FTextAlignment == taRightJustify)
        return RectWidth(r) - used;
    if (FTextAlignment == taCenter)
        return (RectWidth(r) - used) / 2;
    return 0;
}

int TspSkinPasswordEdit::GetCharX(int index)
{
    const TRect r = GetEditRect();
    int x = r.Left;
    index = std::min(index, static_cast<int>(FText.size()));
    if (index > 0)
        x += (index - FFirstVisibleChar + 1) * GetPasswordCharWidth();
    return x + AlignmentOffset();
}

int TspSkinPasswordEdit::GetCoordinatePosition(int x)
{
    if (FText.empty())
        return FFirstVisibleChar - 1;
    const TRect r = GetEditRect();
    x -= AlignmentOffset();
    const int position = FFirstVisibleChar - 1 + (x - r.Left) / GetPasswordCharWidth();
    return std::clamp(position, 0, static_cast<int>(FText.size()));
}

TRect TspSkinPasswordEdit::GetSelRect()
{
    TRect r = GetEditRect();
    r.Left = GetCharX(SelStart());
    r.Right = GetCharX(SelStart() + SelLength());
    return r;
}

void TspSkinPasswordEdit::UpdateFirstVisibleChar()
{
    const int length = static_cast<int>(FText.size());
    const int markWidth = GetPasswordCharWidth();
    const int room = RectWidth(GetEditRect());
    if (FCaretPosition >= FFirstVisibleChar) {
        while ((FCaretPosition - FFirstVisibleChar + 1) * markWidth > room && FFirstVisibleChar < length)
            ++FFirstVisibleChar;
    } else {
        FFirstVisibleChar = std::max(FCaretPosition, 1);
    }
    Repaint();
}

// ---- Keys and mouse -------------------------------------------------------------------------------------------

void TspSkinPasswordEdit::KeyDown(uint16_t& key, TShiftState shift)
{
    inherited::KeyDown(key, shift);
    const bool ctrl = shift.Contains(ssCtrl);
    const bool onlyShift = shift == TShiftState { ssShift };
    const bool onlyCtrl = shift == TShiftState { ssCtrl };
    int moveTo = -1;
    switch (key) {
    case VK_BACK:
    case VK_DELETE:
        if (FReadOnly)
            break;
        if (SelLength() > 0)
            ClearSelection();
        else if (key == VK_DELETE && FCaretPosition < static_cast<int>(FText.size()))
            DeleteFrom(FCaretPosition + 1, 1, true);
        else if (key == VK_BACK && FCaretPosition > 0)
            DeleteFrom(FCaretPosition, 1, true);
        break;
    case VK_END:
        moveTo = static_cast<int>(FText.size());
        break;
    case VK_HOME:
        moveTo = 0;
        break;
    case VK_LEFT:
        moveTo = ctrl ? GetPrivWordBeging(FCaretPosition) : std::max(FCaretPosition - 1, 0);
        break;
    case VK_RIGHT:
        moveTo = ctrl ? GetNextWordBeging(FCaretPosition) : FCaretPosition + 1;
        break;
    case VK_INSERT:
        if (onlyShift)
            PasteFromClipboard();
        break;
    case 'V':
        if (onlyCtrl)
            PasteFromClipboard();
        break;
    default:
        break;
    }
    if (moveTo >= 0)
        MoveCaret(moveTo, shift.Contains(ssShift));
    else
        UpdateCaretPos();
}

void TspSkinPasswordEdit::KeyPress(char32_t& key)
{
    inherited::KeyPress(key);
    if (key >= 32 && !FReadOnly)
        InsertChar(key);
}

void TspSkinPasswordEdit::MouseDown(TMouseButton button, TShiftState shift, int x, int y)
{
    inherited::MouseDown(button, shift, x, y);
    if (button == mbLeft)
        FDragging = true;
    if (CanFocus() && !Focused())
        SetFocus();
    if (button == mbLeft) {
        FSelLength = 0;
        SetCaretPosition(GetCoordinatePosition(x));
        Repaint();
    }
}

void TspSkinPasswordEdit::MouseMove(TShiftState shift, int x, int y)
{
    inherited::MouseMove(shift, x, y);
    if (!FDragging)
        return;
    int position = GetCoordinatePosition(x);
    // Past the right edge the field scrolls on.
    if (x > GetEditRect().Right)
        ++position;
    if (position != FCaretPosition)
        MoveCaret(position, true);
}

void TspSkinPasswordEdit::MouseUp(TMouseButton button, TShiftState shift, int x, int y)
{
    inherited::MouseUp(button, shift, x, y);
    FDragging = false;
}

// ---- The system caret -----------------------------------------------------------------------------------------

void TspSkinPasswordEdit::CreateSystemCaret()
{
    if (!HandleAllocated())
        return;
    CreateCaret(Handle(), nullptr, 0, RectHeight(GetEditRect()));
    FHasCaret = true;
}

void TspSkinPasswordEdit::ShowCaret()
{
    if (FHasCaret)
        ::ShowCaret(Handle());
}

void TspSkinPasswordEdit::HideCaret()
{
    if (FHasCaret)
        ::HideCaret(Handle());
}

void TspSkinPasswordEdit::Loaded()
{
    inherited::Loaded();
    HideCaret();
}

// ---- Painting -------------------------------------------------------------------------------------------------

void TspSkinPasswordEdit::GetSkinData()
{
    inherited::GetSkinData();
    const auto* record = SkinRecordAt<TspDataSkinEditControl>(SkinData(), SkinIndex);
    if (!record) {
        SkinIndex = -1;
        return;
    }
    ActiveSkinRect = IsNullRect(record->ActiveSkinRect) ? record->SkinRect : record->ActiveSkinRect;
    LOffset = record->LeftTopPoint.X;
    ROffset = RectWidth(record->SkinRect) - record->RightTopPoint.X;
    StretchEffect = record->StretchEffect;
    FontColor = record->FontColor;
    ActiveFontColor = record->ActiveFontColor;
    DisabledFontColor = record->DisabledFontColor;
}

void TspSkinPasswordEdit::CalcSize(int& width, int& height)
{
    const int given = height;
    inherited::CalcSize(width, height);
    if (!UseSkinFont())
        height = given;
}

void TspSkinPasswordEdit::CreateControlDefaultImage(TBitmap* bitmap)
{
    TCanvas* canvas = bitmap->Canvas();
    const TRect r(0, 0, Width(), Height());
    canvas->Brush()->SetColor(FDefaultColor);
    canvas->FillRect(r);
    canvas->Brush()->SetColor(clBtnShadow);
    canvas->FrameRect(r);
    canvas->Brush()->SetColor(clBtnFace);
    canvas->FrameRect(Rect(1, 1, Width() - 1, Height() - 1));
    PaintText(canvas);
}

void TspSkinPasswordEdit::CreateControlSkinImage(TBitmap* bitmap)
{
    const TRect& source = Hot() ? ActiveSkinRect : SkinRectangle;
    if (UseSkinFont()) {
        CreateHSkinImage(LOffset, ROffset, bitmap, SkinPicture, source, Width(), Height(), StretchEffect);
    } else {
        // Built at the record's height and stretched to the control's.
        TBitmap face;
        CreateHSkinImage(LOffset, ROffset, &face, SkinPicture, source, Width(), RectHeight(SkinRectangle), StretchEffect);
        bitmap->SetSize(Width(), Height());
        bitmap->Canvas()->StretchDraw(Rect(0, 0, Width(), Height()), &face);
    }
    bitmap->SetSize(Width(), Height());
    PaintText(bitmap->Canvas());
}

TColor TspSkinPasswordEdit::MarkColor() const
{
    const bool skinned = SkinIndex != -1;
    if (!Enabled())
        return skinned ? DisabledFontColor : clGrayText;
    if (!skinned)
        return DefaultFont()->Color();
    return FMouseIn || Focused() ? ActiveFontColor : FontColor;
}

void TspSkinPasswordEdit::PaintText(TCanvas* canvas)
{
    const TRect edit = GetEditRect();
    const bool showSelection = (Focused() || !FHideSelection) && SelLength() > 0;
    TRect selection;
    if (showSelection) {
        selection = GetSelRect();
        selection.Left = std::max(selection.Left, edit.Left);
        selection.Right = std::min(selection.Right, edit.Right);
        canvas->Brush()->SetColor(clHighlight);
        canvas->FillRect(selection);
    }
    const int markWidth = GetPasswordCharWidth();
    const int length = static_cast<int>(FText.size());
    const int selStart = SelStart(), selEnd = SelStart() + SelLength();
    int x = GetCharX(0);
    for (int i = FFirstVisibleChar; i <= length && x + markWidth <= edit.Right; ++i, x += markWidth) {
        // Character i (1-based) is selected when its position i - 1 lies in the selection.
        const bool selected = showSelection && i - 1 >= selStart && i - 1 < selEnd;
        DrawPasswordChar(Rect(x, edit.Top, x + markWidth, edit.Bottom), selected, canvas);
    }
}

void TspSkinPasswordEdit::DrawPasswordChar(const TRect& cell, bool selected, TCanvas* canvas)
{
    const TColor color = selected ? clHighlightText : MarkColor();
    canvas->Pen()->SetColor(color);
    canvas->Brush()->SetColor(color);
    const int width = RectWidth(cell), height = RectHeight(cell);
    // About 4 pixels narrower than the cell, and square.
    const int dy = (width - height) / 2 - 2;
    const TRect square(cell.Left + 2, cell.Top - dy, cell.Right - 2, cell.Bottom + dy);
    switch (FPasswordKind) {
    case pkRoundRect: {
        const int corner = RectWidth(square) / 2;
        canvas->RoundRect(square.Left, square.Top, square.Right, square.Bottom, corner, corner);
        break;
    }
    case pkRect:
        canvas->FillRect(square);
        break;
    case pkTriangle: {
        const int side = width % 2 == 0 ? width + 1 : width;
        const int left = cell.Left + (width - side) / 2;
        const int top = cell.Top + (height - side) / 2;
        const TPoint points[] = { { left + side / 2 + 1, top }, { left + side, top + side }, { left, top + side } };
        canvas->Polygon(points);
        break;
    }
    }
}

// ---- Messages -------------------------------------------------------------------------------------------------

void TspSkinPasswordEdit::WndProc(TMessage& message)
{
    switch (message.Msg) {
    case WM_GETDLGCODE:
        // Arrows and characters; Tab and Enter stay with the dialog.
        message.Result = DLGC_WANTARROWS | DLGC_WANTCHARS;
        return;
    case WM_SETFOCUS:
        inherited::WndProc(message);
        CreateSystemCaret();
        SetCaretPosition(0);
        ShowCaret();
        if (FAutoSelect)
            SelectAll();
        Repaint();
        return;
    case WM_KILLFOCUS:
        inherited::WndProc(message);
        if (FHasCaret) {
            DestroyCaret();
            FHasCaret = false;
        }
        Repaint();
        return;
    case WM_LBUTTONDBLCLK:
        inherited::WndProc(message);
        FDragging = false;
        SelectWord();
        return;
    case CM_TEXTCHANGED:
        // A text set as the window's text becomes the password.
        inherited::WndProc(message);
        FSelLength = 0;
        SetText32(ToUtf32(TControl::Text()));
        Repaint();
        return;
    case CM_FONTCHANGED:
        inherited::WndProc(message);
        if (FHasCaret) {
            CreateSystemCaret();
            UpdateCaretPos();
            ShowCaret();
        }
        return;
    case CM_ENABLEDCHANGED:
        inherited::WndProc(message);
        if (HandleAllocated())
            Repaint();
        return;
    case CM_MOUSEENTER:
    case CM_MOUSELEAVE:
        inherited::WndProc(message);
        FMouseIn = message.Msg == CM_MOUSEENTER;
        if (!Focused())
            Repaint();
        return;
    default:
        inherited::WndProc(message);
    }
}
