// TspSkinForm: picture mode's areas and the controls placed in them, the rule that places picture rectangles on
// a form of another size, the painting of the face and of the frame-mode client background, the mask test, and
// the object interface by IDName.
#include "framework/graphics/TBitmap.h"
#include "framework/graphics/TCanvas.h"
#include "platform/gdi/Raster.h"
#include "platform/win/Windows.h"
#include "skin/core/SkinControlRecords.h"
#include "skin/core/SkinCustomCtrls.h"
#include "skin/core/SkinImages.h"
#include "skin/core/TspSkinData.h"
#include "skin/forms/SkinBackground.h"
#include "skin/forms/SkinButtonObjects.h"
#include "skin/forms/SkinTextObjects.h"
#include "skin/forms/SkinValueObjects.h"
#include "skin/forms/TspSkinForm.h"

using namespace SPUtils;

namespace {

bool InRect(const TRect& r, int x, int y)
{
    return x >= r.Left && x < r.Right && y >= r.Top && y < r.Bottom;
}

bool CornersIn(const TRect& r, const TRect& topLeftZone, const TRect& bottomRightZone)
{
    return InRect(topLeftZone, r.Left, r.Top) && InRect(bottomRightZone, r.Right, r.Bottom);
}

TRect Offset(TRect r, int dx, int dy)
{
    return Rect(r.Left + dx, r.Top + dy, r.Right + dx, r.Bottom + dy);
}

bool SkinLoaded(const TspSkinData* skin)
{
    return skin && !skin->Empty;
}

// Draws `bitmap` on a DC at (x, y).
void DrawOn(HDC dc, int x, int y, TBitmap* bitmap)
{
    TCanvas canvas;
    canvas.SetHandle(dc);
    canvas.Draw(x, y, bitmap);
    canvas.SetHandle(nullptr);
}

} // namespace

// ---- Areas ------------------------------------------------------------------------------------------------------

TRect TspSkinForm::GetAreaRect(std::string_view areaName) const
{
    TRect result = NullRect();
    if (!SkinLoaded(FSkinData))
        return result;
    // The last area of the name.
    for (auto& area : FSkinData->AreaRecords)
        if (area->IDName == areaName)
            result = area->AreaRect;
    return result;
}

void TspSkinForm::LinkControlToArea(std::string_view areaName, TControl* control)
{
    if (!FSkinData || !control)
        return;
    const int index = FSkinData->GetAreaIndex(areaName);
    if (index == -1)
        return;
    control->SetAlign(alNone);
    AreaLinks.push_back(TAreaLink { control, FSkinData->AreaRecords[size_t(index)]->AreaRect });
}

void TspSkinForm::UnLinkControlFromArea(TControl* control)
{
    for (auto it = AreaLinks.begin(); it != AreaLinks.end(); ++it)
        if (it->Control == control) {
            AreaLinks.erase(it);
            return;
        }
}

void TspSkinForm::LinkControlsToAreas()
{
    for (int i = 0; i < FForm->ControlCount(); ++i) {
        TControl* control = FForm->Controls(i);
        if (auto* skinned = dynamic_cast<TspSkinControl*>(control); skinned && !skinned->AreaName().empty())
            LinkControlToArea(skinned->AreaName(), control);
        else if (auto* graphic = dynamic_cast<TspGraphicSkinControl*>(control); graphic && !graphic->AreaName().empty())
            LinkControlToArea(graphic->AreaName(), control);
    }
}

void TspSkinForm::ControlsToAreas()
{
    if (AreaLinks.empty())
        return;
    const bool scalable = CanScale();
    for (const TAreaLink& link : AreaLinks) {
        const TRect r = scalable ? CalcRealObjectRect(link.AreaRect) : link.AreaRect;
        link.Control->SetBounds(r.Left, r.Top, RectWidth(r), RectHeight(r));
        if (auto* windowed = dynamic_cast<TWinControl*>(link.Control))
            windowed->Realign();
    }
}

// ---- Placing picture rectangles on the form ---------------------------------------------------------------------

