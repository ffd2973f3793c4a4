// TspSkinPageControl: the framework's page control drawn from the skin's "tab" record (see TspSkinTabsCore), and
// its pages TspSkinTabSheet, which paint their background from the page control's record or tile a wallpaper.
#pragma once
#include "skin/dialogs/SkinTabsCore.h"

#include <memory>

class TspSkinPageControl;

class TspSkinCustomTabSheet : public TTabSheet {
    using inherited = TTabSheet;

public:
    explicit TspSkinCustomTabSheet(TComponent* owner);
    ~TspSkinCustomTabSheet() override;

    // When not empty it replaces every other background of the sheet.
    TBitmap* WallPaper() const { return FWallPaper.get(); }
    void SetWallPaper(TBitmap* value);
    // The sheet's background into `dc`, in the sheet's coordinates.
    void PaintBG(HDC dc);
    // Tells every child that the background under it changed.
    void CheckControlsBackground();

    void WndProc(TMessage& message) override;

protected:
    void CreateParams(TCreateParams& params) override;

private:
    TspSkinPageControl* SkinPageControl() const;

    std::unique_ptr<TBitmap> FWallPaper;
};

class TspSkinTabSheet : public TspSkinCustomTabSheet {
    using inherited = TspSkinCustomTabSheet;

public:
    using TspSkinCustomTabSheet::TspSkinCustomTabSheet;
};

class TspSkinPageControl : public TspSkinTabsCore<TPageControl> {
    using inherited = TspSkinTabsCore<TPageControl>;

public:
    explicit TspSkinPageControl(TComponent* owner);

    // The page background of the record (the client piece or the background picture) over (0, 0, w, h) of `dc`;
    // false without a record.
    bool PaintPageBackground(TCanvas* canvas, int w, int h, int controlWidth, int controlHeight);
    // The record's stretch setting: a stretched background changes with the sheet's size.
    bool StretchesBackground() const { return FIndex != -1 && Values.StretchEffect; }
    using inherited::GetSkinData;

    void WndProc(TMessage& message) override;

protected:
    int TabCount() const override;
    int PageTotal() const override { return PageCount(); }
    int TabPage(int tab) const override;
    std::string TabCaption(int page) const override;
    bool TabImageOf(int page, int& imageIndex, bool& enabled) const override;
    void PaintWindow(HDC dc) override;
    void Change() override;

private:
    void DrawEmptyBackGround(HDC dc);
};
