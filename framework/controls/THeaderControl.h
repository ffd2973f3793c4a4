// THeaderControl over the platform's "SysHeader32" window: sections kept in a collection and handed to the
// window, clicks, resizing by the dividers (tracked, with the sections' minimum and maximum widths), drag
// reordering, and owner-drawn sections.
#pragma once
#include "framework/controls/TWinControl.h"
#include "framework/core/TCollection.h"

#include <memory>
#include <string>

class TCanvas;
class TControlCanvas;
class TCustomHeaderControl;
class TCustomImageList;
class TImageListAdapter;

enum THeaderSectionStyle : uint8_t { hsText, hsOwnerDraw };
enum THeaderStyle : uint8_t { hsButtons, hsFlat };
enum TSectionTrackState : uint8_t { tsTrackBegin, tsTrackMove, tsTrackEnd };

class THeaderSection : public TCollectionItem {
    using inherited = TCollectionItem;

public:
    explicit THeaderSection(TCollection* collection);

    const std::string& Text() const { return FText; }
    void SetText(std::string_view value);
    int Width() const { return FWidth; }
    void SetWidth(int value);
    int MinWidth() const { return FMinWidth; }
    void SetMinWidth(int value);
    int MaxWidth() const { return FMaxWidth; }
    void SetMaxWidth(int value);
    TAlignment Alignment() const { return FAlignment; }
    void SetAlignment(TAlignment value);
    int ImageIndex() const { return FImageIndex; }
    void SetImageIndex(int value);
    THeaderSectionStyle Style() const { return FStyle; }
    void SetStyle(THeaderSectionStyle value);
    bool AllowClick() const { return FAllowClick; }
    void SetAllowClick(bool value) { FAllowClick = value; }
    // The section's left and right edges in the control, in the order the sections are shown.
    int Left() const;
    int Right() const { return Left() + FWidth; }
    void Assign(TPersistent* source) override;

protected:
    std::string GetDisplayName() const override;

private:
    friend class TCustomHeaderControl;
    std::string FText;
    int FWidth = 50;
    int FMinWidth = 0;
    int FMaxWidth = 10000;
    TAlignment FAlignment = taLeftJustify;
    int FImageIndex = -1;
    THeaderSectionStyle FStyle = hsText;
    bool FAllowClick = true;
};

class THeaderSections : public TOwnedCollection {
    using inherited = TOwnedCollection;

public:
    explicit THeaderSections(TCustomHeaderControl* owner);
    THeaderSection* Add() { return static_cast<THeaderSection*>(inherited::Add()); }
    THeaderSection* Items(int index) const { return static_cast<THeaderSection*>(GetItem(index)); }
    TCustomHeaderControl* Owner() const { return FHeader; }

protected:
    void Update(TCollectionItem* item) override;

private:
    TCustomHeaderControl* FHeader;
};

using TSectionNotifyEvent = std::function<void(TCustomHeaderControl* sender, THeaderSection* section)>;
using TSectionTrackEvent = std::function<void(TCustomHeaderControl* sender, THeaderSection* section, int width,
    TSectionTrackState state)>;
using TDrawSectionEvent = std::function<void(TCustomHeaderControl* sender, THeaderSection* section, TRect rect,
    bool pressed)>;
using TSectionDragEvent = std::function<void(TObject* sender, THeaderSection* fromSection,
    THeaderSection* toSection, bool& allowDrag)>;

class TCustomHeaderControl : public TWinControl {
    using inherited = TWinControl;

public:
    explicit TCustomHeaderControl(TComponent* owner);
    ~TCustomHeaderControl() override;

    THeaderSections* Sections() const { return FSections.get(); }
    THeaderStyle Style() const { return FStyle; }
    void SetStyle(THeaderStyle value);
    bool DragReorder() const { return FDragReorder; }
    void SetDragReorder(bool value);
    bool FullDrag() const { return FFullDrag; }
    void SetFullDrag(bool value);
    TCustomImageList* Images() const { return FImages; }
    void SetImages(TCustomImageList* value);
    TCanvas* Canvas() const;
    // The sections in the order they are shown (the window's order after drag reordering).
    std::vector<int> SectionOrder() const;

    TSectionNotifyEvent OnSectionClick;
    TSectionNotifyEvent OnSectionResize;
    TSectionTrackEvent OnSectionTrack;
    TDrawSectionEvent OnDrawSection;
    TSectionDragEvent OnSectionDrag;
    TNotifyEvent OnSectionEndDrag;

    void WndProc(TMessage& message) override;

protected:
    void CreateParams(TCreateParams& params) override;
    void CreateWnd() override;
    virtual void SectionClick(THeaderSection* section);
    virtual void SectionResize(THeaderSection* section);
    virtual void SectionTrack(THeaderSection* section, int width, TSectionTrackState state);
    virtual void DrawSection(THeaderSection* section, const TRect& rect, bool pressed);
    intptr_t SendToWindow(uint32_t message, uintptr_t wParam, intptr_t lParam) const;
    void Notification(TComponent* component, TOperation operation) override;

private:
    friend class THeaderSections;
    friend class THeaderSection;
    void SyncSection(int index);
    void SyncSections();
    void CNNotify(TMessage& message);
    void CNDrawItem(TMessage& message);

    std::unique_ptr<THeaderSections> FSections;
    THeaderStyle FStyle = hsButtons;
    bool FDragReorder = false;
    bool FFullDrag = true;
    TCustomImageList* FImages = nullptr;
    std::unique_ptr<TImageListAdapter> FImagesAdapter;
    std::unique_ptr<TControlCanvas> FCanvas;
    bool FSyncing = false;
};

class THeaderControl : public TCustomHeaderControl {
    using inherited = TCustomHeaderControl;

public:
    using TCustomHeaderControl::TCustomHeaderControl;
};