TRect TspSkinForm::CalcRealObjectRect(const TRect& r) const
{
    if (!SkinLoaded(FSkinData) || !FSkinData->Picture)
        return r;
    const TspSkinData& s = *FSkinData;
    const int w = s.Picture->Width();
    const int h = s.Picture->Height();
    const TRect topLeft = Rect(0, 0, s.LeftTopPoint.X, s.LeftTopPoint.Y);
    const TRect topRight = Rect(s.RightTopPoint.X, 0, w, s.RightTopPoint.Y);
    const TRect bottomLeft = Rect(0, s.LeftBottomPoint.Y, s.LeftBottomPoint.X, h);
    const TRect bottomRight = Rect(s.RightBottomPoint.X, s.RightBottomPoint.Y, w, h);
    if (IsNullRect(topLeft) && IsNullRect(topRight) && IsNullRect(bottomLeft) && IsNullRect(bottomRight))
        return r;
    // The growth of the form over the picture.
    const int dx = CurFramePoints[3].X - s.RightBottomPoint.X;
    const int dy = CurFramePoints[3].Y - s.RightBottomPoint.Y;
    if (CornersIn(r, topLeft, topLeft))
        return r;
    if (CornersIn(r, topRight, topRight))
        return Offset(r, dx, 0);
    if (CornersIn(r, bottomLeft, bottomLeft))
        return Offset(r, 0, dy);
    if (CornersIn(r, bottomRight, bottomRight))
        return Offset(r, dx, dy);
    TRect result = r;
    if (CornersIn(r, topLeft, bottomRight)) {
        result.Right += dx;
        result.Bottom += dy;
    } else if (CornersIn(r, topLeft, topRight)) {
        result.Right += dx;
    } else if (CornersIn(r, bottomLeft, bottomRight)) {
        result.Right += dx;
        result = Offset(result, 0, dy);
    } else if (CornersIn(r, topLeft, bottomLeft)) {
        result.Bottom += dy;
    } else if (CornersIn(r, topRight, bottomRight)) {
        result = Offset(result, dx, 0);
        result.Bottom += dy;
    }
    return result;
}

void TspSkinForm::CreateRealBitMap(TBitmap* dest, TBitmap* src) const
{
    const TspSkinData& s = *FSkinData;
    CreateSkinImage(s.LeftTopPoint, s.RightTopPoint, s.LeftBottomPoint, s.RightBottomPoint, s.ClientRect,
        CurFramePoints[0], CurFramePoints[1], CurFramePoints[2], CurFramePoints[3], CurClientRect, dest, src,
        Rect(0, 0, src->Width(), src->Height()), LayoutWidth, LayoutHeight, true, s.LeftStretch, s.TopStretch,
        s.RightStretch, s.BottomStretch, s.StretchEffect, s.StretchType);
}

// ---- Painting ---------------------------------------------------------------------------------------------------

