// The scenario of the skinned edits' display test.
#include "tests/display/SkinEditsScenario.h"

#include "framework/controls/Forms.h"
#include "framework/controls/Menus.h"
#include "skin/controls/SkinEdits.h"
#include "skin/controls/SkinMemos.h"
#include "skin/controls/SkinSpinEdit.h"
#include "skin/core/TspSkinData.h"
#include "skin/forms/TspSkinForm.h"
#include "skin/menus/TspSkinPopupMenu.h"
#include "skin/testing/TFixtureSkin.h"
#include "platform/win/VirtualKeys.h"

using namespace std::chrono_literals;

namespace {

constexpr RECT kFormArea { 100, 100, 420, 340 };

template <class T> T* Add(TForm* form, int x, int y, int w, int h)
{
    auto* control = new T(form);
    control->SetParent(form);
    control->SetBounds(x, y, w, h);
    return control;
}

// A skin loaded from what the fixture wrote.
TspSkinData* LoadedSkin(TFixtureSkin& fixture)
{
    auto* skin = new TspSkinData(Application);
    skin->LoadFromFile(fixture.Write());
    return skin;
}

// A form without a frame over kFormArea.
TForm* FormOverArea()
{
    auto* form = TCustomForm::Create<TForm>(Application);
    form->SetBorderStyle(bsNone);
    form->SetBounds(kFormArea.left, kFormArea.top, kFormArea.right - kFormArea.left, kFormArea.bottom - kFormArea.top);
    return form;
}

// A click at a point of the form.
void ClickAt(TWindowStage& stage, int x, int y)
{
    stage.MoveTo(kFormArea.left + x, kFormArea.top + y);
    stage.ButtonDown();
    stage.ButtonUp();
}

} // namespace

std::vector<std::string> PlaySkinEdits(TWindowStage& stage, const std::function<void(const std::string&)>& setClipboard)
{
    std::vector<std::string> facts;
    InitializeForms();
    stage.MessageLoop = [] { Application->ProcessMessages(); };
    {
        // A skin with a frame, so that the form has a skinning component and the edit's menu shows.
        TFixtureSkin fixture;
        fixture.AddEverything();
        TspSkinData* skin = LoadedSkin(fixture);
        TForm* form = FormOverArea();
        auto* skinner = new TspSkinForm(form);
        skinner->SetSkinData(skin);
        auto* edit = Add<TspSkinEdit>(form, 10, 10, 200, 20);
        auto* spin = Add<TspSkinSpinEdit>(form, 10, 50, 120, 20);
        auto* memo = Add<TspSkinMemo>(form, 10, 90, 200, 80);
        form->Show();
        stage.Settle(kFormArea);

        ClickAt(stage, 50, 20);
        facts.push_back(std::string("edit focused: ") + (edit->Focused() ? "yes" : "no"));
        stage.Type("Grüße €", 7);
        facts.push_back("edit: " + edit->Text());

        ClickAt(stage, 40, 60);
        facts.push_back(std::string("spin focused: ") + (spin->Edit()->Focused() ? "yes" : "no"));
        spin->Edit()->SelectAll();
        stage.Type("42", 2);
        facts.push_back("spin: " + spin->Text());
        // The up button steps once on its release.
        ClickAt(stage, 120, 55);
        facts.push_back("spin: " + spin->Text());

        ClickAt(stage, 50, 120);
        stage.Type("één", 3);
        facts.push_back("memo: " + memo->Text());

        // Another X client owns the clipboard; the edit's menu offers Paste and pastes that text.
        setClipboard("from xclip ✓");
        ClickAt(stage, 50, 20);
        edit->SelectAll();
        stage.RightClick();
        stage.Pump(50ms);
        TspSkinPopupMenu* menu = edit->SysPopupMenu();
        if (!menu) {
            facts.push_back("no menu");
            return facts;
        }
        TMenuItem* paste = nullptr;
        for (int i = 0; i < menu->Items()->Count(); ++i)
            if (menu->Items()->Items(i)->Caption() == "Paste")
                paste = menu->Items()->Items(i);
        if (!paste) {
            facts.push_back("no paste item");
            return facts;
        }
        facts.push_back(std::string("paste enabled: ") + (paste->Enabled() ? "yes" : "no"));
        // The item's command is given as the menu gives a choice (the skinned menu's own window is tested with it).
        stage.Pump(50ms);
        paste->Click();
        stage.Pump(50ms);
        facts.push_back("pasted: " + edit->Text());
        stage.MoveTo(TWindowStage::kRestingPoint.x, TWindowStage::kRestingPoint.y, {});
    }
    FinalizeForms();
    return facts;
}

TStagePixels PlaySpinEditFace(TWindowStage& stage)
{
    TStagePixels shown;
    InitializeForms();
    stage.MessageLoop = [] { Application->ProcessMessages(); };
    {
        // The face with its text area (4, 4, 78, 20) and its buttons at the right end.
        TFixtureSkin fixture;
        fixture.AddActivePicture("sheet.bmp", 100, 24, kSpinFaceSeed);
        fixture.AddControl("spinedit", "spinedit",
            { { "pictureindex", "0" }, { "skinrect", "0,0,100,24" }, { "lefttoppoint", "4,4" },
                { "righttoppoint", "78,4" }, { "leftbottompoint", "4,20" }, { "rightbottompoint", "78,20" },
                { "clientrect", "4,4,78,20" }, { "upbuttonrect", "80,2,98,12" }, { "downbuttonrect", "80,12,98,22" },
                { "fontname", "DejaVu Sans" }, { "fontheight", "13" }, { "fontcolor", "255" } });
        TspSkinData* skin = LoadedSkin(fixture);
        TForm* form = FormOverArea();
        auto* spin = Add<TspSkinSpinEdit>(form, 10, 10, 100, 24);
        spin->SetSkinData(skin);
        form->Show();
        stage.Settle(kFormArea);
        spin->SetValue(888888888);
        stage.Pump();
        spin->SetValue(1);
        const RECT area { kFormArea.left + 10, kFormArea.top + 10, kFormArea.left + 110, kFormArea.top + 34 };
        stage.Settle(area);
        shown = stage.Grab(area);
    }
    FinalizeForms();
    return shown;
}
