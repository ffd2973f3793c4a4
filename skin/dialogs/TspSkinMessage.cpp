#include "skin/dialogs/TspSkinMessage.h"

#include "framework/controls/ExtCtrls.h"
#include "framework/controls/ImgList.h"
#include "framework/controls/TApplication.h"
#include "framework/graphics/Graphics.h"
#include "framework/graphics/TBitmap.h"
#include "framework/graphics/TCanvas.h"
#include "framework/graphics/TIcon.h"
#include "framework/graphics/TPicture.h"
#include "platform/gdi/SystemIcons.h"
#include "platform/win/Cursors.h"
#include "skin/controls/SkinButtons.h"
#include "skin/controls/SkinCheckRadio.h"
#include "skin/controls/SkinLabels.h"
#include "skin/core/SkinControlRecords.h"
#include "skin/core/TspResourceStrData.h"
#include "skin/core/TspSkinData.h"
#include "skin/forms/TspSkinForm.h"

#include <algorithm>

using namespace SPUtils;

namespace {

constexpr int kButtonWidth = 70;

struct TButtonInfo {
    const char* Name;
    const char* Key;
    const char* English;
    TModalResult Result;
};

const TButtonInfo kButtons[] = {
    { "Yes", "MSG_BTN_YES", "&Yes", mrYes },
    { "No", "MSG_BTN_NO", "&No", mrNo },
    { "OK", "MSG_BTN_OK", "OK", mrOk },
    { "Cancel", "MSG_BTN_CANCEL", "Cancel", mrCancel },
    { "Abort", "MSG_BTN_ABORT", "&Abort", mrAbort },
    { "Retry", "MSG_BTN_RETRY", "&Retry", mrRetry },
    { "Ignore", "MSG_BTN_IGNORE", "&Ignore", mrIgnore },
    { "All", "MSG_BTN_ALL", "&All", mrAll },
    { "NoToAll", "MSG_BTN_NOTOALL", "N&oToAll", mrNoToAll },
    { "YesToAll", "MSG_BTN_YESTOALL", "&YesToAll", mrYesToAll },
    { "Help", "MSG_BTN_HELP", "&Help", mrNone },
};

struct TTypeInfo {
    const char* Key;
    const char* English;
    const char* Icon;
};

const TTypeInfo kTypes[] = {
    { "MSG_CAP_WARNING", "Warning", IDI_EXCLAMATION },
    { "MSG_CAP_ERROR", "Error", IDI_HAND },
    { "MSG_CAP_INFORMATION", "Information", IDI_ASTERISK },
    { "MSG_CAP_CONFIRM", "Confirm", IDI_QUESTION },
    { nullptr, nullptr, nullptr },
};

void SetArial14(TFont* font)
{
    font->SetName("Arial");
    font->SetHeight(14);
    font->SetStyle({});
}

int TextWidth(TFont* font, const std::string& text)
{
    TBitmap measure;
    measure.SetSize(1, 1);
    measure.Canvas()->Font()->Assign(font);
    return measure.Canvas()->TextWidth(text);
}

} // namespace

// --- TspMessageForm -----------------------------------------------------------------------------------------------

TspMessageForm::TspMessageForm(TComponent* owner)
    : TForm(owner)
{
    SetPosition(poScreenCenter);
    SetBorderStyle(bsDialog);
    SetKeyPreview(true);
    SkinForm = new TspSkinForm(this);
    SkinForm->SetBorderIcons({});
    SkinForm->Sizeable = false;
}

void TspMessageForm::HelpButtonClick(TObject*) { }

// --- TspSkinMessage -----------------------------------------------------------------------------------------------

TspSkinMessage::TspSkinMessage(TComponent* owner)
    : TComponent(owner)
    , FDefaultFont(std::make_unique<TFont>())
    , FDefaultButtonFont(std::make_unique<TFont>())
{
    SetArial14(FDefaultFont.get());
    SetArial14(FDefaultButtonFont.get());
}

TspSkinMessage::~TspSkinMessage() = default;

void TspSkinMessage::SetSkinData(TspSkinData* value) { FSkins.SetSkin(value); }

void TspSkinMessage::SetCtrlSkinData(TspSkinData* value) { FSkins.SetCtrlSkin(value); }

void TspSkinMessage::SetDefaultFont(TFont* value) { FDefaultFont->Assign(value); }

void TspSkinMessage::SetDefaultButtonFont(TFont* value) { FDefaultButtonFont->Assign(value); }

void TspSkinMessage::Notification(TComponent* component, TOperation operation)
{
    inherited::Notification(component, operation);
    if (operation == opRemove)
        FSkins.Removed(component);
}

std::string TspSkinMessage::Text(const char* key, const char* english) const
{
    if (CtrlSkinData() && CtrlSkinData()->ResourceStrData())
        return CtrlSkinData()->ResourceStrData()->GetResStr(key);
    return english;
}

