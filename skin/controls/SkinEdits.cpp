#include "skin/controls/SkinEdits.h"

#include "framework/controls/Forms.h"
#include "framework/controls/Messages.h"
#include "framework/controls/TCustomForm.h"
#include "framework/graphics/TBitmap.h"
#include "framework/graphics/TCanvas.h"
#include "framework/graphics/TClipboard.h"
#include "platform/controls/EditControl.h"
#include "platform/gdi/Gdi.h"
#include "platform/win/Clipboard.h"
#include "platform/win/Windows.h"
#include "skin/controls/SkinControlSupport.h"
#include "skin/controls/SkinEditSupport.h"
#include "skin/core/SkinControlRecords.h"
#include "skin/core/SkinCustomCtrls.h"
#include "skin/core/SkinEditRecords.h"
#include "skin/core/SkinImages.h"
#include "skin/core/SkinMessages.h"
#include "skin/core/TspEffectBmp.h"
#include "skin/core/TspResourceStrData.h"
#include "skin/core/TspSkinData.h"
#include "skin/menus/SkinMenuHost.h"
#include "skin/menus/SkinMenuMessages.h"
#include "skin/menus/TspSkinPopupMenu.h"

using namespace SPUtils;

namespace {

constexpr LRESULT kHitButton = HTHSCROLL;
constexpr LRESULT kHitFrame = HTVSCROLL;
constexpr intptr_t kNcPaintMark = CM_BENCPAINTParam;

// Left and top edges inside, right and bottom outside.
bool Inside(const TRect& r, const TPoint& p)
{
    return p.X >= r.Left && p.X < r.Right && p.Y >= r.Top && p.Y < r.Bottom;
}

void FrameRect1(TCanvas* canvas, const TRect& r, TColor color)
{
    canvas->Brush()->SetColor(color);
    canvas->FrameRect(r);
}

TRect Shrunk(const TRect& r, int by)
{
    return TRect(r.Left + by, r.Top + by, r.Right - by, r.Bottom - by);
}

} // namespace

// ---- TspCustomEdit ---------------------------------------------------------------------------------------------

TspCustomEdit::TspCustomEdit(TComponent* owner)
    : TCustomMaskEdit(owner)
{
    SetControlStyle(ControlStyle() + TControlStyle { csOpaque });
}

TspCustomEdit::~TspCustomEdit() = default;

void TspCustomEdit::SetEditTransparent(bool value)
{
    if (FEditTransparent == value)
        return;
    FEditTransparent = value;
    if (HandleAllocated())
        RecreateWnd();
}

void TspCustomEdit::CreateParams(TCreateParams& params)
{
    inherited::CreateParams(params);
    params.Style &= ~WS_BORDER;
    params.ExStyle &= ~WS_EX_CLIENTEDGE;
    if (FEditTransparent)
        params.ExStyle |= WS_EX_TRANSPARENT;
    if (PasswordChar())
        params.Style |= ES_PASSWORD;
}

void TspCustomEdit::Change()
{
    inherited::Change();
    InvalidateIfTransparent();
}

void TspCustomEdit::Invalidate()
{
    if (!FEditTransparent || !Parent() || !HandleAllocated()) {
        inherited::Invalidate();
        return;
    }
    // What shows through the text is the parent's: it is painted again under the client area first.
    const TRect client = ClientRect();
    const TPoint origin = ClientOrigin();
    const TPoint parentOrigin = Parent()->ClientOrigin();
    RECT r { client.Left + origin.X - parentOrigin.X, client.Top + origin.Y - parentOrigin.Y,
        client.Right + origin.X - parentOrigin.X, client.Bottom + origin.Y - parentOrigin.Y };
    InvalidateRect(Parent()->Handle(), &r, TRUE);
    RedrawWindow(Handle(), nullptr, nullptr, RDW_FRAME | RDW_INVALIDATE);
}

void TspCustomEdit::InvalidateIfTransparent()
{
    if (FEditTransparent && HandleAllocated())
        Invalidate();
}

