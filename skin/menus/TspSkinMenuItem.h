// TspSkinMenuItem, one item of an open skinned menu level, and how it paints itself in the skin and default looks.
#pragma once
#include "framework/core/TObject.h"
#include "framework/graphics/Colors.h"
#include "framework/graphics/Forward.h"
#include "framework/graphics/Types.h"
#include "skin/menus/TspMenuLookCache.h"

#include <memory>

class TBitmap;
class TMenuItem;
class TspDataSkinMenuItem;
class TspSkinData;
class TspSkinPopupWindow;

// Paints into an off-screen image of its size; hover changes morph or run a frame strip on the level's timer.
class TspSkinMenuItem : public TObject {
    using inherited = TObject;

public:
    TspSkinMenuItem(TspSkinPopupWindow* parent, TMenuItem* menuItem, TspDataSkinMenuItem* data);
    ~TspSkinMenuItem() override;

    // Paints the item at its rectangle.
    void Draw(TCanvas* canvas);
    void DefaultDraw(TCanvas* canvas);
    // Asks for a repaint after a state change: starts the level's morph timer for a transition, else draws now.
    void Redraw();
    bool EnableAnimation() const;
    bool EnableMorphing() const;
    // Whether the morph factor still has to move; an item scrolled out of view drops its highlight instead.
    virtual bool CanMorphing();
    void DoMorphing();
    void SetMorphKf(double value);
    // The skin picture the items of `data` draw from, or null.
    static TBitmap* ActivePictureOf(TspSkinData* skin, const TspDataSkinMenuItem* data);

    // Whether `shown` is the kept look that Draw would copy now (resolving the item's looks on first use); never
    // when Draw would draw the item anew (a transition, owner drawing, a mix with the screen) or nothing.
    bool ShowsRestingLook(const TspKeptLevelImage::TItem& shown);
    // What the last Draw copied, in the same terms.
    const TspKeptLevelImage::TItem& LastDrawn() const { return FLastDrawn; }

    void MouseEnter(bool byKey);
    void MouseLeave();
    void MouseDown(int x, int y);

    TspSkinPopupWindow* Parent;
    TspDataSkinMenuItem* Data;
    TBitmap* ActivePicture = nullptr;
    double MorphKf = 0.0;
    TMenuItem* MenuItem;
    TRect ObjectRect;
    bool Active = false;
    bool Down = false;
    bool Visible = true;
    bool Waiting = false;
    int CurrentFrame = 0;

private:
    bool Highlighted() const { return Active || Down; }
    // A frame of the animation strip is shown.
    bool ShowsFrame() const;
    // A frame or a morph between the two looks is shown instead of a look at rest.
    bool InTransition() const;
    // Output mixes the image with the screen under the level.
    bool MixedWithScreen() const;
    void ResolveLooks();
    // The kept image that shows the item's state: 1 highlighted (a separator has no highlight), else 0.
    int LookState() const;
    // The item's look at rest, normal or highlighted (no transition under way).
    void BuildImage(TBitmap* image, bool highlighted);
    void BuildDefaultImage(TBitmap* image, bool highlighted);
    // The skin-look image of the item, highlighted or not, from `frame` of the animation strip when not null.
    void CreateItemImage(TBitmap* image, bool highlighted, const TRect* frame);
    void CreateDividerImage(TBitmap* image);
    TRect FrameRect(int frame) const;
    // Copies the image to the canvas, mixed with the screen under the level when translucency is emulated.
    void Output(TCanvas* canvas, TBitmap* image);
    // The caption, shortcut, submenu arrow and glyph or image inside text rectangle `t`.
    void DrawContent(TCanvas* canvas, const TRect& t, int glyphWidth, int arrowMargin, TColor textColor,
        TColor glyphColor, bool defaultLook);

    // Whether the look at rest is wholly given by LookKey: not for images, which can change unseen, nor for
    // owner drawing.
    bool LookIsKept() const;
    std::string LookKey() const;

    // The two looks at rest, made on first use: an open menu's items do not change, so moving the highlight
    // only copies images. They come from the chain's kept looks, so a menu opened again finds them made.
    std::shared_ptr<TspMenuLookCache::TLooks> FLooks;
    TspKeptLevelImage::TItem FLastDrawn;
};
