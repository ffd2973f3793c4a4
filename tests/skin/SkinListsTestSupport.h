// What the skinned-list suites share: a shown form on the headless display, a skin whose list, combo and check
// list records cut their pictures from one sheet of generated colours, and a trace of events.
#pragma once
#include "tests/skin/SkinControlsTestSupport.h"

#include <string>
#include <vector>

class SkinListsTest : public SkinControlsTest {
protected:
    void SetUp() override
    {
        ControlsTest::SetUp();
        WriteRecords(Fixture);
        WriteListRecords(Fixture);
        Skin = new TspSkinData(Application);
        Skin->LoadFromFile(Fixture.Write());
        ASSERT_FALSE(Skin->Empty);
        Form = NewForm(0, 0, 400, 300);
        Form->SetColor(clWhite);
        Form->Show();
        Pump();
    }

    // The list-family records, on top of the shared sheet. A list face 100 x 60 at (0, 110) with a 4-pixel
    // frame; items 100 x 18 at y 170 (normal), 188 (active) and at (100, 170) (focused).
    static void WriteListRecords(TFixtureSkin& fixture)
    {
        const TFixtureSkin::TKeyValues frame = { { "pictureindex", "0" }, { "skinrect", "0,110,100,170" },
            { "lefttoppoint", "4,4" }, { "righttoppoint", "96,4" }, { "leftbottompoint", "4,56" },
            { "rightbottompoint", "96,56" }, { "clientrect", "4,4,96,56" }, { "itemrect", "0,170,100,188" },
            { "activeitemrect", "0,188,100,200" }, { "focusitemrect", "100,170,200,188" },
            { "itemtextrect", "2,0,98,18" }, { "fontname", "DejaVu Sans" }, { "fontheight", "12" },
            { "fontcolor", "0" }, { "activefontcolor", "255" }, { "focusfontcolor", "65280" } };
        fixture.AddControl("listbox", "listbox", frame);
        TFixtureSkin::TKeyValues check = frame;
        for (auto& [key, value] : check)
            if (key == "itemtextrect")
                value = "20,0,98,18";
        check.push_back({ "checkimagerect", "100,0,113,13" });
        check.push_back({ "uncheckimagerect", "113,0,126,13" });
        check.push_back({ "itemcheckrect", "0,0,16,18" });
        fixture.AddControl("checklistbox", "checklistbox", check);
    }

    void MoveTo(int x, int y)
    {
        Backend.MouseMove(x, y);
        Pump();
    }
    void Press()
    {
        Backend.MouseDown();
        Pump();
    }
    void Release()
    {
        Backend.MouseUp();
        Pump();
    }
    void Tick(int ms)
    {
        Backend.AdvanceClock(ms);
        Pump();
    }
    void Key(UINT key)
    {
        Backend.Key(key);
        Pump();
    }

    std::vector<std::string> Trace;
};
