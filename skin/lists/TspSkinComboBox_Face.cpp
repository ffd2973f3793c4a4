// The skinned combo box's face: its layout, the default look, the skin look at the skin's size or stretched, the
// drop-down button and the current item, and the skin change.
#include "framework/controls/ImgList.h"
#include "framework/graphics/TBitmap.h"
#include "framework/graphics/TCanvas.h"
#include "platform/win/Windows.h"
#include "skin/controls/SkinControlSupport.h"
#include "skin/controls/SkinEdits.h"
#include "skin/controls/SkinLabels.h"
#include "skin/core/SkinControlRecords.h"
#include "skin/core/SkinEditRecords.h"
#include "skin/core/SkinImages.h"
#include "skin/core/TspSkinData.h"
#include "skin/lists/SkinListSupport.h"
#include "skin/lists/TspSkinComboBox.h"

#include <algorithm>

using namespace SPUtils;
using namespace SkinListSupport;

void TspSkinCustomComboBox::GetSkinData()
{
    inherited::GetSkinData();
    if (!ReadComboRecord(SkinData(), SkinIndex))
        SkinIndex = -1;
}

void TspSkinCustomComboBox::ChangeSkinData()
{
    inherited::ChangeSkinData();
    CalcRects();
    Repaint();
    if (FListBox) {
        FListBox->SetSkinDataName(SkinIndex == -1 ? std::string() : ListBoxName);
        FListBox->SetSkinData(SkinData());
        FListBox->UpDateScrollBar();
    }
    CalcRects();
    UpdateEditorFont();
    PlaceEditor();
}

void TspSkinCustomComboBox::DefaultFontChange() { Font()->Assign(DefaultFont()); }

void TspSkinCustomComboBox::Invalidate()
{
    inherited::Invalidate();
    // The skin look's editor is transparent: it shows the face under it.
    if (FEdit && SkinIndex != -1)
        FEdit->Invalidate();
}

// Without the skin's size any height is allowed: only the width moves the corner points and the client area.
void TspSkinCustomComboBox::CalcSize(int& width, int& height)
{
    if (FUseSkinSize || SkinIndex == -1) {
        inherited::CalcSize(width, height);
        return;
    }
    int skinHeight = RectHeight(SkinRectangle);
    inherited::CalcSize(width, skinHeight);
}

void TspSkinCustomComboBox::SetControlRegion()
{
    if (FUseSkinSize)
        inherited::SetControlRegion();
    else
        GiveRegion(nullptr);
}

void TspSkinCustomComboBox::CalcRects()
{
    CalcFaceRects(Width(), Height(), SkinIndex != -1, SkinRectangle, RightTopPoint.X, SkinClientRect, !FUseSkinSize);
}

bool TspSkinCustomComboBox::FaceFocused() { return Focused() || (FEdit && FEdit->Focused()); }

// ---- The default look -----------------------------------------------------------------------------------------

void TspSkinCustomComboBox::CreateControlDefaultImage(TBitmap* bitmap)
{
    CalcRects();
    TCanvas* canvas = bitmap->Canvas();
    const TRect whole = Rect(0, 0, bitmap->Width(), bitmap->Height());
    canvas->Brush()->SetStyle(bsSolid);
    canvas->Brush()->SetColor(clBtnFace);
    canvas->FillRect(whole);
    canvas->Brush()->SetColor(clBtnShadow);
    canvas->FrameRect(whole);
    canvas->Brush()->SetColor(FDefaultColor);
    canvas->FillRect(Inflate(whole, -1, -1));
    DrawDefaultComboButton(canvas, Enabled());
    if (FStyle == spcbFixedStyle)
        DrawFaceItem(bitmap);
}

// ---- The skin look --------------------------------------------------------------------------------------------