void TspSkinForm::Paint(HDC dc)
{
    if (LayoutWidth == 0)
        LayoutWidth = FForm->Width();
    if (LayoutHeight == 0)
        LayoutHeight = FForm->Height();
    TCanvas target;
    target.SetHandle(dc);
    if (!SkinLoaded(FSkinData) || !FSkinData->Picture || FSkinData->Picture->Empty()) {
        target.Brush()->SetColor(clBtnFace);
        target.Pen()->SetColor(clBlack);
        target.Rectangle(FForm->ClientRect());
        target.SetHandle(nullptr);
        return;
    }
    const TspSkinData& s = *FSkinData;
    // The whole face is composed off-screen and copied once, so it does not flicker while objects draw.
    TBitmap face;
    face.SetPixelFormat(pf24bit);
    const bool rollUpPicture = FRolledUp && s.RollUpPicture && !s.RollUpPicture->Empty();
    if (!rollUpPicture) {
        if (s.LeftTopPoint.X || s.LeftTopPoint.Y || s.RightBottomPoint.X || s.RightBottomPoint.Y) {
            face.SetSize(LayoutWidth, LayoutHeight);
            CreateRealBitMap(&face, s.Picture.get());
        } else {
            face.Assign(s.Picture.get());
        }
    } else if (s.RollUpLeftPoint.X < s.RollUpRightPoint.X) {
        CreateHSkinImage(s.RollUpLeftPoint.X, s.RollUpPicture->Width() - s.RollUpRightPoint.X, &face,
            s.RollUpPicture.get(), Rect(0, 0, s.RollUpPicture->Width(), s.RollUpPicture->Height()), FForm->Width(),
            s.RollUpPicture->Height(), s.StretchEffect);
    } else {
        face.Assign(s.RollUpPicture.get());
    }
    for (auto& object : SkinObjects)
        if (object->RollUp == FRolledUp)
            object->Draw(face.Canvas(), false);
    if (FWindowState == wsNormal && !IsNullRect(CurSizeGripRect)) {
        const int index = FSkinData->GetControlIndex(s.StatusBarName);
        auto* panel = index == -1
            ? nullptr
            : dynamic_cast<TspDataSkinPanelControl*>(FSkinData->ControlRecords[size_t(index)].get());
        TBitmap* picture = panel ? SkinPictureAt(FSkinData, panel->PictureIndex) : nullptr;
        if (picture && !IsNullRect(panel->GripperRect)) {
            TBitmap grip;
            grip.SetSize(RectWidth(panel->GripperRect), RectHeight(panel->GripperRect));
            grip.Canvas()->CopyRect(Rect(0, 0, grip.Width(), grip.Height()), picture->Canvas(), panel->GripperRect);
            if (panel->GripperTransparent) {
                grip.SetTransparentMode(tmFixed);
                grip.SetTransparentColor(panel->GripperTransparentColor);
                grip.SetTransparent(true);
            }
            face.Canvas()->Draw(CurSizeGripRect.Left, CurSizeGripRect.Top, &grip);
        }
    }
    target.Draw(0, 0, &face);
    target.SetHandle(nullptr);
}

void PaintSkinTiled(HDC dc, TBitmap* picture, const TRect& tileRect, const TRect& client, int layoutWidth, int layoutHeight,
    bool stretch, TspStretchType stretchType)
{
    TCanvas canvas;
    canvas.SetHandle(dc);
    const int tileWidth = RectWidth(tileRect);
    const int tileHeight = RectHeight(tileRect);
    if (!picture || tileWidth <= 0 || tileHeight <= 0) {
        canvas.Brush()->SetColor(clBtnFace);
        canvas.FillRect(client);
        canvas.SetHandle(nullptr);
        return;
    }
    TBitmap tile;
    tile.SetSize(tileWidth, tileHeight);
    tile.Canvas()->CopyRect(Rect(0, 0, tileWidth, tileHeight), picture->Canvas(), tileRect);
    const int clientWidth = RectWidth(client);
    const int clientHeight = RectHeight(client);
    if (clientWidth > 0 && clientHeight > 0) {
        if (stretch && stretchType == spstFull) {
            canvas.StretchDraw(Rect(0, 0, layoutWidth, layoutHeight), &tile);
        } else if (stretch && stretchType == spstVert) {
            TBitmap band;
            band.SetSize(layoutWidth, tileHeight);
            band.Canvas()->StretchDraw(Rect(0, 0, layoutWidth, tileHeight), &tile);
            for (int i = 0; i <= layoutHeight / tileHeight; ++i)
                canvas.Draw(0, i * tileHeight, &band);
        } else if (stretch) {
            TBitmap band;
            band.SetSize(tileWidth, layoutHeight);
            band.Canvas()->StretchDraw(Rect(0, 0, tileWidth, layoutHeight), &tile);
            for (int i = 0; i <= layoutWidth / tileWidth; ++i)
                canvas.Draw(i * tileWidth, 0, &band);
        } else {
            for (int row = 0; row <= clientHeight / tileHeight; ++row)
                for (int column = 0; column <= clientWidth / tileWidth; ++column)
                    canvas.Draw(column * tileWidth, row * tileHeight, &tile);
        }
    }
    canvas.SetHandle(nullptr);
}

