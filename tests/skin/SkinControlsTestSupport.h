// What the skinned-control suites share: the pointer and pixels of a shown form driven by raw input, and the
// fixture of the value-control and panel suites: a shown form on the headless display and a skin whose records
// cut their pictures from one sheet of generated colours, so that a pixel tells which piece of the sheet a
// control drew there.
#pragma once
#include "skin/core/TspSkinData.h"
#include "skin/testing/TFixtureSkin.h"
#include "tests/framework/ControlsTestSupport.h"

#include <string>

inline uint32_t Rgb(TColor color)
{
    const uint32_t c = static_cast<uint32_t>(ColorToRGB(color));
    return ((c & 0xFF) << 16) | (c & 0xFF00) | ((c >> 16) & 0xFF);
}

// A form driven by raw input on the headless display; every step processes the messages it causes.
class SkinInputTest : public ControlsTest {
protected:
    // The form's pixel at (x, y), once pending paints are done.
    uint32_t At(int x, int y)
    {
        Pump();
        return Backend.WindowPixel(Form->Handle(), x, y);
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

    TForm* Form = nullptr;
};

class SkinControlsTest : public ControlsTest {
protected:
    static constexpr uint32_t kSeed = 9;

    void SetUp() override
    {
        ControlsTest::SetUp();
        WriteRecords(Fixture);
        Skin = new TspSkinData(Application);
        Skin->LoadFromFile(Fixture.Write());
        ASSERT_FALSE(Skin->Empty);
        Form = NewForm(0, 0, 400, 300);
        Form->SetColor(clWhite);
        Form->Show();
        Pump();
    }

    // The sheet (240 x 200) and one record per control kind; the comments give the pieces.
    static void WriteRecords(TFixtureSkin& fixture)
    {
        fixture.AddActivePicture("sheet.bmp", 240, 200, kSeed);
        // Check marks 13 x 13 at y 0: checked, unchecked, hot checked, hot unchecked. Faces 80 x 25: normal at
        // y 20, hot at y 45.
        const TFixtureSkin::TKeyValues marks = { { "pictureindex", "0" }, { "checkimagerect", "100,0,113,13" },
            { "uncheckimagerect", "113,0,126,13" }, { "activecheckimagerect", "126,0,139,13" },
            { "activeuncheckimagerect", "139,0,152,13" }, { "framefontcolor", "255" }, { "fontcolor", "255" },
            { "activefontcolor", "65280" }, { "fontname", "DejaVu Sans" }, { "fontheight", "13" },
            { "skinrect", "0,20,80,45" }, { "activeskinrect", "0,45,80,70" }, { "checkimagearea", "2,2,22,23" },
            { "textarea", "24,0,78,25" } };
        fixture.AddControl("checkbox", "checkradio", marks);
        TFixtureSkin::TKeyValues morphing = marks;
        morphing.push_back({ "morphing", "1" });
        fixture.AddControl("morphbox", "checkradio", morphing);
        // A fixed 100 x 20 gauge face at y 70 whose area (2, 2, 98, 18) fills from a 40 x 16 bar at y 90 with
        // 5-pixel ends; a vertical 20 x 60 one at (200, 0) filling from a 16 x 30 bar at (220, 0).
        fixture.AddControl("gauge", "gauge",
            { { "pictureindex", "0" }, { "skinrect", "0,70,100,90" }, { "progressarea", "2,2,98,18" },
                { "progressrect", "0,90,40,106" }, { "beginoffset", "5" }, { "endoffset", "5" },
                { "fontname", "DejaVu Sans" }, { "fontheight", "12" }, { "fontcolor", "0" } });
        fixture.AddControl("vgauge", "gauge",
            { { "pictureindex", "0" }, { "skinrect", "200,0,220,60" }, { "progressarea", "2,2,18,58" },
                { "progressrect", "220,0,236,30" }, { "beginoffset", "4" }, { "endoffset", "4" },
                { "vertical", "1" } });
        // A fixed 100 x 20 track bar at y 110 with its active face at y 130; thumbs 10 x 16 at (100, 110) and
        // (110, 110).
        fixture.AddControl("htrackbar", "trackbar",
            { { "pictureindex", "0" }, { "skinrect", "0,110,100,130" }, { "activeskinrect", "0,130,100,150" },
                { "trackarea", "2,2,98,18" }, { "buttonrect", "100,110,110,126" },
                { "activebuttonrect", "110,110,120,126" } });
        // A 60 x 40 nine-part panel at y 150 with 6-pixel borders, and a group box with a caption band.
        const TFixtureSkin::TKeyValues nine = { { "pictureindex", "0" }, { "skinrect", "0,150,60,190" },
            { "lefttoppoint", "6,6" }, { "righttoppoint", "54,6" }, { "leftbottompoint", "6,34" },
            { "rightbottompoint", "54,34" }, { "clientrect", "6,6,54,34" }, { "fontname", "DejaVu Sans" },
            { "fontheight", "13" }, { "fontcolor", "0" } };
        fixture.AddControl("panel", "panel", nine);
        TFixtureSkin::TKeyValues group = nine;
        group.push_back({ "captionrect", "6,0,54,6" });
        fixture.AddControl("groupbox", "panel", group);
        TFixtureSkin::TKeyValues status = nine;
        status.push_back({ "gripperrect", "160,150,172,162" });
        fixture.AddControl("statusbar", "panel", status);
        TFixtureSkin::TKeyValues background = nine;
        background.push_back({ "bgpictureindex", "0" });
        fixture.AddControl("bgpanel", "panel", background);
        // The page buttons' face: 40 x 20 at (160, 170) with 4-pixel ends.
        fixture.AddControl("toolbutton", "button",
            { { "pictureindex", "0" }, { "skinrect", "160,170,200,190" }, { "lefttoppoint", "4,4" },
                { "righttoppoint", "36,4" }, { "leftbottompoint", "4,16" }, { "rightbottompoint", "36,16" },
                { "clientrect", "4,4,36,16" }, { "fontname", "DejaVu Sans" }, { "fontheight", "12" } });
    }

    template <class T> T* Place(int x, int y, int width, int height, bool skinned = true)
    {
        auto* control = new T(Form);
        control->SetParent(Form);
        control->SetBounds(x, y, width, height);
        if (skinned)
            control->SetSkinData(Skin);
        Pump();
        return control;
    }

    uint32_t At(int x, int y) { return Backend.WindowPixel(Form->Handle(), x, y); }
    static uint32_t Sheet(int x, int y) { return TFixtureSkin::PixelOf(x, y, kSeed); }

    TFixtureSkin Fixture;
    TspSkinData* Skin = nullptr;
    TForm* Form = nullptr;
};