void TspCustomEdit::WMChar(TMessage& message)
{
    const char32_t key = static_cast<char32_t>(message.WParam);
    if (key == 27 || key == 13) {
        // Enter and Esc belong to the form (its default and cancel buttons); the key handler still sees them.
        if (OnKeyPress) {
            char32_t copy = key;
            OnKeyPress(this, copy);
        }
        if (TCustomForm* form = GetParentForm(this))
            form->Perform(CM_DIALOGKEY, message.WParam, message.LParam);
        return;
    }
    // Ctrl+C (character 3) copies even from a read-only edit. Other keys are still seen by the key handlers,
    // but never reach the window.
    if (FEditReadOnly && key != 3) {
        DoKeyPress(message);
        return;
    }
    inherited::WndProc(message);
}

void TspCustomEdit::CNCtlColor(TMessage& message)
{
    if (!FEditTransparent) {
        inherited::WndProc(message);
        return;
    }
    HDC dc = reinterpret_cast<HDC>(message.WParam);
    SetBkMode(dc, TRANSPARENT);
    ::SetTextColor(dc, static_cast<COLORREF>(ColorToRGB(Font()->Color())));
    message.Result = reinterpret_cast<intptr_t>(GetStockObject(NULL_BRUSH));
}

void TspCustomEdit::CreateSysPopupMenu()
{
    FMenu.Build(this, this);
}

TspEditMenuState TspCustomEdit::EditMenuState()
{
    TspEditMenuState state;
    state.CanUndo = CanUndo();
    state.HasSelection = SelLength() > 0;
    state.ReadOnly = FEditReadOnly;
    state.ClipboardHasText = Clipboard()->HasFormat(CF_TEXT) && !Clipboard()->AsText().empty();
    state.AllSelected = SelStart() == 0 && SelLength() == static_cast<int>(ToUtf32(EditText()).size());
    return state;
}

std::string TspCustomEdit::EditMenuCaption(std::string_view key, std::string_view fallback)
{
    // The edit reads the string table of its form's skin.
    TspSkinMenuHost* host = FindSkinMenuHost(GetParentForm(this));
    return EditMenuCaptionFrom(host ? host->SkinData() : nullptr, key, fallback);
}

void TspCustomEdit::DoUndo(TObject*) { Undo(); }
void TspCustomEdit::DoCut(TObject*) { CutToClipboard(); }
void TspCustomEdit::DoCopy(TObject*) { CopyToClipboard(); }
void TspCustomEdit::DoPaste(TObject*) { PasteFromClipboard(); }
void TspCustomEdit::DoDelete(TObject*) { ClearSelection(); }
void TspCustomEdit::DoSelectAll(TObject*) { SelectAll(); }

void TspCustomEdit::WndProc(TMessage& message)
{
    switch (message.Msg) {
    case WM_CHAR:
        WMChar(message);
        return;
    case WM_GETDLGCODE:
        // Enter and Esc reach the key handler, which hands them to the form itself.
        inherited::WndProc(message);
        message.Result |= DLGC_WANTALLKEYS;
        return;
    case WM_SETFONT:
        inherited::WndProc(message);
        SendMessage(Handle(), EM_SETMARGINS, EC_LEFTMARGIN | EC_RIGHTMARGIN, MAKELONG(2, 0));
        return;
    case WM_KEYDOWN:
        if (FEditReadOnly && message.WParam == VK_DELETE)
            return;
        inherited::WndProc(message);
        InvalidateIfTransparent();
        return;
    case WM_CUT:
    case WM_PASTE:
    case WM_CLEAR:
    case WM_UNDO:
        if (FEditReadOnly)
            return;
        inherited::WndProc(message);
        InvalidateIfTransparent();
        return;
    case WM_SETFOCUS:
        inherited::WndProc(message);
        if (AutoSelect())
            SelectAll();
        InvalidateIfTransparent();
        return;
    case WM_LBUTTONDOWN:
        LeftButtonDown = true;
        inherited::WndProc(message);
        InvalidateIfTransparent();
        return;
    case WM_LBUTTONUP:
        LeftButtonDown = false;
        inherited::WndProc(message);
        return;
    case WM_MOUSEMOVE:
        inherited::WndProc(message);
        if (LeftButtonDown)
            InvalidateIfTransparent();
        return;
    case WM_SETTEXT:
    case WM_MOVE:
    case WM_KILLFOCUS:
        inherited::WndProc(message);
        InvalidateIfTransparent();
        return;
    case WM_ERASEBKGND:
        // A transparent edit's background is its parent's paint, which the window layer lets reach under the edit
        // and follows with the edit's own paint; asking for a repaint from here would only come back here.
        if (FEditTransparent) {
            message.Result = 1;
            return;
        }
        inherited::WndProc(message);
        return;
    case CN_CTLCOLOREDIT:
    case CN_CTLCOLORSTATIC:
        CNCtlColor(message);
        return;
    case CM_CANCELMODE:
        inherited::WndProc(message);
        if (OnEditCancelMode)
            OnEditCancelMode(MessageSender(message));
        return;
    default:
        if (!FMenu.HandleMessage(this, this, message))
            inherited::WndProc(message);
    }
}