void TspSkinCustomComboBox::CreateControlSkinImage(TBitmap* bitmap)
{
    CalcRects();
    const int width = bitmap->Width();
    const int height = bitmap->Height();
    if (!FUseSkinSize) {
        CreateStretchImage(bitmap, SkinPicture, SkinRectangle, SkinClientRect, true);
        DrawResizeButton(bitmap->Canvas());
    } else {
        const bool active = MouseIn || FaceFocused();
        if (!IsNullRect(ActiveSkinRect) && active)
            CreateHSkinImage(LeftTopPoint.X, RectWidth(SkinRectangle) - RightTopPoint.X, bitmap, SkinPicture,
                ActiveSkinRect, width, height, ClientStretchEffect);
        else
            inherited::CreateControlSkinImage(bitmap);
        DrawSkinComboButton(bitmap->Canvas(), SkinPicture, Enabled());
    }
    if (FStyle == spcbFixedStyle)
        DrawFaceItem(bitmap);
}

// A freely sized face takes its button from the first button record the skin has.
void TspSkinCustomComboBox::DrawResizeButton(TCanvas* canvas)
{
    const TspSkinData* skin = SkinData();
    TspDataSkinButtonControl* record = nullptr;
    for (const char* name : { "combobutton", "editbutton", "resizebutton" }) {
        record = SkinRecordAt<TspDataSkinButtonControl>(skin, skin->GetControlIndex(name));
        if (record)
            break;
    }
    TBitmap* picture = record ? SkinPictureAt(skin, record->PictureIndex) : nullptr;
    const int width = RectWidth(ButtonRect);
    const int height = RectHeight(ButtonRect);
    if (!record || !picture || width <= 0 || height <= 0) {
        DrawDefaultComboButton(canvas, Enabled());
        return;
    }
    const bool pressed = FButtonPressed && FButtonHover;
    TRect source = record->SkinRect;
    const TRect active = IsNullRect(record->ActiveSkinRect) ? record->SkinRect : record->ActiveSkinRect;
    if (pressed)
        source = IsNullRect(record->DownSkinRect) ? active : record->DownSkinRect;
    else if (FButtonHover)
        source = active;
    TBitmap button;
    button.SetSize(width, height);
    CreateStretchImage(&button, picture, source, record->ClientRect, true);
    canvas->Draw(ButtonRect.Left, ButtonRect.Top, &button);
    const TRect marker = pressed ? record->MenuMarkerDownRect
        : FButtonHover           ? record->MenuMarkerActiveRect
                                 : record->MenuMarkerRect;
    if (!IsNullRect(marker)) {
        TRect placed = Rect(0, 0, RectWidth(marker), RectHeight(marker));
        RectToCenter(placed, ButtonRect);
        SkinControlSupport::DrawPiece(canvas, placed.Left, placed.Top + (pressed ? 1 : 0), picture, marker, true,
            record->MenuMarkerTransparentColor);
    } else if (Enabled()) {
        const TColor color = pressed ? record->DownFontColor : FButtonHover ? record->ActiveFontColor : record->FontColor;
        DrawArrowImage(canvas, Offset(ButtonRect, 0, pressed ? 2 : 0), color, 4);
    }
}

// ---- The face item --------------------------------------------------------------------------------------------