std::string TspSkinMessage::TypeCaption(TMsgDlgType dlgType) const
{
    if (dlgType == mtCustom)
        return Application->Title();
    return Text(kTypes[dlgType].Key, kTypes[dlgType].English);
}

int TspSkinMessage::ButtonHeight() const
{
    if (CtrlSkinData() && !CtrlSkinData()->Empty) {
        const int index = CtrlSkinData()->GetControlIndex(ButtonSkinDataName);
        if (index != -1)
            if (auto* record = dynamic_cast<TspDataSkinButtonControl*>(
                    CtrlSkinData()->ControlRecords[static_cast<size_t>(index)].get()))
                return RectHeight(record->SkinRect);
    }
    return 25;
}

std::unique_ptr<TspMessageForm> TspSkinMessage::CreateMessageForm(
    const std::string& msg, const std::string& caption, const TIconSource& icon, TMsgDlgButtons buttons)
{
    auto form = std::unique_ptr<TspMessageForm>(TCustomForm::Create<TspMessageForm>(Application));
    TspSkinForm* skin = form->SkinForm;
    skin->SetSkinData(SkinData());
    skin->SetMenusSkinData(CtrlSkinData());
    skin->AlphaBlend = AlphaBlend;
    skin->AlphaBlendAnimation = AlphaBlendAnimation;
    skin->AlphaBlendValue = AlphaBlendValue;

    const int buttonHeight = ButtonHeight();
    int count = 0;
    for (int b = mbYes; b <= mbHelp; ++b)
        if (buttons.Contains(static_cast<TMsgDlgBtn>(b)))
            ++count;
    const int rowWidth = count > 0 ? count * kButtonWidth + (count - 1) * 10 : 0;
    form->SetCaption(caption);

    auto* label = new TspSkinStdLabel(form.get());
    label->SetName("Message");
    label->Font()->Assign(FDefaultFont.get());
    label->SetDefaultFont(FDefaultFont.get());
    label->SetUseSkinFont(UseSkinFont);
    label->SetSkinDataName(MessageLabelSkinDataName);
    label->SetSkinData(CtrlSkinData());
    label->SetAutoSize(true);
    label->SetCaption(msg);
    label->SetLeft(50);
    label->SetTop(15);
    label->SetParent(form.get());
    form->Message = label;
    const int right = label->Left() + label->Width();

    if (icon.ByType) {
        auto* image = new TImage(form.get());
        image->SetName("Image");
        const int y = std::max(10, label->Top() + label->Height() / 2 - 16);
        image->SetBounds(5, y, 32, 32);
        if (const char* id = kTypes[icon.Type].Icon) {
            TIcon picture;
            // The system icon is shared: the picture takes a copy of its own.
            picture.SetHandle(CopyIcon(LoadIcon(nullptr, id)));
            image->Picture()->SetIcon(&picture);
        }
        image->SetParent(form.get());
    } else if (icon.Images && icon.ImageIndex >= 0 && icon.ImageIndex < icon.Images->Count()) {
        auto* image = new TImage(form.get());
        image->SetName("Image");
        image->SetTransparent(true);
        image->SetBounds(5, label->Top() + label->Height() / 2 - 16, icon.Images->Width(), icon.Images->Height());
        TBitmap* picture = image->Picture()->Bitmap();
        picture->SetPixelFormat(pf32bit);
        picture->SetSize(icon.Images->Width(), icon.Images->Height());
        picture->Canvas()->Brush()->SetColor(form->Color());
        picture->Canvas()->FillRect({ 0, 0, icon.Images->Width(), icon.Images->Height() });
        icon.Images->Draw(picture->Canvas(), 0, 0, icon.ImageIndex, true);
        image->SetParent(form.get());
    }

    int clientHeight = buttonHeight + label->Height() + 50;
    int clientWidth = std::max(rowWidth, right) + 40;
    if (ShowAgainFlag) {
        clientHeight += 40;
        auto* check = new TspSkinCheckRadioBox(form.get());
        check->SetName("checkbox");
        check->SetDefaultHeight(30);
        check->SetChecked(!ShowAgainFlagValue);
        check->SetDefaultFont(FDefaultFont.get());
        check->SetUseSkinFont(UseSkinFont);
        check->SetSkinData(CtrlSkinData());
        std::string text = Text("MSG_CAP_SHOWFLAG", "Do not display this message again");
        if (text.empty())
            text = "Do not display this message again";
        check->SetCaption(text);
        TFont measureFont;
        measureFont.Assign(FDefaultFont.get());
        if (UseSkinFont && check->GetSkinIndex() != -1 && CtrlSkinData())
            if (auto* record = dynamic_cast<TspDataSkinCheckRadioControl*>(
                    CtrlSkinData()->ControlRecords[static_cast<size_t>(check->GetSkinIndex())].get())) {
                measureFont.SetName(record->FontName);
                measureFont.SetHeight(record->FontHeight);
            }
        const int textWidth = TextWidth(&measureFont, text);
        clientWidth = std::max(clientWidth, textWidth + 60);
        check->SetBounds(5, clientHeight - buttonHeight - 50, textWidth + 55, 30);
        check->SetParent(form.get());
        form->CheckBox = check;
    }
    form->SetClientHeight(clientHeight);
    form->SetClientWidth(clientWidth);
    int width = std::min(form->Width(), skin->GetMaxWidth());
    width = std::max(width, skin->GetMinWidth());
    if (width != form->Width()) {
        form->SetWidth(width);
        clientWidth = form->ClientWidth();
    }

    auto pick = [&](std::initializer_list<TMsgDlgBtn> order) {
        for (TMsgDlgBtn b : order)
            if (buttons.Contains(b))
                return static_cast<int>(b);
        return -1;
    };
    const int defaultButton = buttons.Contains(mbOK) ? mbOK : buttons.Contains(mbYes) ? mbYes : pick({ mbRetry });
    const int cancelButton = buttons.Contains(mbCancel) ? mbCancel : buttons.Contains(mbNo) ? mbNo : pick({ mbOK });
    int x = (clientWidth - rowWidth) / 2;
    for (int b = mbYes; b <= mbHelp; ++b) {
        if (!buttons.Contains(static_cast<TMsgDlgBtn>(b)))
            continue;
        const TButtonInfo& info = kButtons[b];
        auto* button = new TspSkinButton(form.get());
        button->SetName(info.Name);
        button->SetCanFocused(true);
        button->SetCaption(Text(info.Key, info.English));
        button->SetModalResult(info.Result);
        button->SetDefault(b == defaultButton);
        button->SetCancel(b == cancelButton);
        button->SetDefaultHeight(buttonHeight);
        button->SetDefaultFont(FDefaultButtonFont.get());
        button->SetUseSkinFont(UseSkinFont);
        button->SetSkinDataName(ButtonSkinDataName);
        button->SetSkinData(CtrlSkinData());
        button->SetBounds(x, clientHeight - buttonHeight - 10, kButtonWidth, buttonHeight);
        button->SetParent(form.get());
        if (b == mbHelp) {
            TspMessageForm* owner = form.get();
            button->OnClick = [owner](TObject* sender) { owner->HelpButtonClick(sender); };
        }
        x += 80;
    }
    return form;
}