// ---- TspSkinCustomEdit -----------------------------------------------------------------------------------------

TspSkinCustomEdit::TspSkinCustomEdit(TComponent* owner)
    : TspCustomEdit(owner)
    , FDefaultFont(std::make_unique<TFont>())
{
    SetAutoSize(false);
    SetBorderStyle(ebsNone);
    SetEditTransparent(true);
    Font()->SetName("Arial");
    Font()->SetStyle({});
    Font()->SetHeight(14);
    Font()->SetColor(clBlack);
    FDefaultFont->Assign(Font());
    FDefaultFont->OnChange = [this](TObject* sender) { OnDefaultFontChange(sender); };
    SetBounds(Left(), Top(), 121, 20);
}

TspSkinCustomEdit::~TspSkinCustomEdit()
{
    FDefaultFont->OnChange = nullptr;
}

TspDataSkinEditControl* TspSkinCustomEdit::Record() const
{
    return SkinRecordAt<TspDataSkinEditControl>(FSkinData, FIndex);
}

void TspSkinCustomEdit::GetSkinData()
{
    FIndex = -1;
    if (!FSkinData || FSkinData->Empty)
        return;
    FIndex = FSkinData->GetControlIndex(FSkinDataName);
    const TspDataSkinEditControl* record = Record();
    if (!record)
        return;
    Picture = SkinPictureAt(FSkinData, record->PictureIndex);
    SkinRect = record->SkinRect;
    ActiveSkinRect = IsNullRect(record->ActiveSkinRect) ? record->SkinRect : record->ActiveSkinRect;
    LOffset = record->LeftTopPoint.X;
    ROffset = RectWidth(record->SkinRect) - record->RightTopPoint.X;
    ClRect = record->ClientRect;
    FontName = record->FontName;
    FontHeight = record->FontHeight;
    FontStyle = record->FontStyle;
    FontColor = record->FontColor;
    ActiveFontColor = record->ActiveFontColor;
    DisabledFontColor = record->DisabledFontColor;
    SkinButtonRect = record->ButtonRect;
    ActiveButtonRect = record->ActiveButtonRect;
    DownButtonRect = IsNullRect(record->DownButtonRect) ? record->ActiveButtonRect : record->DownButtonRect;
    UnEnabledButtonRect = record->UnEnabledButtonRect;
    StretchEffect = record->StretchEffect;
}

void TspSkinCustomEdit::SetSkinData(TspSkinData* value)
{
    if (FSkinData)
        FSkinData->RemoveFreeNotification(this);
    FSkinData = value;
    if (FSkinData)
        FSkinData->FreeNotification(this);
    if (FSkinData && !FSkinData->Empty && !ComponentState().Contains(csDesigning))
        ChangeSkinData();
}

void TspSkinCustomEdit::Notification(TComponent* component, TOperation operation)
{
    inherited::Notification(component, operation);
    if (operation == opRemove && component == FSkinData)
        FSkinData = nullptr;
}

void TspSkinCustomEdit::Loaded()
{
    inherited::Loaded();
    if (FSkinData && FSkinData->ResourceStrData())
        Font()->SetCharset(FSkinData->ResourceStrData()->CharSet());
}

