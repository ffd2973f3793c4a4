// The skinned combo box's edit style: the editor in the item area, its messages (keys that move through or close
// the list, completion of typed text, presses and the wheel), its text kept in step with the combo box's, and its
// font and colours by look and state.
#include "framework/graphics/TBitmap.h"
#include "framework/graphics/TCanvas.h"
#include "platform/controls/MaskEngine.h"
#include "platform/controls/ListBoxControl.h"
#include "platform/gdi/GdiTypes.h"
#include "platform/win/VirtualKeys.h"
#include "platform/win/WinMessages.h"
#include "platform/win/Windows.h"
#include "skin/controls/SkinEdits.h"
#include "skin/controls/SkinLabels.h"
#include "skin/lists/TspSkinComboBox.h"

using namespace SPUtils;

namespace {

// Completion looks the typed text up at most this often.
constexpr uint64_t kCompletionInterval = 200;

int CharacterCount(std::string_view text) { return static_cast<int>(ToUtf32(text).size()); }

} // namespace

// ---- Making and freeing the editor ----------------------------------------------------------------------------

void TspSkinCustomComboBox::CreateEditor()
{
    if (FEdit)
        return;
    FEdit = new TspCustomEdit(this);
    FEdit->SetParent(this);
    FEdit->SetColor(FDefaultColor);
    FEdit->SetAutoSize(false);
    FEdit->SetHideSelection(FHideSelection);
    FEdit->SetCharCase(FCharCase);
    FOldEditProc = FEdit->WindowProc;
    FEdit->WindowProc = [this](TMessage& message) { EditHook(message); };
    FEdit->OnEditCancelMode = [this](TControl* sender) { CancelModeFrom(sender); };
    FEdit->OnChange = [this](TObject*) { EditChange(); };
    // The editor's key events are the combo box's.
    FEdit->OnKeyDown = [this](TObject*, uint16_t& key, TShiftState shift) {
        if (OnKeyDown)
            OnKeyDown(this, key, shift);
    };
    FEdit->OnKeyPress = [this](TObject*, char32_t& key) {
        if (OnKeyPress)
            OnKeyPress(this, key);
    };
    FEdit->OnKeyUp = [this](TObject*, uint16_t& key, TShiftState shift) {
        if (OnKeyUp)
            OnKeyUp(this, key, shift);
    };
    UpdateEditorFont();
    // Tab reaches the editor, not the combo box around it.
    if (!ComponentState().Contains(csDesigning)) {
        FEdit->SetTabStop(TabStop());
        SetTabStop(false);
    }
    FEdit->SetText(Text());
    const bool hadFocus = Focused();
    FEdit->SetVisible(true);
    if (hadFocus && FEdit->CanFocus())
        FEdit->SetFocus();
}

void TspSkinCustomComboBox::FreeEditor()
{
    if (!FEdit)
        return;
    TspCustomEdit* edit = FEdit;
    FEdit = nullptr;
    // The tab stop goes back to the combo box.
    if (!ComponentState().Contains(csDesigning) && !ComponentState().Contains(csDestroying))
        SetTabStop(edit->TabStop());
    const bool hadFocus = edit->Focused();
    edit->SetVisible(false);
    delete edit;
    if (hadFocus && CanFocus())
        SetFocus();
}

void TspSkinCustomComboBox::PlaceEditor()
{
    if (!FEdit)
        return;
    TBitmap measure;
    measure.Canvas()->Font()->Assign(FEdit->Font());
    const int height = std::min(measure.Canvas()->TextHeight("Wg"), std::max(0, RectHeight(CBItemRect)));
    const int top = CBItemRect.Top + (RectHeight(CBItemRect) - height) / 2;
    FEdit->SetBounds(CBItemRect.Left, top, std::max(0, RectWidth(CBItemRect)), height);
}

// ---- Properties -----------------------------------------------------------------------------------------------

void TspSkinCustomComboBox::SetHideSelection(bool value)
{
    FHideSelection = value;
    if (FEdit)
        FEdit->SetHideSelection(value);
}

