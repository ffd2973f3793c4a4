// TspActiveSkinObject, the root of the run-time skin objects of a skinned form: a rectangle of the form that
// draws itself from the skin's pictures, answers the mouse calls the form routes to it, blends its normal look
// into its hot look step by step (morphing) and reports to the form, which raises the events by IDName.
#pragma once
#include "skin/core/TspEffectBmp.h" // MorphByKind
#include "framework/controls/ControlsEvents.h"
#include "framework/core/TObject.h"
#include "framework/graphics/Types.h"
#include "skin/core/SkinData.h"
#include "skin/forms/SkinObjectHost.h"

#include <string>

class TBitmap;
class TCanvas;
class TspDataSkinObject;

class TspActiveSkinObject : public TObject {
    using inherited = TObject;

public:
    // `data` may be null for objects the form makes without a record (the default caption buttons).
    TspActiveSkinObject(TspSkinObjectHost* form, TspDataSkinObject* data);

    // Draws the object at ObjectRect. Standalone is true for a redraw of this object alone over the window's
    // current image, false inside a full repaint whose background already shows the main picture.
    virtual void Draw(TCanvas* canvas, bool standalone);
    virtual void DblClick() { }
    // Coordinates are the form's (frame coordinates in frame mode, client coordinates in picture mode).
    virtual void MouseDown(int x, int y, TMouseButton button);
    virtual void MouseUp(int x, int y, TMouseButton button);
    virtual void MouseMove(int x, int y);
    virtual void MouseEnter();
    virtual void MouseLeave();
    // Whether another morph step would change the look.
    virtual bool CanMorphing();

    // The record's "morphing", with a loaded skin whose effects are on.
    bool EnableMorphing() const;
    // Starts the morph timer when morphing, else draws at once.
    void Redraw();
    // One morph step toward the look that matches Active, then a draw.
    void DoMorphing();
    // Kept within 0..1; not-a-number counts as 0.
    void SetMorphKf(double value);
    double MorphKf() const { return FMorphKf; }

    TspSkinObjectHost* Parent() const { return FParent; }

    std::string IDName;
    std::string Hint;
    TRect SkinRect;
    TRect ActiveSkinRect;
    TRect InActiveSkinRect;
    bool SkinRectInAPicture = false;
    bool Morphing = false;
    TMorphKind MorphKind = mkDefault;
    int CursorIndex = -1;
    bool RollUp = false;
    // Not owned: pictures of the skin. ActivePicture is null when the record names none that exists.
    TBitmap* ActivePicture = nullptr;
    TBitmap* Picture = nullptr;

    TRect ObjectRect;
    bool Active = false;
    bool Enabled = true;
    bool Visible = true;
    bool MouseOver = false;

protected:
    // The skin this object was made with; null for objects without a skin.
    TspSkinData* SkinData() const { return FSkinData; }
    // Copies `source` of `picture` stretched onto ObjectRect; nothing without a picture or with a null source.
    void DrawLook(TCanvas* canvas, TBitmap* picture, const TRect& source) const;
    // The normal look's picture: the active picture with SkinRectInAPicture, else the main picture.
    TBitmap* NormalPicture() const { return SkinRectInAPicture ? ActivePicture : Picture; }
    // Blends the two looks (cut from their pictures and stretched to ObjectRect) by the morph factor and
    // MorphKind and draws the result at ObjectRect's top-left.
    void DrawMorph(TCanvas* canvas, TBitmap* normalPicture, const TRect& normal, TBitmap* activePicture,
        const TRect& active) const;
    // The base look (inactive, transition, active, normal), without the kinds' own looks.
    void DrawBase(TCanvas* canvas, bool standalone);
    // A transition is under way: morphing is on and the factor has not reached the end that matches Active.
    bool MorphRunning() const;

    TspSkinObjectHost* FParent;
    double FMorphKf = 0.0;

private:
    TspSkinData* FSkinData = nullptr;
};