void TspSkinCustomEdit::ChangeSkinData()
{
    GetSkinData();
    const TspDataSkinEditControl* record = Record();
    if (!record) {
        Font()->Assign(FDefaultFont.get());
        if (FDefaultWidth > 0)
            SetWidth(FDefaultWidth);
        if (FDefaultHeight > 0)
            SetHeight(FDefaultHeight);
    } else {
        SkinControlSupport::ApplyCaptionFont(
            Font(), SkinControlSupport::RecordFont(record), FUseSkinFont, FDefaultFont.get(), FSkinData);
        if (FUseSkinFont)
            SetHeight(RectHeight(SkinRect));
    }
    if (!record && FSkinData && FSkinData->ResourceStrData())
        Font()->SetCharset(FSkinData->ResourceStrData()->CharSet());
    if (HandleAllocated())
        RecreateWnd();
    UpdateFontColor();
    if (!FUseSkinFont)
        AdjustEditHeight();
    CalcRects();
    InvalidateNC();
    Invalidate();
}

bool TspSkinCustomEdit::Active() const
{
    return MouseIn || const_cast<TspSkinCustomEdit*>(this)->Focused();
}

void TspSkinCustomEdit::UpdateFontColor()
{
    TColor color;
    if (Enabled())
        color = FIndex == -1 ? FDefaultFont->Color() : (Focused() || MouseIn ? ActiveFontColor : FontColor);
    else
        color = FIndex == -1 ? clGrayText : DisabledFontColor;
    Font()->SetColor(color);
}

void TspSkinCustomEdit::OnDefaultFontChange(TObject*)
{
    if (FIndex == -1)
        Font()->Assign(FDefaultFont.get());
}

void TspSkinCustomEdit::SetDefaultFont(TFont* value)
{
    FDefaultFont->Assign(value);
    if (FIndex == -1)
        Font()->Assign(value);
}

void TspSkinCustomEdit::SetDefaultColor(TColor value)
{
    FDefaultColor = value;
    GetSkinData();
    if (FIndex == -1)
        Invalidate();
}

void TspSkinCustomEdit::SetDefaultWidth(int value)
{
    FDefaultWidth = value;
    GetSkinData();
    if (FIndex == -1 && value > 0)
        SetWidth(value);
}

void TspSkinCustomEdit::SetDefaultHeight(int value)
{
    FDefaultHeight = value;
    GetSkinData();
    if (FIndex == -1 && value > 0) {
        if (FUseSkinFont)
            SetHeight(value);
        else
            AdjustEditHeight();
    }
}

void TspSkinCustomEdit::SetButtonMode(bool value)
{
    if (FButtonMode == value)
        return;
    FButtonMode = value;
    if (ComponentState().Contains(csDesigning) && !ComponentState().Contains(csLoading))
        FSkinDataName = value ? "buttonedit" : "edit";
    if (HandleAllocated())
        RecreateWnd();
    CalcRects();
}

void TspSkinCustomEdit::SetAlphaBlend(bool value)
{
    if (FAlphaBlend == value)
        return;
    FAlphaBlend = value;
    InvalidateNC();
    Invalidate();
}

void TspSkinCustomEdit::SetAlphaBlendValue(uint8_t value)
{
    FAlphaBlendValue = value;
    if (FAlphaBlend) {
        InvalidateNC();
        Invalidate();
    }
}

void TspSkinCustomEdit::SetAlignment(TAlignment value)
{
    if (FAlignment == value)
        return;
    FAlignment = value;
    if (HandleAllocated())
        RecreateWnd();
}

void TspSkinCustomEdit::CreateParams(TCreateParams& params)
{
    inherited::CreateParams(params);
    params.ExStyle &= ~WS_EX_TRANSPARENT;
    params.Style &= ~(ES_LEFT | ES_RIGHT | ES_CENTER);
    params.Style |= FAlignment == taRightJustify ? ES_RIGHT : FAlignment == taCenter ? ES_CENTER : ES_LEFT;
}

// ---- Geometry --------------------------------------------------------------------------------------------------

void TspSkinCustomEdit::CalcRects()
{
    const int width = Width();
    const int height = Height();
    if (FIndex == -1) {
        FButtonRect = FButtonMode ? TRect(width - height, 0, width, height) : TRect();
        const int right = FButtonMode ? FButtonRect.Left : width;
        FTextRect = TRect(2, 2, right - 2, height - 2);
        return;
    }
    const int dw = width - RectWidth(SkinRect);
    FTextRect = TRect(ClRect.Left, ClRect.Top, ClRect.Right + dw, ClRect.Bottom);
    FButtonRect = FButtonMode ? SkinButtonRect : TRect();
    if (FButtonMode && FButtonRect.Left >= RectWidth(SkinRect) - ROffset) {
        FButtonRect.Left += dw;
        FButtonRect.Right += dw;
    }
    if (!FUseSkinFont) {
        const int dh = height - RectHeight(SkinRect);
        FTextRect.Bottom += dh;
        FButtonRect.Bottom += dh;
    }
}