void TspSkinCustomComboBox::SetCharCase(TEditCharCase value)
{
    FCharCase = value;
    if (FEdit)
        FEdit->SetCharCase(value);
}

int TspSkinCustomComboBox::SelStart() const { return FEdit ? FEdit->SelStart() : 0; }
void TspSkinCustomComboBox::SetSelStart(int value)
{
    if (FEdit)
        FEdit->SetSelStart(value);
}
int TspSkinCustomComboBox::SelLength() const { return FEdit ? FEdit->SelLength() : 0; }
void TspSkinCustomComboBox::SetSelLength(int value)
{
    if (FEdit)
        FEdit->SetSelLength(value);
}

// ---- Font and colours -----------------------------------------------------------------------------------------

void TspSkinCustomComboBox::UpdateEditorFont()
{
    if (!FEdit)
        return;
    TFont* font = FEdit->Font();
    const bool skinned = SkinIndex != -1;
    if (skinned && UseSkinFont()) {
        font->SetName(FontName);
        font->SetStyle(FontStyle);
        font->SetHeight(FontHeight);
    } else {
        const TFont* from = skinned ? DefaultFont() : Font();
        font->SetName(from->Name());
        font->SetStyle(from->Style());
        font->SetHeight(from->Height());
    }
    SkinLabels::ApplyCharset(font, SkinData(), DefaultFont());
    TColor color = skinned ? FontColor : Font()->Color();
    if (!Enabled())
        color = skinned ? DisabledFontColor(SkinData()) : clGrayText;
    else if (skinned && !IsNullRect(ActiveSkinRect) && (MouseIn || FEdit->Focused()))
        color = ActiveFontColor;
    font->SetColor(color);
    // The skin look shows the face through the editor; the default look fills it with the item colour.
    FEdit->SetEditTransparent(skinned);
    FEdit->SetColor(FDefaultColor);
    FEdit->Invalidate();
}

bool TspSkinCustomComboBox::FarEastCharset() const
{
    TFont probe;
    SkinLabels::ApplyCharset(&probe, SkinData(), DefaultFont());
    const TFontCharset charset = probe.Charset();
    return charset == SHIFTJIS_CHARSET || charset == GB2312_CHARSET || charset == CHINESEBIG5_CHARSET;
}

// ---- Text -----------------------------------------------------------------------------------------------------

void TspSkinCustomComboBox::EditChange()
{
    const std::string text = FEdit->Text();
    FFromEdit = true;
    const int current = ItemIndex();
    // The current item already shows this text: a prefix search could jump to an earlier item it begins.
    const bool onItem = current >= 0 && current < Items()->Count() && Items()->Strings(current) == text;
    if (!text.empty() && !onItem) {
        const HWND list = FListBox->ListBox()->Handle();
        const LRESULT found = SendMessage(list, LB_FINDSTRING, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(text.c_str()));
        if (found != LB_ERR)
            SendMessage(list, FAutoComplete ? LB_SETCURSEL : LB_SETTOPINDEX, static_cast<WPARAM>(found), 0);
    }
    const std::shared_ptr<bool> alive = FAlive;
    SetText(text);
    if (*alive)
        FFromEdit = false;
}

void TspSkinCustomComboBox::EditStep(int delta, bool events)
{
    const int index = ItemIndex() + delta;
    if (index < 0 || index >= Items()->Count())
        return;
    FListBox->SetItemIndex(index);
    if (!events)
        return;
    const std::shared_ptr<bool> alive = FAlive;
    SetText(Items()->Strings(index));
    if (!*alive || !FEdit)
        return;
    FEdit->SelectAll();
    if (OnClick)
        OnClick(this);
}

