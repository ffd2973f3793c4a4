// TResourceForm, the hidden holder of what the whole program shares, and ResourceForm, its one instance.
#pragma once
#include "engine/Forward.h"
#include "framework/core/TComponent.h"
#include "framework/core/TStrings.h"

#include <memory>
#include <string>
#include <string_view>

class RealEncoderDllWarper;
class WM9EncoderDllWarper;

// What a list-only combo box holds, without the window: the engine stays free of the window layers. Its items
// (each item's object may carry a number, never an object) and the selected index, -1 for none.
struct TResourceComboList {
    TStringList Items;
    int ItemIndex = -1;
};

// One of the holder's two skins. The skin engine's container fills the slot at start-up (the application's
// TResourceSkinData), so the engine loads skins without depending on the skin engine.
class TResourceSkin : public TObject {
    using inherited = TObject;

public:
    // Loads the skin description at `path` with the pictures beside it. A skin that is missing or does not load
    // is reported to the user and left empty, so the windows wear their default look.
    virtual void LoadSkin(const std::string& path) = 0;
};

// Holds the profile manager, the bindings of the two run-time encoder libraries, the skins and the three name
// lists read from the libraries. The start-up creates it (owned by the application) before the main window, then
// calls LoadMainSkin, LoadFormSkin and LoadProfiles in this order; everything else reaches these through
// ResourceForm. It is never shown, so it needs no window at all.
class TResourceForm final : public TComponent {
    using inherited = TComponent;

public:
    // Creates the profile manager on ProgramFolder() + "Profiles/" (nothing is read yet), binds the Windows Media
    // library and initialises it (the binding is dropped when the library is missing, incomplete or its
    // initialisation fails), and binds the RealMedia library with a first encoder handle (dropped when the
    // library is missing or incomplete).
    explicit TResourceForm(TComponent* owner);
    // Deletes the profile manager, uninitialises and frees the Windows Media library, frees the RealMedia handle
    // and library, then the skins. Clears ResourceForm when it points here.
    ~TResourceForm() override;

    // The skins of the main window (MainSkin.ini) and of every other window (Skin.ini), from
    // ProgramFolder() + "Skin/TarnwickPro/". Nothing happens while the slot is empty.
    void LoadMainSkin();
    void LoadFormSkin();
    // Reads every profile file, loads the decoder-mode table from DecoderMode.cfg, and fills the three lists.
    void LoadProfiles();

    // The three lists, each emptied first; nothing is listed without the library's binding. The first item of a
    // list that is not empty is selected.
    // cbSystemProfile: the Windows Media system profiles, as named.
    void FillWmvSystemProfiles();
    // cbWMVAudioFormat: the formats, without blanks at their ends, of the first audio codec with an accepted name
    // (TWMVEncoderObject::IsAudioCodecName; exact names, no trimming), or of codec 0 when none has one.
    void FillWmvAudioFormats();
    // cbRealAudioFormat: the RealMedia audio codecs but those made for voice or multichannel, each without its
    // first "(music)" and without blanks at its ends, each with its library index as its object.
    void FillRealAudioCodecs();

    // As ReplaceFirst: the first occurrence of `what` in `text` replaced by `with`.
    static std::string ReplaceFirst(std::string_view text, std::string_view what, std::string_view with);

    TResourceComboList cbWMVAudioFormat;
    TResourceComboList cbSystemProfile;
    TResourceComboList cbRealAudioFormat;
    // Filled by the start-up before the skins load.
    std::unique_ptr<TResourceSkin> MainSkinData;
    std::unique_ptr<TResourceSkin> FormSkinData;
    std::unique_ptr<TProfileManager> ProfileManager;
    // Null when the library cannot be used.
    std::unique_ptr<WM9EncoderDllWarper> WM9EncoderDll;
    std::unique_ptr<RealEncoderDllWarper> RealEncoderDll;
};

// The one resource holder, set by whoever creates it (the start-up); null before and after.
extern TResourceForm* ResourceForm;