int TspSkinCustomEdit::CalcEditHeight()
{
    GetSkinData();
    const int frame = FIndex == -1 ? 4 : RectHeight(SkinRect) - RectHeight(ClRect);
    return SkinEditSupport::CharHeight(Font()) + frame;
}

void TspSkinCustomEdit::AdjustEditHeight()
{
    SetHeight(CalcEditHeight());
}

void TspSkinCustomEdit::SetBounds(int left, int top, int width, int height)
{
    GetSkinData();
    if ((width != Width() || height != Height()) && !(FIndex == -1 && FUseSkinFont)) {
        if (!FUseSkinFont)
            height = CalcEditHeight();
        else if (FIndex != -1)
            height = RectHeight(SkinRect);
    }
    if (Align() != alNone)
        top = CenteredTopInToolBar(Parent(), top, height, false);
    inherited::SetBounds(left, top, width, height);
    CalcRects();
    if (HandleAllocated()) {
        InvalidateNC();
        Invalidate();
    }
}

TRect TspSkinCustomEdit::ClientInWindow() const
{
    return FTextRect;
}

void TspSkinCustomEdit::Invalidate()
{
    if (Parent() && HandleAllocated())
        RedrawWindow(Handle(), nullptr, nullptr, RDW_ERASE | RDW_INVALIDATE);
    else
        TControl::Invalidate();
}

void TspSkinCustomEdit::InvalidateNC()
{
    if (Parent() && HandleAllocated())
        SendMessage(Handle(), WM_NCPAINT, 0, 0);
}

// ---- Painting --------------------------------------------------------------------------------------------------

void TspSkinCustomEdit::ComposeFrame(TBitmap* bitmap)
{
    bitmap->SetSize(Width(), Height());
    TCanvas* canvas = bitmap->Canvas();
    if (FIndex == -1) {
        const int buttonWidth = FButtonMode ? RectWidth(FButtonRect) : 0;
        const TRect frame(0, 0, Width() - buttonWidth, Height());
        canvas->Brush()->SetColor(FDefaultColor);
        canvas->FillRect(frame);
        FrameRect1(canvas, frame, clBtnShadow);
        FrameRect1(canvas, Shrunk(frame, 1), clBtnFace);
        if (FButtonMode) {
            TColor frameColor = clBtnShadow, fill = clBtnFace;
            if (ButtonDown && ButtonActive) {
                frameColor = clNavy;
                fill = static_cast<TColor>(RGB(133, 147, 181));
            } else if (ButtonActive) {
                frameColor = clNavy;
                fill = static_cast<TColor>(RGB(182, 189, 210));
            }
            canvas->Brush()->SetColor(fill);
            canvas->FillRect(FButtonRect);
            FrameRect1(canvas, FButtonRect, frameColor);
        }
        return;
    }
    const TRect& source = Active() ? ActiveSkinRect : SkinRect;
    if (FUseSkinFont) {
        CreateHSkinImage(LOffset, ROffset, bitmap, Picture, source, Width(), Height(), StretchEffect);
        bitmap->SetSize(Width(), Height());
        if (FButtonMode) {
            TRect piece;
            if (!Enabled() && !IsNullRect(UnEnabledButtonRect))
                piece = UnEnabledButtonRect;
            else if (ButtonDown && ButtonActive)
                piece = DownButtonRect;
            else if (ButtonActive)
                piece = ActiveButtonRect;
            SkinEditSupport::CopyPiece(canvas, FButtonRect, Picture, piece);
        }
        return;
    }
    // The user's font: the frame stretched to any height, its borders kept, and the button from a button record.
    CreateStretchImage(bitmap, Picture, source, ClRect, true);
    if (!FButtonMode)
        return;
    int index = FSkinData->GetControlIndex("editbutton");
    if (!SkinRecordAt<TspDataSkinButtonControl>(FSkinData, index))
        index = FSkinData->GetControlIndex("resizebutton");
    const auto* button = SkinRecordAt<TspDataSkinButtonControl>(FSkinData, index);
    if (!button)
        return;
    TRect face = button->SkinRect;
    const TRect active = IsNullRect(button->ActiveSkinRect) ? button->SkinRect : button->ActiveSkinRect;
    if (ButtonDown && ButtonActive)
        face = IsNullRect(button->DownSkinRect) ? active : button->DownSkinRect;
    else if (ButtonActive)
        face = active;
    TBitmap piece;
    piece.SetSize(RectWidth(FButtonRect), RectHeight(FButtonRect));
    CreateStretchImage(&piece, SkinPictureAt(FSkinData, button->PictureIndex), face, button->ClientRect, true);
    canvas->Draw(FButtonRect.Left, FButtonRect.Top, &piece);
}