void TspSkinCustomComboBox::DrawFaceItem(TBitmap* face)
{
    const int index = IsPopupVisible() ? FOldItemIndex : ItemIndex();
    if (index < 0 || index >= Items()->Count())
        return;
    const int areaWidth = RectWidth(CBItemRect);
    const int areaHeight = RectHeight(CBItemRect);
    if (areaWidth <= 0 || areaHeight <= 0)
        return;
    const bool focused = FaceFocused();
    TBitmap bitmap;
    if (SkinIndex == -1 || !SkinPicture) {
        bitmap.SetSize(areaWidth, areaHeight);
        TCanvas* cnvs = bitmap.Canvas();
        TFont* font = cnvs->Font();
        font->SetName(Font()->Name());
        font->SetStyle(Font()->Style());
        font->SetHeight(Font()->Height());
        SkinLabels::ApplyCharset(font, SkinData(), DefaultFont());
        cnvs->Brush()->SetColor(focused ? clHighlight : FDefaultColor);
        font->SetColor(focused ? clHighlightText : DefaultFont()->Color());
        cnvs->FillRect(Rect(0, 0, areaWidth, areaHeight));
        TOwnerDrawState state;
        if (focused)
            state.Include(odFocused);
        DrawFaceItemContent(cnvs, index, Rect(2, 0, areaWidth - 2, areaHeight), state, areaWidth, areaHeight);
        if (focused) {
            cnvs->Brush()->SetStyle(bsSolid);
            cnvs->Brush()->SetColor(clHighlight);
            cnvs->DrawFocusRect(Rect(0, 0, areaWidth, areaHeight));
        }
        face->Canvas()->Draw(CBItemRect.Left, CBItemRect.Top, &bitmap);
        return;
    }
    const int height = SkinItemHeight(areaHeight);
    bitmap.SetSize(areaWidth, height);
    TCanvas* cnvs = bitmap.Canvas();
    // What the face shows under the item area, for a state without a picture of its own.
    cnvs->CopyRect(Rect(0, 0, areaWidth, height), face->Canvas(),
        Rect(CBItemRect.Left, CBItemRect.Top, CBItemRect.Right, CBItemRect.Top + height));
    const TRect& source = SkinItemSource(focused);
    const bool stretch = focused ? FocusItemStretchEffect : ItemStretchEffect;
    if (!IsNullRect(source)) {
        if (FUseSkinSize) {
            CreateHSkinImage(ItemLeftOffset, ItemRightOffset, &bitmap, SkinPicture, source, areaWidth, height, stretch);
        } else {
            TRect centre = Inflate(ItemTextRect, -1, -1);
            centre.Right = std::min(centre.Right, RectWidth(source));
            centre.Bottom = std::min(centre.Bottom, RectHeight(source));
            CreateStretchImage(&bitmap, SkinPicture, source, centre, true);
        }
    }
    TRect txtRect = SkinItemTextRect(areaWidth, SkinClientRect);
    if (!FUseSkinSize)
        txtRect.Bottom += Height() - RectHeight(SkinRectangle);
    SkinControlSupport::ApplyCaptionFont(
        cnvs->Font(), { FontName, FontHeight, FontStyle, FontColor }, UseSkinFont(), DefaultFont(), SkinData());
    TColor color = SkinItemFontColor(focused);
    if (FUseSkinSize && !Enabled())
        color = DisabledFontColor(SkinData());
    cnvs->Font()->SetColor(color);
    if (focused && ShowFocus && !OnComboBoxDrawItem) {
        cnvs->Brush()->SetStyle(bsSolid);
        cnvs->Brush()->SetColor(SkinData()->Colors->cBtnFace);
        cnvs->DrawFocusRect(Rect(0, 0, areaWidth, height));
    }
    DrawFaceItemContent(cnvs, index, txtRect, {}, bitmap.Width(), bitmap.Height());
    face->Canvas()->Draw(CBItemRect.Left, CBItemRect.Top, &bitmap);
}

void TspSkinCustomComboBox::DrawFaceItemContent(
    TCanvas* cnvs, int index, TRect txtRect, TOwnerDrawState state, int width, int height)
{
    if (OnComboBoxDrawItem) {
        OnComboBoxDrawItem(cnvs, index, width, height, txtRect, state);
        return;
    }
    if (TCustomImageList* images = Images()) {
        const int image = ImageIndex() >= 0 ? ImageIndex() : index;
        if (image < images->Count())
            images->Draw(cnvs, txtRect.Left, txtRect.Top + RectHeight(txtRect) / 2 - images->Height() / 2, image);
        txtRect.Left += images->Width() + 2;
    }
    cnvs->Brush()->SetStyle(bsClear);
    const std::string text = Items()->Strings(index);
    if (TabWidths()->Count() > 0)
        DrawTabbedString(text, TabWidths(), 0, txtRect, cnvs);
    else
        SPDrawText2(cnvs, text, txtRect);
}
