#include "skin/forms/SkinObjects.h"

#include "framework/graphics/TBitmap.h"
#include "framework/graphics/TCanvas.h"
#include "skin/core/SkinCustomCtrls.h"
#include "skin/core/TspEffectBmp.h"
#include "skin/core/TspSkinData.h"

#include <cmath>

using namespace SPUtils;

TspActiveSkinObject::TspActiveSkinObject(TspSkinObjectHost* form, TspDataSkinObject* data)
    : FParent(form)
    , FSkinData(form ? form->SkinData() : nullptr)
{
    if (!data)
        return;
    IDName = data->IDName;
    Hint = data->Hint;
    SkinRect = data->SkinRect;
    ActiveSkinRect = data->ActiveSkinRect;
    InActiveSkinRect = data->InActiveSkinRect;
    SkinRectInAPicture = data->SkinRectInAPicture;
    Morphing = data->Morphing;
    MorphKind = data->MorphKind;
    CursorIndex = data->CursorIndex;
    RollUp = data->RollUp;
    ObjectRect = SkinRect;
    if (!FSkinData)
        return;
    ActivePicture = SkinPictureAt(FSkinData, data->ActivePictureIndex);
    // Without an active picture there is no hot look; the record itself is the skin's and stays as read.
    if (!ActivePicture)
        ActiveSkinRect = NullRect();
    TBitmap* picture = RollUp ? FSkinData->RollUpPicture.get() : FSkinData->Picture.get();
    Picture = picture && !picture->Empty() ? picture : nullptr;
}

bool TspActiveSkinObject::EnableMorphing() const
{
    return Morphing && FSkinData && !FSkinData->Empty && FSkinData->EnableSkinEffects();
}

bool TspActiveSkinObject::MorphRunning() const
{
    return EnableMorphing() && ((Active && FMorphKf != 1) || (!Active && FMorphKf != 0));
}

void TspActiveSkinObject::SetMorphKf(double value)
{
    if (!(value >= 0))
        value = 0;
    if (value > 1)
        value = 1;
    FMorphKf = value;
}

void TspActiveSkinObject::Redraw()
{
    if (EnableMorphing())
        FParent->StartMorphTimer();
    else
        FParent->DrawSkinObject(this);
}

bool TspActiveSkinObject::CanMorphing()
{
    return (Active && FMorphKf < 1) || (!Active && FMorphKf > 0);
}

void TspActiveSkinObject::DoMorphing()
{
    // The step is added in extended precision and stored as a double: five steps from 0 stop just below 1, so a
    // whole transition takes six ticks (the sixth is limited to the end).
    SetMorphKf(NextMorphFactor(FMorphKf, Active));
    FParent->DrawSkinObject(this);
}

void TspActiveSkinObject::DrawLook(TCanvas* canvas, TBitmap* picture, const TRect& source) const
{
    if (!picture || IsNullRect(source) || IsNullRect(ObjectRect))
        return;
    canvas->CopyRect(ObjectRect, picture->Canvas(), source);
}

namespace {

// `source` of `picture` stretched into a new bitmap of the given size (black where there is no picture).
void CutLook(TBitmap& bitmap, TBitmap* picture, const TRect& source, int width, int height)
{
    bitmap.SetPixelFormat(pf24bit);
    bitmap.SetSize(width, height);
    if (picture && !IsNullRect(source))
        bitmap.Canvas()->CopyRect(Rect(0, 0, width, height), picture->Canvas(), source);
}

} // namespace

void TspActiveSkinObject::DrawMorph(
    TCanvas* canvas, TBitmap* normalPicture, const TRect& normal, TBitmap* activePicture, const TRect& active) const
{
    const int width = RectWidth(ObjectRect);
    const int height = RectHeight(ObjectRect);
    if (width <= 0 || height <= 0)
        return;
    TBitmap normalLook;
    TBitmap activeLook;
    CutLook(normalLook, normalPicture, normal, width, height);
    CutLook(activeLook, activePicture, active, width, height);
    TspEffectBmp blend(normalLook.Handle());
    const TspEffectBmp target(activeLook.Handle());
    MorphByKind(blend, target, MorphKind, FMorphKf);
    blend.Draw(canvas->Handle(), ObjectRect.Left, ObjectRect.Top);
}

void TspActiveSkinObject::DrawBase(TCanvas* canvas, bool standalone)
{
    if (Enabled && !FParent->GetFormActive() && !IsNullRect(InActiveSkinRect)) {
        DrawLook(canvas, ActivePicture, InActiveSkinRect);
        return;
    }
    if (MorphRunning()) {
        DrawMorph(canvas, NormalPicture(), SkinRect, ActivePicture, ActiveSkinRect);
        return;
    }
    if (Active && !IsNullRect(ActiveSkinRect)) {
        DrawLook(canvas, ActivePicture, ActiveSkinRect);
        return;
    }
    // A full repaint already shows the normal look from the main picture underneath.
    if (!standalone && !SkinRectInAPicture)
        return;
    DrawLook(canvas, NormalPicture(), SkinRect);
}

void TspActiveSkinObject::Draw(TCanvas* canvas, bool standalone)
{
    DrawBase(canvas, standalone);
}

void TspActiveSkinObject::MouseEnter()
{
    MouseOver = true;
    Active = true;
    if (!IsNullRect(ActiveSkinRect))
        Redraw();
    FParent->MouseEnterEvent(IDName);
}

void TspActiveSkinObject::MouseLeave()
{
    MouseOver = false;
    Active = false;
    if (!IsNullRect(ActiveSkinRect))
        Redraw();
    FParent->MouseLeaveEvent(IDName);
}

void TspActiveSkinObject::MouseDown(int x, int y, TMouseButton button)
{
    FParent->MouseDownEvent(IDName, x, y, ObjectRect, button);
}

void TspActiveSkinObject::MouseUp(int x, int y, TMouseButton button)
{
    // A release away from the object is no click.
    if (MouseOver)
        FParent->MouseUpEvent(IDName, x, y, ObjectRect, button);
}

void TspActiveSkinObject::MouseMove(int x, int y)
{
    FParent->MouseMoveEvent(IDName, x, y, ObjectRect);
}