void TspSkinCustomEdit::DrawSkinEdit(TCanvas* canvas, bool drawText)
{
    (void)drawText; // The window draws the text itself.
    if (Width() < 1 || Height() < 1)
        return;
    TBitmap image;
    ComposeFrame(&image);
    if (!FAlphaBlend) {
        canvas->Draw(0, 0, &image);
        return;
    }
    TBitmap parentImage;
    parentImage.SetSize(Width(), Height());
    GetParentImage(this, parentImage.Canvas());
    TspEffectBmp effect(image.Handle());
    const TspEffectBmp under(parentImage.Handle());
    effect.Morph(&under, 1.0 - FAlphaBlendValue / 255.0);
    effect.Draw(canvas->Handle(), 0, 0);
}

void TspSkinCustomEdit::DrawSkinEdit2(TCanvas* canvas, bool drawText)
{
    DrawSkinEdit(canvas, drawText);
}

void TspSkinCustomEdit::PaintFrame(HDC dc)
{
    GetSkinData();
    CalcRects();
    const int saved = SaveDC(dc);
    ExcludeClipRect(dc, FTextRect.Left, FTextRect.Top, FTextRect.Right, FTextRect.Bottom);
    TCanvas canvas;
    canvas.SetHandle(dc);
    if (FUseSkinFont || FIndex == -1)
        DrawSkinEdit(&canvas, false);
    else
        DrawSkinEdit2(&canvas, false);
    canvas.SetHandle(nullptr);
    RestoreDC(dc, saved);
}

void TspSkinCustomEdit::DrawEditBackGround(HDC dc)
{
    GetSkinData();
    CalcRects();
    const int width = RectWidth(FTextRect);
    const int height = RectHeight(FTextRect);
    if (width <= 0 || height <= 0)
        return;
    TBitmap image;
    image.SetSize(width, height);
    bool stretch = false;
    if (FIndex == -1) {
        image.Canvas()->Brush()->SetColor(FDefaultColor);
        image.Canvas()->FillRect(TRect(0, 0, width, height));
    } else {
        const TRect& frame = Active() ? ActiveSkinRect : SkinRect;
        const TRect source(frame.Left + ClRect.Left, frame.Top + ClRect.Top, frame.Left + ClRect.Right,
            frame.Top + ClRect.Bottom);
        const int rightTopX = RectWidth(SkinRect) - ROffset;
        CreateHSkinImage(Max(0, LOffset - ClRect.Left), Max(0, ClRect.Right - rightTopX), &image, Picture, source,
            width, RectHeight(ClRect), StretchEffect);
        stretch = !FUseSkinFont && RectHeight(ClRect) != height;
        if (stretch) {
            TBitmap stretched;
            stretched.SetSize(width, height);
            stretched.Canvas()->StretchDraw(TRect(0, 0, width, height), &image);
            image.Assign(&stretched);
        }
    }
    TCanvas canvas;
    canvas.SetHandle(dc);
    if (FAlphaBlend) {
        TBitmap parentImage;
        parentImage.SetSize(Width(), Height());
        GetParentImage(this, parentImage.Canvas());
        TBitmap under;
        under.SetSize(width, height);
        under.Canvas()->CopyRect(TRect(0, 0, width, height), parentImage.Canvas(), FTextRect);
        TspEffectBmp effect(image.Handle());
        const TspEffectBmp below(under.Handle());
        effect.Morph(&below, 1.0 - FAlphaBlendValue / 255.0);
        effect.Draw(dc, 0, 0);
    } else {
        canvas.Draw(0, 0, &image);
    }
    canvas.SetHandle(nullptr);
}

