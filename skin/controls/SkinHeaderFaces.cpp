#include "skin/controls/SkinHeaderFaces.h"

#include "framework/graphics/TBitmap.h"
#include "framework/graphics/TCanvas.h"
#include "skin/controls/SkinControlSupport.h"
#include "skin/core/SkinControlRecords.h"
#include "skin/core/SkinCustomCtrls.h"
#include "skin/core/SkinImageCache.h"
#include "skin/core/SkinImages.h"
#include "skin/core/TspSkinData.h"

using namespace SPUtils;

namespace SkinHeaderFaces {

bool ReadHeaderFace(const TspSkinData* skin, int index, TspHeaderFace& face)
{
    if (!skin || skin->Empty)
        return false;
    // Menu-button records derive from button records and serve as well.
    auto* record = SkinRecordAt<TspDataSkinButtonControl>(skin, index);
    if (!record)
        return false;
    TBitmap* picture = LoadedSkinPictureAt(skin, record->PictureIndex);
    if (!picture)
        return false;
    face.Picture = picture;
    face.SkinRect = record->SkinRect;
    face.ActiveSkinRect = IsNullRect(record->ActiveSkinRect) ? record->SkinRect : record->ActiveSkinRect;
    face.DownSkinRect = IsNullRect(record->DownSkinRect) ? face.ActiveSkinRect : record->DownSkinRect;
    face.ClientRect = record->ClientRect;
    face.LeftTopPoint = record->LeftTopPoint;
    face.RightTopPoint = record->RightTopPoint;
    face.LeftBottomPoint = record->LeftBottomPoint;
    face.RightBottomPoint = record->RightBottomPoint;
    face.StretchEffect = record->StretchEffect;
    face.LeftStretch = record->LeftStretch;
    face.TopStretch = record->TopStretch;
    face.RightStretch = record->RightStretch;
    face.BottomStretch = record->BottomStretch;
    face.StretchType = record->StretchType;
    face.FontName = record->FontName;
    face.FontHeight = record->FontHeight;
    face.FontStyle = record->FontStyle;
    face.FontColor = record->FontColor;
    face.ActiveFontColor = record->ActiveFontColor;
    face.DownFontColor = record->DownFontColor;
    return true;
}

void NinePartFace(TBitmap* dest, const TspHeaderFace& face, const TRect& source, int width, int height,
    TspStretchType stretchType, bool leftAnchored)
{
    const int dw = width - RectWidth(face.SkinRect);
    const int dh = height - RectHeight(face.SkinRect);
    const TPoint rt { face.RightTopPoint.X + dw, face.RightTopPoint.Y };
    const TPoint lb { face.LeftBottomPoint.X, face.LeftBottomPoint.Y + dh };
    const TPoint rb { face.RightBottomPoint.X + dw, face.RightBottomPoint.Y + dh };
    TRect client = face.ClientRect;
    client.Right += dw;
    client.Bottom += dh;
    const auto build = leftAnchored ? &CreateSkinImage2 : &CreateSkinImage;
    build(face.LeftTopPoint, face.RightTopPoint, face.LeftBottomPoint, face.RightBottomPoint, face.ClientRect,
        face.LeftTopPoint, rt, lb, rb, client, dest, face.Picture, source, width, height, true, face.LeftStretch,
        face.TopStretch, face.RightStretch, face.BottomStretch, face.StretchEffect, stretchType);
}

TBitmap* CachedNinePartFace(TspSkinImageCache* cache, const TspHeaderFace& face, const TRect& source, int width,
    int height, TspStretchType stretchType, bool leftAnchored, TBitmap& scratch)
{
    TspSkinImageKey key(TspSkinImageKind::HeaderSection, face.Picture);
    key.Add(source).Add(width).Add(height).Add(int(stretchType)).Add(leftAnchored).Add(face.SkinRect)
        .Add(face.ClientRect).Add(face.LeftTopPoint).Add(face.RightTopPoint).Add(face.LeftBottomPoint)
        .Add(face.RightBottomPoint).Add(face.LeftStretch).Add(face.TopStretch).Add(face.RightStretch)
        .Add(face.BottomStretch).Add(face.StretchEffect);
    return CachedSkinImage(cache, key, scratch, [&](TBitmap* image) {
        NinePartFace(image, face, source, width, height, stretchType, leftAnchored);
    });
}

void ThreePartFace(TBitmap* dest, const TspHeaderFace& face, const TRect& source, int width, bool leftAnchored)
{
    const int left = face.LeftTopPoint.X;
    const int right = RectWidth(face.SkinRect) - face.RightTopPoint.X;
    const int height = RectHeight(source);
    if (leftAnchored)
        CreateHSkinImage2(left, right, dest, face.Picture, source, width, height, face.StretchEffect);
    else
        CreateHSkinImage(left, right, dest, face.Picture, source, width, height, face.StretchEffect);
}

void DefaultSectionFace(TCanvas* canvas, const TRect& rect, bool pressed, bool hot)
{
    TColor frame = clBtnShadow;
    TColor fill = clBtnFace;
    if (pressed) {
        frame = clNavy;
        fill = RGB(133, 147, 181);
    } else if (hot) {
        frame = clNavy;
        fill = RGB(182, 189, 210);
    }
    Frm3D(canvas, rect, frame, frame);
    canvas->Brush()->SetStyle(bsSolid);
    canvas->Brush()->SetColor(fill);
    canvas->FillRect(Rect(rect.Left + 1, rect.Top + 1, rect.Right - 1, rect.Bottom - 1));
}

} // namespace SkinHeaderFaces