void TspSkinForm::PaintCachedBG(HDC dc, TBitmap* picture, const TRect& tile)
{
    const TRect client = FForm->ClientRect();
    const int width = RectWidth(client);
    const int height = RectHeight(client);
    if (width <= 0 || height <= 0)
        return;
    // The background changes only with the size and the skin: it is composed once and copied after.
    if (!FBGImageValid || FBGImage->Width() != width || FBGImage->Height() != height) {
        const TspSkinData& s = *FSkinData;
        FBGImage->SetSize(width, height);
        PaintSkinTiled(FBGImage->Canvas()->Handle(), picture, tile, client, LayoutWidth, LayoutHeight, s.StretchEffect,
            s.StretchType);
        FBGImageValid = true;
    }
    BitBlt(dc, 0, 0, width, height, FBGImage->Canvas()->Handle(), 0, 0, SRCCOPY);
}

void TspSkinForm::DrawLogoOn(HDC dc)
{
    if (FLogoBitMap->Empty())
        return;
    TCanvas canvas;
    canvas.SetHandle(dc);
    DrawLogoBitMap(&canvas);
    canvas.SetHandle(nullptr);
}

void TspSkinForm::PaintBG(HDC dc)
{
    if (!SkinLoaded(FSkinData))
        return;
    const TspSkinData& s = *FSkinData;
    // Without a client part the plain face stands alone.
    if (IsNullRect(s.ClientRect)) {
        PaintCachedBG(dc, nullptr, s.ClientRect);
        return;
    }
    PaintCachedBG(dc, s.Picture.get(), s.ClientRect);
    DrawLogoOn(dc);
}

void TspSkinForm::PaintBG2(HDC dc)
{
    if (!SkinLoaded(FSkinData))
        return;
    TBitmap* picture = SkinPictureAt(FSkinData, FSkinData->BGPictureIndex);
    PaintCachedBG(dc, picture, picture ? Rect(0, 0, picture->Width(), picture->Height()) : NullRect());
    DrawLogoOn(dc);
}

void TspSkinForm::PaintBG3(HDC dc)
{
    if (!SkinLoaded(FSkinData))
        return;
    // The MDI client's background is drawn afresh: it follows the main form's client size, not the cache's.
    const TspSkinData& s = *FSkinData;
    TBitmap* picture = SkinPictureAt(FSkinData, s.MDIBGPictureIndex);
    const TRect client = Rect(0, 0, FForm->ClientWidth(), FForm->ClientHeight());
    PaintSkinTiled(dc, picture, picture ? Rect(0, 0, picture->Width(), picture->Height()) : NullRect(), client,
        RectWidth(client), RectHeight(client), s.MDIBGStretchEffect, s.MDIBGStretchType);
    DrawLogoOn(dc);
}

// ---- Masks ------------------------------------------------------------------------------------------------------

bool TspSkinForm::InForm(TPoint p) const
{
    return FForm->HandleAllocated() && WindowFromPoint(POINT { p.X, p.Y }) == FForm->Handle();
}

bool TspSkinForm::PtInMask(TPoint p) const
{
    if (InRect(CurMaskRect, p.X, p.Y))
        return true;
    // Points come from the hit test moved by the border width: any point off a strip is outside the mask.
    auto black = [](TBitmap* strip, int x, int y) {
        if (strip->Empty() || x < 0 || y < 0 || x >= strip->Width() || y >= strip->Height())
            return false;
        return (ColorToRGB(strip->Canvas()->Pixels(x, y)) & 0xFFFFFF) == 0;
    };
    if (p.Y <= CurMaskRect.Top)
        return black(MaskStrips[0].get(), p.X, p.Y);
    if (p.Y >= CurMaskRect.Bottom)
        return black(MaskStrips[1].get(), p.X, p.Y - CurMaskRect.Bottom);
    if (p.X <= CurMaskRect.Left)
        return black(MaskStrips[2].get(), p.X, p.Y - CurMaskRect.Top);
    return black(MaskStrips[3].get(), p.X - CurMaskRect.Right, p.Y - CurMaskRect.Top);
}

// ---- The object interface by IDName -----------------------------------------------------------------------------

int TspSkinForm::GetIndex(std::string_view idName) const
{
    for (size_t i = 0; i < SkinObjects.size(); ++i)
        if (SkinObjects[i]->IDName == idName)
            return static_cast<int>(i);
    return -1;
}