void TspSkinCustomEdit::PaintDisabledText(HDC dc)
{
    TCanvas canvas;
    canvas.SetHandle(dc);
    const TspDataSkinEditControl* record = Record();
    if (record && FUseSkinFont) {
        canvas.Font()->SetName(FontName);
        canvas.Font()->SetHeight(FontHeight);
        canvas.Font()->SetStyle(FontStyle);
        canvas.Font()->SetColor(DisabledFontColor);
    } else {
        canvas.Font()->Assign(FDefaultFont.get());
        canvas.Font()->SetColor(record ? DisabledFontColor : clGrayText);
    }
    if (FSkinData && FSkinData->ResourceStrData())
        canvas.Font()->SetCharset(FSkinData->ResourceStrData()->CharSet());
    const TRect area(0, 0, RectWidth(FTextRect), RectHeight(FTextRect));
    const std::string text = EditText();
    const int textWidth = canvas.TextWidth(text);
    int x = 2;
    if (FAlignment == taRightJustify)
        x = area.Right - textWidth - 1;
    else if (FAlignment == taCenter)
        x = area.Right / 2 - textWidth / 2;
    canvas.Brush()->SetStyle(bsClear);
    canvas.TextRect(area, x, 0, text);
    canvas.SetHandle(nullptr);
}

void TspSkinCustomEdit::WMPaint(TMessage& message)
{
    // The background is drawn behind the text in the same paint, so an erase from this paint does nothing.
    PAINTSTRUCT paint {};
    FInPaint = true;
    HDC dc = BeginPaint(Handle(), &paint);
    DrawEditBackGround(dc);
    if (Enabled()) {
        TMessage text { WM_PAINT, reinterpret_cast<uintptr_t>(dc), 0, 0 };
        DefaultHandler(text);
    } else {
        PaintDisabledText(dc);
    }
    EndPaint(Handle(), &paint);
    FInPaint = false;
    message.Result = 0;
}

void TspSkinCustomEdit::WMEraseBkgnd(TMessage& message)
{
    message.Result = 1;
    if (FInPaint)
        return;
    // An erase from outside (a control capturing what lies under it) gets background and text.
    HDC dc = reinterpret_cast<HDC>(message.WParam);
    DrawEditBackGround(dc);
    TMessage text { WM_PAINT, message.WParam, 0, 0 };
    if (Enabled())
        DefaultHandler(text);
    else
        PaintDisabledText(dc);
}

void TspSkinCustomEdit::WMNCCalcSize(TMessage& message)
{
    auto* params = reinterpret_cast<NCCALCSIZE_PARAMS*>(message.LParam);
    RECT& r = params->rgrc[0];
    GetSkinData();
    if (FIndex == -1) {
        const int height = r.bottom - r.top;
        r.left += 2;
        r.top += 2;
        r.bottom -= 2;
        r.right -= FButtonMode ? height + 2 : 2;
    } else {
        r.left += ClRect.Left;
        r.top += ClRect.Top;
        r.right -= RectWidth(SkinRect) - ClRect.Right;
        r.bottom -= RectHeight(SkinRect) - ClRect.Bottom;
    }
    if (r.right < r.left)
        r.right = r.left;
    if (r.bottom < r.top)
        r.bottom = r.top;
    message.Result = 0;
}

void TspSkinCustomEdit::WMNCPaint(TMessage& message)
{
    if (!HandleAllocated())
        return;
    HDC dc = GetWindowDC(Handle());
    if (dc) {
        PaintFrame(dc);
        ReleaseDC(Handle(), dc);
    }
    message.Result = 0;
}

void TspSkinCustomEdit::WMNCHitTest(TMessage& message)
{
    if (!FButtonMode || ComponentState().Contains(csDesigning)) {
        inherited::WndProc(message);
        return;
    }
    RECT window {};
    GetWindowRect(Handle(), &window);
    const TPoint p(GET_X_LPARAM(message.LParam) - window.left, GET_Y_LPARAM(message.LParam) - window.top);
    CalcRects();
    if (Inside(FButtonRect, p))
        message.Result = kHitButton;
    else if (!Inside(FTextRect, p))
        message.Result = kHitFrame;
    else
        inherited::WndProc(message);
}

