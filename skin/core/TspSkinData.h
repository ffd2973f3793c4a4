// TspSkinData, the container of one loaded skin, and TspSkinColors, the skin's ten colours.
#pragma once
#include "framework/core/TComponent.h"
#include "framework/core/TStrings.h"
#include "framework/graphics/Colors.h"
#include "framework/graphics/TBitmap.h"
#include "skin/core/SkinData.h"
#include "skin/core/SkinMessages.h"
#include "skin/core/SkinObjectRecords.h"
#include "skin/core/SkinWindowRecords.h"
#include "skin/core/TspDataSkinControl.h"

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

class TCustomIniFile;
class TspCompressedStoredSkin;
class TspResourceStrData;
class TspSkinImageCache;

// The colours of section "SKINCOLORS", each named after its key ("cbtnface" fills cBtnFace). New colours are
// black; SetColorsToDefault gives the matching system colours.
class TspSkinColors final : public TObject {
    using inherited = TObject;

public:
    TspSkinColors() = default;

    // Reads every colour, a missing key giving black.
    void LoadFromFile(TCustomIniFile* file);
    // Erases the section and writes the ten colours in key order.
    void SaveToFile(TCustomIniFile* file);
    void SetColorsToDefault();

    TColor cBtnFace {};
    TColor cBtnText {};
    TColor cWindow {};
    TColor cWindowText {};
    TColor cHighLight {};
    TColor cHighLightText {};
    TColor cBtnHighLight {};
    TColor cBtnShadow {};
    TColor c3DLight {};
    TColor c3DDkShadow {};
};

// Holds one loaded skin: its pictures, cursors, form description, colours, named areas and the records of its
// skin objects and skin controls. Skinned forms and controls point to a container (not owned), find their
// records by name and repaint when it announces a change through the skin-change messages.
//
// While Empty is true (from construction, during every load, after a clear or a failed load) consumers treat
// the container as absent. A successful load sends WM_BEFORECHANGESKINDATA (the old skin in place),
// WM_CHANGESKINDATA (the new skin complete, SkinChanging still true) and WM_AFTERCHANGESKINDATA, each to the
// owner form first and then to every other form of the screen in order; a load that fails stops after the
// first of them with Empty and SkinChanging left true, and its error reaches the caller.
//
// A control that points to a container registers with FreeNotification, so that deleting the container
// clears the control's link through Notification(container, opRemove).
class TspSkinData : public TComponent {
    using inherited = TComponent;

public:
    explicit TspSkinData(TComponent* owner);
    // Sends nothing; frees every record, picture and list.
    ~TspSkinData() override;

    // Published properties.
    // Whether forms bound to this skin wear it. Changing it sends WM_CHANGEFORMSKINNABLE.
    bool SkinnableForm() const { return FSkinnableForm; }
    void SetSkinnableForm(bool value);
    // Morphing transitions and animations run only while this is on and the skin is not Empty.
    bool EnableSkinEffects() const { return FEnableSkinEffects; }
    void SetEnableSkinEffects(bool value) { FEnableSkinEffects = value; }
    // A packed skin to load from: setting one loads it. Not owned.
    TspCompressedStoredSkin* CompressedStoredSkin() const { return FCompressedStoredSkin; }
    void SetCompressedStoredSkin(TspCompressedStoredSkin* value);
    // The interface string table of this skin's consumers. Not owned. Setting it (even to the same table)
    // sends WM_CHANGERESSTRDATA.
    TspResourceStrData* ResourceStrData() const { return FResourceStrData; }
    void SetResourceStrData(TspResourceStrData* value);