namespace {

template <class T> T* Named(const TspSkinForm& form, std::string_view idName)
{
    const int index = form.GetIndex(idName);
    return index == -1 ? nullptr : dynamic_cast<T*>(form.ObjectAt(index));
}

} // namespace

void TspSkinForm::SetEnabled(std::string_view idName, bool value)
{
    // The caller refreshes the form.
    if (auto* object = Named<TspActiveSkinObject>(*this, idName))
        object->Enabled = value;
}

void TspSkinForm::ButtonSetDown(std::string_view idName, bool value)
{
    if (auto* button = Named<TspSkinButtonObject>(*this, idName))
        button->SetDown(value);
}

bool TspSkinForm::ButtonGetDown(std::string_view idName) const
{
    auto* button = Named<TspSkinButtonObject>(*this, idName);
    return button && button->Down;
}

void TspSkinForm::SwitchSetState(std::string_view idName, TSwitchState state)
{
    if (auto* sw = Named<TspSkinSwitchObject>(*this, idName)) {
        if (SkinChanging)
            sw->SimpleSetState(state);
        else
            sw->SetState(state);
    }
}

TSwitchState TspSkinForm::SwitchGetState(std::string_view idName) const
{
    auto* sw = Named<TspSkinSwitchObject>(*this, idName);
    return sw ? sw->State : swsOff;
}

void TspSkinForm::TrackBarSetValue(std::string_view idName, int value)
{
    if (auto* track = Named<TspSkinTrackBarObject>(*this, idName)) {
        if (SkinChanging)
            track->SimplySetValue(value);
        else
            track->SetValue(value);
    }
}

int TspSkinForm::TrackBarGetValue(std::string_view idName) const
{
    auto* track = Named<TspSkinTrackBarObject>(*this, idName);
    return track ? track->Value : 0;
}

void TspSkinForm::GaugeSetValue(std::string_view idName, int value)
{
    if (auto* gauge = Named<TspSkinGaugeObject>(*this, idName)) {
        if (SkinChanging)
            gauge->SimplySetValue(value);
        else
            gauge->SetValue(value);
    }
}

void TspSkinForm::FrameGaugeSetValue(std::string_view idName, int value)
{
    if (auto* gauge = Named<TspSkinFrameGaugeObject>(*this, idName)) {
        if (SkinChanging)
            gauge->SimplySetValue(value);
        else
            gauge->SetValue(value);
    }
}

void TspSkinForm::FrameRegulatorSetValue(std::string_view idName, int value)
{
    if (auto* regulator = Named<TspSkinFrameRegulatorObject>(*this, idName)) {
        if (SkinChanging)
            regulator->SimplySetValue(value);
        else
            regulator->SetValue(value);
    }
}

int TspSkinForm::FrameRegulatorGetValue(std::string_view idName) const
{
    auto* regulator = Named<TspSkinFrameRegulatorObject>(*this, idName);
    return regulator ? regulator->Value : 0;
}

void TspSkinForm::LabelSetText(std::string_view idName, std::string_view value)
{
    if (auto* label = Named<TspSkinLabelObject>(*this, idName))
        label->SetTextValue(value, !SkinChanging);
}

void TspSkinForm::BitLabelSetText(std::string_view idName, std::string_view value)
{
    if (auto* label = Named<TspSkinBitLabelObject>(*this, idName))
        label->SetTextValue(value, !SkinChanging);
}

void TspSkinForm::CaptionSetText(std::string_view idName, std::string_view value)
{
    if (auto* caption = Named<TspSkinCaptionObject>(*this, idName)) {
        if (SkinChanging)
            caption->SimpleSetTextValue(value);
        else
            caption->SetTextValue(value);
    }
}

void TspSkinForm::AnimateStart(std::string_view idName)
{
    if (auto* animate = Named<TspSkinAnimateObject>(*this, idName))
        animate->Start();
}

void TspSkinForm::AnimateStop(std::string_view idName)
{
    if (auto* animate = Named<TspSkinAnimateObject>(*this, idName))
        animate->Stop();
}

void TspSkinForm::UserObjectDraw(std::string_view idName)
{
    if (auto* user = Named<TspUserObject>(*this, idName); user && FForm->HandleAllocated())
        user->Draw(FForm->Canvas(), true);
}
