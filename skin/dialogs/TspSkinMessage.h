// TspSkinMessage: message boxes built in code as skinned forms (TspMessageForm): the message, the icon of its
// type, a row of buttons of a TMsgDlgButtons set, and optionally a "do not show again" check box. Texts come from
// the control skin's string table, with built-in English texts when there is none.
#pragma once
#include "framework/controls/Forms.h"
#include "framework/core/TSet.h"
#include "skin/dialogs/SkinDialogSkins.h"

#include <memory>
#include <string>

class TCustomImageList;
class TFont;
class TImage;
class TspSkinCheckRadioBox;
class TspSkinData;
class TspSkinForm;
class TspSkinStdLabel;

enum TMsgDlgType : uint8_t { mtWarning, mtError, mtInformation, mtConfirmation, mtCustom };
enum TMsgDlgBtn : uint8_t { mbYes, mbNo, mbOK, mbCancel, mbAbort, mbRetry, mbIgnore, mbAll, mbNoToAll, mbYesToAll, mbHelp };
using TMsgDlgButtons = TSet<TMsgDlgBtn, mbHelp>;

// The form of one message; made, shown and freed by TspSkinMessage.
class TspMessageForm : public TForm {
    using inherited = TForm;

public:
    explicit TspMessageForm(TComponent* owner);

    TspSkinForm* SkinForm = nullptr;
    TspSkinCheckRadioBox* CheckBox = nullptr;
    TspSkinStdLabel* Message = nullptr;
    int HelpContext = 0;
    std::string HelpFile;

    // The program has no help viewer: the button keeps the form open and does nothing else.
    void HelpButtonClick(TObject* sender);
};

class TspSkinMessage : public TComponent {
    using inherited = TComponent;

public:
    explicit TspSkinMessage(TComponent* owner);
    ~TspSkinMessage() override;

    TspSkinData* SkinData() const { return FSkins.Skin(); }
    void SetSkinData(TspSkinData* value);
    TspSkinData* CtrlSkinData() const { return FSkins.CtrlSkin(); }
    void SetCtrlSkinData(TspSkinData* value);
    std::string ButtonSkinDataName = "button";
    std::string MessageLabelSkinDataName = "stdlabel";
    TFont* DefaultFont() const { return FDefaultFont.get(); }
    void SetDefaultFont(TFont* value);
    TFont* DefaultButtonFont() const { return FDefaultButtonFont.get(); }
    void SetDefaultButtonFont(TFont* value);
    bool UseSkinFont = true;
    bool AlphaBlend = false;
    bool AlphaBlendAnimation = false;
    uint8_t AlphaBlendValue = 200;
    bool ShowAgainFlag = false;
    // In: the box starts unticked when true. Out: true when the user left it unticked.
    bool ShowAgainFlagValue = false;

    // Each builds the form, shows it modally and answers its modal result.
    int MessageDlg(const std::string& msg, TMsgDlgType dlgType, TMsgDlgButtons buttons, int helpCtx);
    int MessageDlgHelp(const std::string& msg, TMsgDlgType dlgType, TMsgDlgButtons buttons, int helpCtx,
        const std::string& helpFileName);
    int MessageDlg2(
        const std::string& msg, const std::string& caption, TMsgDlgType dlgType, TMsgDlgButtons buttons, int helpCtx);
    int MessageDlgHelp2(const std::string& msg, const std::string& caption, TMsgDlgType dlgType,
        TMsgDlgButtons buttons, int helpCtx, const std::string& helpFileName);
    int CustomMessageDlg(const std::string& msg, const std::string& caption, TCustomImageList* images,
        int imageIndex, TMsgDlgButtons buttons, int helpCtx);
    int CustomMessageDlgHelp(const std::string& msg, const std::string& caption, TCustomImageList* images,
        int imageIndex, TMsgDlgButtons buttons, int helpCtx, const std::string& helpFileName);

    // The caption of a type: the string table's, else the English one; mtCustom gives the application's title.
    std::string TypeCaption(TMsgDlgType dlgType) const;

protected:
    void Notification(TComponent* component, TOperation operation) override;

private:
    struct TIconSource {
        bool ByType;
        TMsgDlgType Type;
        TCustomImageList* Images;
        int ImageIndex;
    };
    std::unique_ptr<TspMessageForm> CreateMessageForm(
        const std::string& msg, const std::string& caption, const TIconSource& icon, TMsgDlgButtons buttons);
    int Show(std::unique_ptr<TspMessageForm> form, int helpCtx, const std::string& helpFile);
    std::string Text(const char* key, const char* english) const;
    int ButtonHeight() const;

    // One skin may serve both: it stays watched while either holds it.
    TspDialogSkins FSkins { this };
    std::unique_ptr<TFont> FDefaultFont;
    std::unique_ptr<TFont> FDefaultButtonFont;
};
