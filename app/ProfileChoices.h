// The two control units of the profile format pages: a list whose items stand for numbers, and a frame-size
// list with its width and height edits.
#pragma once
#include "app/ProfileFormatTables.h"

#include <cstdint>
#include <span>
#include <string>
#include <vector>

class TObject;
class TVideoProfile;
class TspSkinComboBox;
class TspSkinSpinEdit;

// A fixed list whose items stand for numbers. A value shown that no item stands for leaves the list without a
// selection and is kept, so reading the list back gives that value until the user picks an item: a profile
// shown and read back is never changed by what its page cannot show.
class TValueChoice {
public:
    explicit TValueChoice(TspSkinComboBox* combo)
        : Combo(combo)
    {
    }

    // Replaces the items; `selected` is chosen (its change event fires).
    void Fill(const std::vector<std::string>& texts, const std::vector<double>& values, int selected);
    void Fill(std::span<const ProfileFormatTables::TRateItem> items, int selected);
    // Item values are taken from the items (Hz, bit/s).
    void Fill(std::span<const ProfileFormatTables::TNumberItem> items, int selected);
    // Selects the first item standing for `value`, or none (the value is kept).
    void Show(double value);
    // Selects the item at `index` (none and the current value kept when out of range).
    void ShowIndex(int index);
    // The value of the selected item; the kept value when none is selected.
    double Read() const;
    int32_t ReadInt() const { return static_cast<int32_t>(Read()); }
    // The index of the first item standing for `value`, -1 for none.
    int IndexOf(double value) const;

    TspSkinComboBox* Combo;
    std::vector<double> Values;

private:
    double FKept = 0;
};

// A fixed list of names (the encoder libraries' audio formats and system profiles). A name shown that no item
// has leaves the list without a selection and is kept, as TValueChoice keeps numbers.
class TTextChoice {
public:
    explicit TTextChoice(TspSkinComboBox* combo)
        : Combo(combo)
    {
    }

    // Selects the first item, then the first item whose text is `name`; none when no item has it.
    void Show(const std::string& name);
    // The selected item's text; the kept name when none is selected.
    std::string Read() const;

    TspSkinComboBox* Combo;

private:
    std::string FKept;
};

// A frame-size list with its width and height edits, which behave as one unit: choosing a size fills the
// edits ("Custom" puts 0 and 0); a change of either edit chooses the size it makes, or "Custom"; leaving an
// edit rounds its value down to a whole multiple of the increment (2, or 16 for H.264).
class TFrameSizeUnit {
public:
    TFrameSizeUnit(TspSkinComboBox* choice, TspSkinSpinEdit* width, TspSkinSpinEdit* height,
        std::span<const ProfileFormatTables::TSizeItem> sizes);

    // Fills the list, binds the events and preselects the layout's size.
    void Initialize(int selected);
    // Puts the chosen size into the edits (the edits' change events are held meanwhile).
    void ChoiceChange(TObject* sender);
    // Chooses the size of the two edits, or "Custom" (the list's change event is held meanwhile).
    void EditChange(TObject* sender);
    // The increment of both edits; applied to a value when the user next leaves the edit.
    void SetIncrement(int increment);
    // Shows a stored size: the edits get it and the list follows.
    void Show(int32_t width, int32_t height);
    int32_t Width() const;
    int32_t Height() const;

    TspSkinComboBox* Choice;
    TspSkinSpinEdit* WidthEdit;
    TspSkinSpinEdit* HeightEdit;
    std::span<const ProfileFormatTables::TSizeItem> Sizes;
};

// Fills a profile list with the stored profiles of `format` (ResourceForm's manager), in the manager's order,
// and `listed` with the profile of each item; a format without profiles gets the single item "No Profile in
// this category", standing for none. Answers whether any profile was listed. Nothing is selected here.
bool ListProfilesOfFormat(TspSkinComboBox* combo, std::vector<TVideoProfile*>& listed, VideoFormatType format);

// Rounds the value of a width or height edit down to a whole multiple of its increment (the edits' exit).
void RoundToIncrement(TspSkinSpinEdit* edit);
