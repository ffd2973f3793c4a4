#include "app/ProfileChoices.h"

#include "engine/TProfileManager.h"
#include "engine/TResourceForm.h"
#include "skin/controls/SkinSpinEdit.h"
#include "skin/lists/TspSkinComboBox.h"

#include <cmath>
#include <utility>

using namespace ProfileFormatTables;

namespace {

// Detaches an event for the scope's lifetime.
template <class TEvent> class THeldEvent {
public:
    explicit THeldEvent(TEvent& event)
        : FEvent(event)
        , FSaved(std::exchange(event, nullptr))
    {
    }
    ~THeldEvent() { FEvent = std::move(FSaved); }
    THeldEvent(const THeldEvent&) = delete;
    THeldEvent& operator=(const THeldEvent&) = delete;

private:
    TEvent& FEvent;
    TEvent FSaved;
};

} // namespace

// ---- TValueChoice ----------------------------------------------------------------------------------------------

void TValueChoice::Fill(const std::vector<std::string>& texts, const std::vector<double>& values, int selected)
{
    Values = values;
    Combo->Items()->Clear();
    for (const std::string& text : texts)
        Combo->Items()->Add(text);
    ShowIndex(selected);
}

void TValueChoice::Fill(std::span<const TRateItem> items, int selected)
{
    std::vector<std::string> texts;
    std::vector<double> values;
    for (const TRateItem& item : items) {
        texts.emplace_back(item.Text);
        values.push_back(item.Value);
    }
    Fill(texts, values, selected);
}

void TValueChoice::Fill(std::span<const TNumberItem> items, int selected)
{
    std::vector<std::string> texts;
    std::vector<double> values;
    for (const TNumberItem& item : items) {
        texts.push_back(item.Text);
        values.push_back(item.Value);
    }
    Fill(texts, values, selected);
}

int TValueChoice::IndexOf(double value) const
{
    for (size_t i = 0; i < Values.size(); ++i) {
        if (Values[i] == value)
            return static_cast<int>(i);
    }
    return -1;
}

void TValueChoice::Show(double value)
{
    FKept = value;
    Combo->SetItemIndex(IndexOf(value));
}

void TValueChoice::ShowIndex(int index)
{
    if (index >= 0 && index < static_cast<int>(Values.size()))
        FKept = Values[static_cast<size_t>(index)];
    else
        index = -1;
    Combo->SetItemIndex(index);
}

double TValueChoice::Read() const
{
    const int index = Combo->ItemIndex();
    if (index < 0 || index >= static_cast<int>(Values.size()))
        return FKept;
    return Values[static_cast<size_t>(index)];
}

// ---- TTextChoice -----------------------------------------------------------------------------------------------

void TTextChoice::Show(const std::string& name)
{
    FKept = name;
    if (Combo->Items()->Count() > 0)
        Combo->SetItemIndex(0);
    int found = -1;
    for (int i = 0; i < Combo->Items()->Count() && found < 0; ++i) {
        if (Combo->Items()->Strings(i) == name)
            found = i;
    }
    Combo->SetItemIndex(found);
}

std::string TTextChoice::Read() const
{
    const int index = Combo->ItemIndex();
    if (index < 0 || index >= Combo->Items()->Count())
        return FKept;
    return Combo->Items()->Strings(index);
}

// ---- TFrameSizeUnit --------------------------------------------------------------------------------------------

TFrameSizeUnit::TFrameSizeUnit(
    TspSkinComboBox* choice, TspSkinSpinEdit* width, TspSkinSpinEdit* height, std::span<const TSizeItem> sizes)
    : Choice(choice)
    , WidthEdit(width)
    , HeightEdit(height)
    , Sizes(sizes)
{
}

void TFrameSizeUnit::Initialize(int selected)
{
    for (TspSkinSpinEdit* edit : { WidthEdit, HeightEdit }) {
        edit->SetMinValue(0);
        edit->SetMaxValue(10000);
        edit->SetIncrement(2);
        edit->SetMaxLength(10);
        edit->OnChange = [this](TObject* sender) { EditChange(sender); };
        edit->OnEditExit = [edit](TObject*) { RoundToIncrement(edit); };
    }
    Choice->Items()->Clear();
    for (const TSizeItem& size : Sizes)
        Choice->Items()->Add(size.Text);
    Choice->OnChange = [this](TObject* sender) { ChoiceChange(sender); };
    Choice->SetItemIndex(selected);
}

void TFrameSizeUnit::ChoiceChange(TObject*)
{
    const int index = Choice->ItemIndex();
    if (index < 0 || index >= static_cast<int>(Sizes.size()))
        return;
    THeldEvent holdWidth(WidthEdit->OnChange);
    THeldEvent holdHeight(HeightEdit->OnChange);
    WidthEdit->SetValue(Sizes[static_cast<size_t>(index)].Width);
    HeightEdit->SetValue(Sizes[static_cast<size_t>(index)].Height);
}

void TFrameSizeUnit::EditChange(TObject*)
{
    const int32_t width = Width();
    const int32_t height = Height();
    int found = static_cast<int>(Sizes.size()) - 1;
    for (size_t i = 0; i + 1 < Sizes.size(); ++i) {
        if (Sizes[i].Width == width && Sizes[i].Height == height) {
            found = static_cast<int>(i);
            break;
        }
    }
    THeldEvent hold(Choice->OnChange);
    Choice->SetItemIndex(found);
}

void TFrameSizeUnit::SetIncrement(int increment)
{
    WidthEdit->SetIncrement(increment);
    HeightEdit->SetIncrement(increment);
}

void TFrameSizeUnit::Show(int32_t width, int32_t height)
{
    {
        THeldEvent hold(WidthEdit->OnChange);
        WidthEdit->SetValue(width);
    }
    HeightEdit->SetValue(height);
}

int32_t TFrameSizeUnit::Width() const
{
    return static_cast<int32_t>(WidthEdit->Value());
}
int32_t TFrameSizeUnit::Height() const
{
    return static_cast<int32_t>(HeightEdit->Value());
}

void RoundToIncrement(TspSkinSpinEdit* edit)
{
    const int64_t increment = static_cast<int64_t>(edit->Increment());
    const int64_t value = static_cast<int64_t>(edit->Value());
    if (increment > 0 && value % increment != 0)
        edit->SetValue(static_cast<double>(value / increment * increment));
}

bool ListProfilesOfFormat(TspSkinComboBox* combo, std::vector<TVideoProfile*>& listed, VideoFormatType format)
{
    combo->Items()->Clear();
    listed.clear();
    if (TProfileManager* manager = ResourceForm ? ResourceForm->ProfileManager.get() : nullptr) {
        for (int i = 0; i < manager->Count(); ++i) {
            TVideoProfile* profile = manager->Get(i);
            if (profile->FormatType != format)
                continue;
            combo->Items()->Add(profile->ProfileName);
            listed.push_back(profile);
        }
    }
    if (!listed.empty())
        return true;
    combo->Items()->Add("No Profile in this category");
    listed.push_back(nullptr);
    return false;
}