    // Loads a description file and the pictures and cursors in its folder. A file without the sections
    // "VERSION", "PICTURES", "FORMINFO", "SKINOBJECTS" and "SKINCONTROLS", or no file at all, changes nothing
    // and sends nothing. Errors of the pictures and of malformed rectangles and points reach the caller.
    void LoadFromFile(std::string_view path);
    // Loads a packed skin (nothing when it is null or empty). Data that does not unpack completely, or whose
    // inner version is not one this reader knows, raises before anything changes; later errors leave the
    // container cleared and Empty. Cursors are not carried: CursorNames stays empty and StartCursorIndex
    // and the screen's cursors keep their values.
    void LoadCompressedStoredSkin(TspCompressedStoredSkin* skin);
    // Loads a packed skin file through a temporary packed skin.
    void LoadFromCompressedFile(std::string_view path);
    // Writes the description anew into `path` (an existing file is replaced).
    void SaveToFile(std::string_view path);
    // Packs this skin and writes it as a packed file; an empty skin packs only its description.
    void SaveToCompressedFile(std::string_view path);
    // Writes the skin into `folder` as "skin.ini" with its pictures as BMP files, so that LoadFromFile can read
    // the folder again: a picture is stored under its name's file-name part (never outside the folder), and a
    // name that would be read as JPEG, or none at all, gets a BMP name of its own, which the written
    // description uses. Cursor files are not written. File errors reach the caller.
    void StoreToDisk(std::string_view folder);
    // Empties the skin and sends the three change messages.
    void ClearSkin();
    // Frees the records and the pictures and sets Empty; sends nothing.
    void ClearAll();
    // Frees the records, the active pictures and the name lists, sets both window records' picture to -1 and
    // the colours to the system colours. The version strings, the form description and the cursors stay.
    void ClearObjects();

    // The first record or area whose IDName is `name` (letter case included), or -1.
    int GetIndex(std::string_view name) const;
    int GetControlIndex(std::string_view name) const;
    int GetAreaIndex(std::string_view name) const;
    // Appends a picture loaded from `path` (JPEG when its name says so) under its file name; a picture that
    // does not load raises and appends nothing.
    void AddBitMap(std::string_view path);
    // Removes and frees active picture `index`; raises EListError for an index outside the list.
    void DeleteBitMap(int index);
    // Sends `message` (wParam this container, lParam 1000) to the owner form, then to every other form.
    void SendSkinDataMessage(UINT message);
    // The images the controls compose from this skin's pictures, kept between paints. Emptied whenever the
    // pictures change through this container (a load, a clear, AddBitMap, DeleteBitMap) or are drawn on.
    TspSkinImageCache* ImageCache() const { return FImageCache.get(); }

    // Turns a skin's cursor file into a cursor handle, null when it does not load. The window layer reads no
    // cursor files yet, so the default gives null for every file; whatever reads them installs itself here.
    static HCURSOR (*LoadCursorFile)(const std::string& path);
    // Whether a picture or cursor name from a description names a file inside the skin's own folder: relative,
    // and never climbing above the folder ("sub/../a.bmp" stays inside, "../a.bmp" does not). A skin is
    // untrusted input; it never reaches elsewhere.
    static bool InSkinFolder(std::string_view name);

    // The sections of a description. `folder` ends with a path separator.
    void ReadFormInfo(TCustomIniFile* ini);
    void WriteFormInfo(TCustomIniFile* ini);
    void ReadActivePictures(TCustomIniFile* ini, std::string_view folder);
    void WriteActivePictures(TCustomIniFile* ini);
    // Cursor numbers the screen's table cannot hold (past 32767) are passed over.
    void ReadCursors(TCustomIniFile* ini, std::string_view folder);
    void WriteCursors(TCustomIniFile* ini);
    void ReadAreas(TCustomIniFile* ini);
    void WriteAreas(TCustomIniFile* ini);
    void ReadObjects(TCustomIniFile* ini);
    void WriteObjects(TCustomIniFile* ini);
    void ReadCtrls(TCustomIniFile* ini);
    void WriteCtrls(TCustomIniFile* ini);
    // Splits a list entry at its first ":" into a record name and a type word; without ":" both are empty.
    void GetObjectTypeName(std::string_view text, std::string& name, std::string& type) const;
    // Splits an area entry into a name and a rectangle; without ":" the name is empty and `rect` unchanged.
    void GetAreaNameRect(std::string_view text, std::string& name, TRect& rect) const;
    void AddSkinArea(std::string_view name, const TRect& rect);
    // Writes the whole description through `ini`, section by section.
    void SaveToCustomIniFile(TCustomIniFile* ini);

    // ---- The loaded skin --------------------------------------------------------------------------------------
    bool Empty = true;
    // True while a load runs, from WM_BEFORECHANGESKINDATA to WM_AFTERCHANGESKINDATA.
    bool SkinChanging = false;

    // "VERSION".
    std::string SkinName;
    std::string SkinAuthor;
    std::string AuthorEmail;
    std::string AuthorURL;
    std::string SkinComments;