void TspSkinCustomEdit::SetButtonActive(bool value)
{
    if (ButtonActive == value)
        return;
    ButtonActive = value;
    InvalidateNC();
}

void TspSkinCustomEdit::SetButtonDown(bool value)
{
    if (ButtonDown == value)
        return;
    ButtonDown = value;
    InvalidateNC();
}

void TspSkinCustomEdit::CMMouseEnter(TMessage& message)
{
    inherited::WndProc(message);
    MouseIn = true;
    if (FIndex != -1 && !Focused()) {
        UpdateFontColor();
        InvalidateNC();
        Invalidate();
    }
    if (OnMouseEnter)
        OnMouseEnter(this);
}

void TspSkinCustomEdit::CMMouseLeave(TMessage& message)
{
    inherited::WndProc(message);
    MouseIn = false;
    if (FIndex != -1 && !Focused()) {
        UpdateFontColor();
        InvalidateNC();
        Invalidate();
    }
    // A press on the button released outside the edit does not click it.
    ButtonDown = false;
    ButtonActive = false;
    InvalidateNC();
    if (OnMouseLeave)
        OnMouseLeave(this);
}

void TspSkinCustomEdit::WndProc(TMessage& message)
{
    switch (message.Msg) {
    case WM_NCCALCSIZE:
        WMNCCalcSize(message);
        return;
    case WM_NCPAINT:
        WMNCPaint(message);
        return;
    case CM_BENCPAINT:
        if (message.LParam != kNcPaintMark) {
            inherited::WndProc(message);
            return;
        }
        if (message.WParam)
            PaintFrame(reinterpret_cast<HDC>(message.WParam));
        message.Result = kNcPaintMark;
        return;
    case WM_ERASEBKGND:
        WMEraseBkgnd(message);
        return;
    case WM_PAINT:
        WMPaint(message);
        return;
    case WM_SIZE:
        inherited::WndProc(message);
        CalcRects();
        InvalidateNC();
        return;
    case WM_NCHITTEST:
        WMNCHitTest(message);
        return;
    case WM_NCMOUSEMOVE:
        if (FButtonMode && !ComponentState().Contains(csDesigning)) {
            SetButtonActive(message.WParam == WPARAM(kHitButton));
            if (message.WParam == WPARAM(kHitButton))
                return;
        }
        inherited::WndProc(message);
        return;
    case WM_MOUSEMOVE:
        SetButtonActive(false);
        inherited::WndProc(message);
        return;
    case WM_NCLBUTTONDOWN:
    case WM_NCLBUTTONDBLCLK:
        if (FButtonMode && !ComponentState().Contains(csDesigning) && message.WParam == WPARAM(kHitButton)) {
            ButtonActive = true;
            SetButtonDown(true);
            return;
        }
        // A press on the frame does nothing (it is no scroll bar, whatever its hit code says).
        if (message.WParam == WPARAM(kHitFrame))
            return;
        inherited::WndProc(message);
        return;
    case WM_NCLBUTTONUP:
        if (FButtonMode && !ComponentState().Contains(csDesigning) && message.WParam == WPARAM(kHitButton)) {
            const bool wasDown = ButtonDown;
            SetButtonDown(false);
            if (!wasDown)
                return;
            if (!Focused() && CanFocus())
                SetFocus();
            if (OnButtonClick)
                OnButtonClick(this);
            return;
        }
        if (message.WParam == WPARAM(kHitFrame))
            return;
        inherited::WndProc(message);
        return;
    case WM_SETFOCUS:
    case WM_KILLFOCUS:
        inherited::WndProc(message);
        if (!MouseIn && FIndex != -1) {
            UpdateFontColor();
            InvalidateNC();
            Invalidate();
        }
        return;
    case CM_MOUSEENTER:
        CMMouseEnter(message);
        return;
    case CM_MOUSELEAVE:
        CMMouseLeave(message);
        return;
    case CM_ENABLEDCHANGED:
        inherited::WndProc(message);
        GetSkinData();
        UpdateFontColor();
        InvalidateNC();
        Invalidate();
        return;
    case CM_FONTCHANGED:
        inherited::WndProc(message);
        if (!FUseSkinFont && !(ComponentState().Contains(csDesigning) && ComponentState().Contains(csLoading)))
            AdjustEditHeight();
        return;
    default:
        inherited::WndProc(message);
    }
}