int TspSkinMessage::Show(std::unique_ptr<TspMessageForm> form, int helpCtx, const std::string& helpFile)
{
    form->HelpContext = helpCtx;
    form->HelpFile = helpFile;
    // The form goes with the unique pointer, also when showing raises.
    const int result = form->ShowModal();
    if (form->CheckBox)
        ShowAgainFlagValue = !form->CheckBox->Checked();
    return result;
}

int TspSkinMessage::MessageDlg(const std::string& msg, TMsgDlgType dlgType, TMsgDlgButtons buttons, int helpCtx)
{
    return MessageDlgHelp2(msg, TypeCaption(dlgType), dlgType, buttons, helpCtx, {});
}

int TspSkinMessage::MessageDlgHelp(const std::string& msg, TMsgDlgType dlgType, TMsgDlgButtons buttons,
    int helpCtx, const std::string& helpFileName)
{
    return MessageDlgHelp2(msg, TypeCaption(dlgType), dlgType, buttons, helpCtx, helpFileName);
}

int TspSkinMessage::MessageDlg2(
    const std::string& msg, const std::string& caption, TMsgDlgType dlgType, TMsgDlgButtons buttons, int helpCtx)
{
    return MessageDlgHelp2(msg, caption, dlgType, buttons, helpCtx, {});
}

int TspSkinMessage::MessageDlgHelp2(const std::string& msg, const std::string& caption, TMsgDlgType dlgType,
    TMsgDlgButtons buttons, int helpCtx, const std::string& helpFileName)
{
    return Show(CreateMessageForm(msg, caption, { true, dlgType, nullptr, -1 }, buttons), helpCtx, helpFileName);
}

int TspSkinMessage::CustomMessageDlg(const std::string& msg, const std::string& caption, TCustomImageList* images,
    int imageIndex, TMsgDlgButtons buttons, int helpCtx)
{
    return CustomMessageDlgHelp(msg, caption, images, imageIndex, buttons, helpCtx, {});
}

int TspSkinMessage::CustomMessageDlgHelp(const std::string& msg, const std::string& caption,
    TCustomImageList* images, int imageIndex, TMsgDlgButtons buttons, int helpCtx, const std::string& helpFileName)
{
    return Show(
        CreateMessageForm(msg, caption, { false, mtCustom, images, imageIndex }, buttons), helpCtx, helpFileName);
}