    // The five main pictures of "PICTURES" (empty when not given) and their names as written.
    std::unique_ptr<TBitmap> Picture;
    std::unique_ptr<TBitmap> InActivePicture;
    std::unique_ptr<TBitmap> MaskPicture;
    std::unique_ptr<TBitmap> RollUpPicture;
    std::unique_ptr<TBitmap> RollUpMaskPicture;
    std::string PictureName;
    std::string InActivePictureName;
    std::string MaskPictureName;
    std::string RollUpPictureName;
    std::string RollUpMaskPictureName;

    // The pictures every picture index points into, with their names in the same order. A picture is added
    // through AddPicture, so that drawing on it later empties the image cache.
    std::vector<std::unique_ptr<TBitmap>> ActivePictures;
    std::unique_ptr<TStringList> ActivePictureNames;

    // "CURSORS": a record's cursor index i is screen cursor StartCursorIndex + i.
    std::unique_ptr<TStringList> CursorNames;
    int32_t StartCursorIndex = 1;

    // The form description of "FORMINFO", each field named after its key.
    TPoint LeftTopPoint;
    TPoint RightTopPoint;
    TPoint LeftBottomPoint;
    TPoint RightBottomPoint;
    TRect ClientRect;
    int32_t BGPictureIndex = -1;
    int32_t MDIBGPictureIndex = -1;
    bool LeftStretch = false;
    bool RightStretch = false;
    bool TopStretch = false;
    bool BottomStretch = false;
    bool StretchEffect = false;
    TspStretchType StretchType = spstFull;
    bool MDIBGStretchEffect = false;
    TspStretchType MDIBGStretchType = spstFull;
    TRect ButtonsRect;
    TRect CaptionRect;
    int32_t ButtonsOffset = 0;
    bool ButtonsInLeft = false;
    TRect MaskRectArea;
    TPoint HitTestLeftTopPoint;
    TPoint HitTestRightTopPoint;
    TPoint HitTestLeftBottomPoint;
    TPoint HitTestRightBottomPoint;
    TPoint RollUpLeftPoint;
    TPoint RollUpRightPoint;
    TRect MainMenuRect;
    TRect IconRect;
    bool MainMenuPopupUp = false;
    int32_t BorderWidth = 0;
    int32_t FormMinWidth = 0;
    bool MDITabsTransparent = false;
    bool MainMenuBarTransparent = false;
    int32_t CursorIndex = -1;
    bool AutoRenderingInActiveImage = false;
    TspInActiveEffect InActiveEffect = ieBrightness;
    TRect SizeGripArea;
    std::string StatusBarName;

    std::unique_ptr<TspDataSkinPopupWindow> PopupWindow;
    std::unique_ptr<TspDataSkinHintWindow> HintWindow;
    std::unique_ptr<TspSkinColors> Colors;

    // The records in file order, which decides which of two records of one name a look-up finds.
    std::vector<std::unique_ptr<TspDataSkinArea>> AreaRecords;
    std::vector<std::unique_ptr<TspDataSkinObject>> ObjectRecords;
    std::vector<std::unique_ptr<TspDataSkinControl>> ControlRecords;

protected:
    void Notification(TComponent* component, TOperation operation) override;

private:
    friend class TspCompressedStoredSkin;

    // The reading steps after "PICTURES" that a description and a packed skin share.
    void ReadSkinSections(TCustomIniFile* ini);
    void ReadVersionAndPictureNames(TCustomIniFile* ini);
    void LoadMainPicture(TBitmap* bitmap, const std::string& name, std::string_view folder);
    // `folder` + `name` for a picture the description names; raises Exception when the name would leave the
    // skin's folder.
    static std::string PicturePath(std::string_view folder, const std::string& name);
    void SetScreenCursor(int64_t number, const std::string& path);
    // Appends `picture` to ActivePictures and has any change of its pixels empty the image cache.
    void AddPicture(std::unique_ptr<TBitmap> picture);
    void WatchPicture(TBitmap* picture);
    // The main pictures in the order of the packed layout, with their names and keys.
    struct TMainPicture {
        TBitmap* Bitmap;
        std::string* Name;
        const char* Key;
    };
    std::vector<TMainPicture> MainPictures();

    bool FSkinnableForm = true;
    bool FEnableSkinEffects = true;
    TspCompressedStoredSkin* FCompressedStoredSkin = nullptr;
    TspResourceStrData* FResourceStrData = nullptr;
    std::unique_ptr<TspSkinImageCache> FImageCache;
};