void TspSkinCustomComboBox::FindLBItemFromEdit()
{
    const uint64_t now = GetTickCount64();
    if (now - FLastCompletionTick < kCompletionInterval)
        return;
    FLastCompletionTick = now;
    const std::string typed = FEdit->Text();
    if (typed.empty())
        return;
    // The typed text is a prefix: its first item is looked for from the start, whatever is current.
    const HWND list = FListBox->ListBox()->Handle();
    const int found = static_cast<int>(
        SendMessage(list, LB_FINDSTRING, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(typed.c_str())));
    if (found < 0)
        return;
    const std::shared_ptr<bool> alive = FAlive;
    SetItemIndex(found);
    if (!*alive || !FEdit)
        return;
    const int typedLength = CharacterCount(typed);
    FEdit->SetSelStart(typedLength);
    FEdit->SetSelLength(CharacterCount(FEdit->Text()) - typedLength);
}

// ---- The editor's messages ------------------------------------------------------------------------------------

void TspSkinCustomComboBox::EditKeyDown(TMessage& message)
{
    const std::shared_ptr<bool> alive = FAlive;
    switch (message.WParam) {
    case VK_RETURN:
    case VK_ESCAPE:
        FListKeyUsed = IsPopupVisible();
        if (FListKeyUsed)
            CloseUp(message.WParam == VK_RETURN);
        break;
    case VK_PRIOR:
        if (IsPopupVisible())
            EditPageUp1(false);
        break;
    case VK_NEXT:
        if (IsPopupVisible())
            EditPageDown1(false);
        break;
    case VK_UP:
    case VK_DOWN:
        // Used up here: the editor itself has nothing to do with them.
        EditStep(message.WParam == VK_UP ? -1 : 1, true);
        return;
    default:
        break;
    }
    if (*alive && FEdit)
        FOldEditProc(message);
}

void TspSkinCustomComboBox::EditKeyUp(TMessage& message)
{
    const std::shared_ptr<bool> alive = FAlive;
    const WPARAM key = message.WParam;
    if (FarEastCharset()) {
        // Composed input: every key but the deleting ones leaves the text unselected before it completes.
        if (key != VK_DELETE && key != VK_BACK)
            FEdit->SetSelLength(0);
        FOldEditProc(message);
        if (*alive && FEdit && FAutoComplete && key != VK_DELETE && key != VK_BACK)
            FindLBItemFromEdit();
        return;
    }
    FOldEditProc(message);
    // Keys below "0" (moves, deletion, shifts) complete nothing.
    if (*alive && FEdit && FAutoComplete && key >= 48)
        FindLBItemFromEdit();
}

void TspSkinCustomComboBox::EditHook(TMessage& message)
{
    const std::shared_ptr<bool> alive = FAlive;
    switch (message.Msg) {
    case WM_SETFOCUS:
        FOldEditProc(message);
        UpdateEditorFont();
        Invalidate();
        return;
    case WM_KILLFOCUS:
        if (IsPopupVisible())
            CloseUp(false);
        if (!*alive || !FEdit)
            return;
        FOldEditProc(message);
        UpdateEditorFont();
        Invalidate();
        return;
    case WM_KEYDOWN:
        EditKeyDown(message);
        return;
    case WM_CHAR:
        // The Enter or Esc that closed the list goes no further: it is not meant for the form's buttons.
        if ((message.WParam == 13 || message.WParam == 27) && FListKeyUsed) {
            FListKeyUsed = false;
            return;
        }
        FOldEditProc(message);
        return;
    case WM_KEYUP:
        EditKeyUp(message);
        return;
    case WM_SYSKEYUP:
        if (FarEastCharset())
            EditKeyUp(message);
        else
            FOldEditProc(message);
        return;
    case WM_LBUTTONDOWN:
    case WM_RBUTTONDOWN:
        if (IsPopupVisible())
            CloseUp(false);
        if (*alive && FEdit)
            FOldEditProc(message);
        return;
    case WM_MOUSEWHEEL: {
        const int delta = GET_WHEEL_DELTA_WPARAM(message.WParam);
        EditStep(delta > 0 ? -1 : 1, !IsPopupVisible());
        if (*alive && FEdit)
            FOldEditProc(message);
        return;
    }
    default:
        FOldEditProc(message);
    }
}
