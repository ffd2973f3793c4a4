#include "SkinTestSupport.h"
#include "framework/core/Exception.h"
#include "framework/core/SysUtils.h"
#include "skin/core/SkinControlRecords.h"
#include "skin/core/SkinEditRecords.h"
#include "skin/core/SkinObjectRecords.h"
#include "skin/core/SkinWindowRecords.h"
#include "skin/core/TspDataSkinControl.h"

#include <functional>
#include <gtest/gtest.h>
#include <memory>

namespace {

// A record of either list behind one interface, so that a table can hold every type word.
class TAnyRecord {
public:
    template <class T> static TAnyRecord Of(std::unique_ptr<T> record)
    {
        TAnyRecord any;
        T* raw = record.get();
        any.FLoad = [raw](TCustomIniFile* file) { raw->LoadFromFile(file); };
        any.FSave = [raw](TCustomIniFile* file) { raw->SaveToFile(file); };
        any.FObject = std::move(record);
        return any;
    }

    void Load(TCustomIniFile* file) { FLoad(file); }
    void Save(TCustomIniFile* file) { FSave(file); }
    TObject* Object() const { return FObject.get(); }

private:
    std::unique_ptr<TObject> FObject;
    std::function<void(TCustomIniFile*)> FLoad;
    std::function<void(TCustomIniFile*)> FSave;
};

struct TRecordType {
    const char* List;
    const char* Word;
    std::function<TAnyRecord(std::string_view name)> Create;
};

template <class T> TRecordType Type(const char* list, const char* word)
{
    return TRecordType { list, word, [](std::string_view name) { return TAnyRecord::Of(std::make_unique<T>(name)); } };
}

const std::vector<TRecordType>& RecordTypes()
{
    static const std::vector<TRecordType> types = {
        Type<TspDataSkinSlider>("control", "slider"),
        Type<TspDataSkinBevel>("control", "bevel"),
        Type<TspDataSkinPanelControl>("control", "panel"),
        Type<TspDataSkinExPanelControl>("control", "expanel"),
        Type<TspDataSkinMenuButtonControl>("control", "menubutton"),
        Type<TspDataSkinButtonControl>("control", "button"),
        Type<TspDataSkinCheckRadioControl>("control", "checkradio"),
        Type<TspDataSkinGaugeControl>("control", "gauge"),
        Type<TspDataSkinSplitterControl>("control", "splitter"),
        Type<TspDataSkinTrackBarControl>("control", "trackbar"),
        Type<TspDataSkinLabelControl>("control", "label"),
        Type<TspDataSkinStdLabelControl>("control", "stdlabel"),
        Type<TspDataSkinBitLabelControl>("control", "bitlabel"),
        Type<TspDataSkinFrameRegulator>("control", "frameregulator"),
        Type<TspDataSkinFrameGauge>("control", "framegauge"),
        Type<TspDataSkinAnimateControl>("control", "animate"),
        Type<TspDataSkinUpDownControl>("control", "updown"),
        Type<TspDataSkinSwitchControl>("control", "switch"),
        Type<TspDataSkinGridControl>("control", "grid"),
        Type<TspDataSkinTabControl>("control", "tab"),
        Type<TspDataSkinMainMenuBar>("control", "mainmenubar"),
        Type<TspDataSkinControlBar>("control", "controlbar"),
        Type<TspDataSkinMemoControl>("control", "memo"),
        Type<TspDataSkinEditControl>("control", "edit"),
        Type<TspDataSkinCheckListBox>("control", "checklistbox"),
        Type<TspDataSkinListBox>("control", "listbox"),
        Type<TspDataSkinComboBox>("control", "combobox"),
        Type<TspDataSkinScrollBarControl>("control", "scrollbar"),
        Type<TspDataSkinSpinEditControl>("control", "spinedit"),
        Type<TspDataSkinScrollBoxControl>("control", "scrollbox"),
        Type<TspDataSkinTreeView>("control", "treeview"),
        Type<TspDataSkinListView>("control", "listview"),
        Type<TspDataSkinRichEdit>("control", "richedit"),
        Type<TspDataSkinMenuItem>("object", "menuitem"),
        Type<TspDataSkinMainMenuBarItem>("object", "mainmenubaritem"),
        Type<TspDataSkinMainMenuItem>("object", "mainmenuitem"),
        Type<TspDataSkinStdButton>("object", "stdbutton"),
        Type<TspDataSkinMainMenuBarButton>("object", "mainmenubarbutton"),
        Type<TspDataSkinButton>("object", "button"),
        Type<TspDataSkinCaption>("object", "caption"),
        Type<TspDataSkinTrackBar>("object", "trackbar"),
        Type<TspDataSkinGauge>("object", "gauge"),
        Type<TspDataSkinFrameGaugeObject>("object", "framegauge"),
        Type<TspDataSkinFrameRegulatorObject>("object", "frameregulator"),
        Type<TspDataSkinLabel>("object", "label"),
        Type<TspDataSkinBitLabel>("object", "bitlabel"),
        Type<TspDataSkinSwitch>("object", "switch"),
        Type<TspDataSkinAnimate>("object", "animate"),
        Type<TspDataUserObject>("object", "userobject"),
    };
    return types;
}

const TRecordType& TypeOf(std::string_view list, std::string_view word)
{
    for (const TRecordType& type : RecordTypes()) {
        if (list == type.List && word == type.Word)
            return type;
    }
    throw std::logic_error("no record type " + std::string(word));
}

// The section a record writes.
std::vector<std::string> Saved(TAnyRecord& record, std::string_view name)
{
    auto ini = IniFromText("");
    record.Save(ini.get());
    return SectionLines(*ini, name);
}

// The section a new record of `type` writes after loading `text`.
std::vector<std::string> LoadedAndSaved(const TRecordType& type, std::string_view text)
{
    auto ini = IniFromText(text);
    TAnyRecord record = type.Create("r");
    record.Load(ini.get());
    return Saved(record, "r");
}

std::string KeyOf(const std::string& line)
{
    return line.substr(0, line.find('='));
}

std::string ValueOf(const std::vector<std::string>& lines, std::string_view key)
{
    for (const std::string& line : lines) {
        if (KeyOf(line) == key)
            return line.substr(line.find('=') + 1);
    }
    return "(none)";
}

// The keyword lists, to pick a value other than a keyword's default.
const std::vector<std::vector<std::string>> kKeywordWords = {
    { "stfull", "sthorz", "stvert" },
    { "mkdefault", "mkgradient", "mkleftgradient", "mkrightgradient", "mkleftslide", "mkrightslide", "mkpush" },
    { "iebrightness", "iedarkness", "iegrayscale", "ienoise", "iesplitblur", "ieinvert" },
    { "fphorizontal", "fpvertical" },
    { "rkround", "rkhorizontal", "rkvertical" },
    { "cmclose", "cmmaximize", "cmminimize", "cmsysmenu", "cmdefault", "cmrollup", "cmminimizetotray" },
    { "gkhorizontal", "gkvertical" },
    { "taleftjustify", "tarightjustify", "tacenter" },
};

bool IsNumber(const std::string& text)
{
    int value;
    return TryStrToInt(text, value);
}

// A section for `type` in which every key the record writes holds a value other than its default, each
// number and rectangle distinct, with the lines the record is expected to write back.
std::vector<std::string> NonDefaultSection(const TRecordType& type)
{
    TAnyRecord fresh = type.Create("r");
    std::vector<std::string> defaults = Saved(fresh, "r");
    std::vector<std::string> lines;
    int n = 3;
    for (const std::string& line : defaults) {
        std::string key = KeyOf(line);
        std::string value = line.substr(key.size() + 1);
        std::string changed;
        if (key.ends_with("linecount")) {
            std::string list = key.substr(0, key.size() - 9);
            lines.push_back(key + "=2");
            lines.push_back(list + "line0=A");
            lines.push_back(list + "line1=B");
            continue;
        }
        bool keyword = false;
        for (const auto& words : kKeywordWords) {
            if (std::find(words.begin(), words.end(), value) != words.end()) {
                changed = words.back() == value ? words.front() : words.back();
                keyword = true;
            }
        }
        if (keyword) {
        } else if (key.ends_with("fontstyle")) {
            changed = "fsbold,fsunderline";
        } else if (std::count(value.begin(), value.end(), ',') == 3) {
            changed = Format("%d,%d,%d,%d", n, n + 1, n + 2, n + 3);
        } else if (std::count(value.begin(), value.end(), ',') == 1) {
            changed = Format("%d,%d", n, n + 1);
        } else if (IsNumber(value)) {
            // A flag reads "2" as false: such keys get 1, every other number a value of its own.
            auto probe = IniFromText("[r]\n" + key + "=2\n");
            TAnyRecord record = type.Create("r");
            record.Load(probe.get());
            changed = ValueOf(Saved(record, "r"), key) == "0" ? "1" : IntToStr(n);
        } else {
            changed = "text" + IntToStr(n);
        }
        n += 10;
        lines.push_back(key + "=" + changed);
    }
    return lines;
}

std::string SectionText(const std::vector<std::string>& lines)
{
    std::string text = "[r]\n";
    for (const std::string& line : lines)
        text += line + "\n";
    return text;
}

// Load, save and load again give the same record: every value given comes back under its own key, apart
// from the values a class resets by design.
TEST(SkinRecords, EveryRecordClassRoundTripsEveryKey)
{
    for (const TRecordType& type : RecordTypes()) {
        SCOPED_TRACE(std::string(type.List) + " " + type.Word);
        std::vector<std::string> given = NonDefaultSection(type);
        std::vector<std::string> expected = given;
        for (std::string& line : expected) {
            std::string key = KeyOf(line);
            bool frameless = std::string_view(type.Word) == "updown" && type.List == std::string_view("control");
            if (frameless && key.ends_with("point"))
                line = key + "=0,0";
            if (frameless && key == "clientrect")
                line = key + "=0,0,0,0";
            for (const char* word : { "animate", "trackbar", "bitlabel" }) {
                if (type.List == std::string_view("object") && word == std::string_view(type.Word) && key == "morphing")
                    line = key + "=0";
            }
        }
        std::vector<std::string> once = LoadedAndSaved(type, SectionText(given));
        EXPECT_EQ(once, expected);
        EXPECT_EQ(LoadedAndSaved(type, SectionText(once)), once);
    }
}

TEST(SkinRecords, SavingReplacesTheWholeSection)
{
    for (const TRecordType& type : RecordTypes()) {
        SCOPED_TRACE(type.Word);
        auto ini = IniFromText("[r]\nunknownkey=5\nSKINRECT=1,1,2,2\n[other]\nkeep=1\n");
        TAnyRecord record = type.Create("r");
        record.Save(ini.get());
        TAnyRecord fresh = type.Create("r");
        EXPECT_EQ(SectionLines(*ini, "r"), Saved(fresh, "r"));
        EXPECT_EQ(ValueOf(SectionLines(*ini, "other"), "keep"), "1");
    }
}

TEST(SkinRecords, SavedSectionsKeepTheirKeyOrder)
{
    struct Case {
        const char* List;
        const char* Word;
        std::vector<std::string> Lines;
    };
    const std::vector<std::string> nine
        = { "pictureindex=-1", "maskpictureindex=-1", "cursorindex=-1", "skinrect=0,0,0,0", "lefttoppoint=0,0",
              "righttoppoint=0,0", "leftbottompoint=0,0", "rightbottompoint=0,0", "clientrect=0,0,0,0", "leftstretch=0",
              "topstretch=0", "rightstretch=0", "bottomstretch=0", "stretcheffect=0", "stretchtype=stfull" };
    auto with = [](std::vector<std::string> head, std::vector<std::string> tail) {
        head.insert(head.end(), tail.begin(), tail.end());
        return head;
    };
    const Case kCases[] = {
        { "control", "menubutton",
            with(nine,
                { "fontname=Arial", "fontheight=12", "fontstyle=", "fontcolor=0", "activefontcolor=0",
                    "downfontcolor=0", "disabledfontcolor=0", "morphing=0", "morphkind=mkdefault",
                    "activeskinrect=0,0,0,0", "downskinrect=0,0,0,0", "disabledskinrect=0,0,0,0",
                    "animateskinrect=0,0,0,0", "framecount=0", "animateinterval=0", "showfocus=0",
                    "menumarkerflatrect=0,0,0,0", "menumarkerrect=0,0,0,0", "menumarkeractiverect=0,0,0,0",
                    "menumarkerdownrect=0,0,0,0", "menumarkertransparentcolor=0", "trackbuttonrect=0,0,0,0" }) },
        { "control", "frameregulator",
            { "pictureindex=-1", "maskpictureindex=-1", "cursorindex=-1", "skinrect=0,0,0,0", "framescount=1",
                "framesplacement=fphorizontal", "kind=rkround" } },
        { "control", "bevel",
            { "pictureindex=-1", "maskpictureindex=-1", "cursorindex=-1", "skinrect=0,0,0,0", "lightcolor=0",
                "darkcolor=0" } },
        { "object", "userobject", { "rollup=0", "skinrect=0,0,0,0", "cursorindex=-1" } },
        { "object", "stdbutton",
            { "hint=", "rollup=0", "activepictureindex=-1", "skinrectinapicture=0", "cursorindex=-1",
                "skinrect=0,0,0,0", "activeskinrect=0,0,0,0", "inactiveskinrect=0,0,0,0", "morphing=0",
                "morphkind=mkdefault", "downrect=0,0,0,0", "disableskinrsect=0,0,0,0", "groupindex=-1",
                "command=cmclose", "restorerect=0,0,0,0", "restoreactiverect=0,0,0,0", "restoredownrect=0,0,0,0",
                "restoreinactiverect=0,0,0,0" } },
    };
    for (const Case& c : kCases) {
        SCOPED_TRACE(c.Word);
        TAnyRecord record = TypeOf(c.List, c.Word).Create("r");
        EXPECT_EQ(Saved(record, "r"), c.Lines);
    }
}

TEST(SkinRecords, WindowRecordsWriteTheirFixedSections)
{
    TspDataSkinPopupWindow popup;
    TspDataSkinHintWindow hint;
    EXPECT_EQ(hint.FontHeight, 12);
    auto ini = IniFromText("[POPUPWINDOW]\nstale=1\n");
    popup.SaveToFile(ini.get());
    hint.SaveToFile(ini.get());
    EXPECT_EQ(SectionLines(*ini, "POPUPWINDOW"),
        (std::vector<std::string> { "windowpictureindex=-1", "maskpictureindex=-1", "lefttoppoint=0,0",
            "righttoppoint=0,0", "leftbottompoint=0,0", "rightbottompoint=0,0", "itemsrect=0,0,0,0", "cursorindex=-1",
            "scrollmarkercolor=0", "scrollmarkeractivecolor=0", "leftstretch=0", "rightstretch=0", "topstretch=0",
            "bottomstretch=0", "stretcheffect=0", "stretchtype=stfull" }));
    EXPECT_EQ(SectionLines(*ini, "HINTWINDOW"),
        (std::vector<std::string> { "windowpictureindex=-1", "maskpictureindex=-1", "lefttoppoint=0,0",
            "righttoppoint=0,0", "leftbottompoint=0,0", "rightbottompoint=0,0", "clientrect=0,0,0,0", "fontname=Arial",
            "fontheight=12", "fontstyle=", "fontcolor=0", "leftstretch=0", "rightstretch=0", "topstretch=0",
            "bottomstretch=0", "stretcheffect=0", "stretchtype=stfull" }));

    auto loaded = IniFromText("[HINTWINDOW]\nstretchtype=stvert\n[POPUPWINDOW]\nitemsrect=1,2,3,4\ncursorindex=2\n");
    popup.WindowPictureIndex = 7;
    popup.LoadFromFile(loaded.get());
    hint.LoadFromFile(loaded.get());
    EXPECT_EQ(popup.WindowPictureIndex, -1);
    EXPECT_EQ(popup.ItemsRect, (TRect { 1, 2, 3, 4 }));
    EXPECT_EQ(popup.CursorIndex, 2);
    EXPECT_EQ(hint.StretchType, spstVert);
    EXPECT_EQ(hint.FontHeight, 14);
}

TEST(SkinRecords, NewAndLoadedRecordsHoldTheirOwnDefaults)
{
    struct Case {
        const char* List;
        const char* Word;
        const char* Key;
        const char* New;
        const char* Loaded; // from a section holding none of the record's keys
    };
    const Case kCases[] = {
        { "control", "button", "fontheight", "12", "14" },
        { "control", "button", "animateinterval", "0", "25" },
        { "control", "button", "framecount", "0", "0" },
        { "control", "button", "fontname", "Arial", "Arial" },
        { "control", "edit", "fontheight", "12", "14" },
        { "control", "gauge", "progresstransparentcolor", "16711935", "0" },
        { "control", "gauge", "fontheight", "14", "14" },
        { "control", "stdlabel", "activefontcolor", "16711680", "16711680" },
        { "control", "stdlabel", "fontheight", "12", "14" },
        { "control", "treeview", "bgcolor", "16777215", "0" },
        { "control", "controlbar", "itemoffset1", "0", "3" },
        { "control", "controlbar", "itemoffset2", "0", "3" },
        { "control", "listbox", "vscrollbarname", "", "vscrollbar" },
        { "control", "listbox", "hscrollbarname", "", "hscrollbar" },
        { "control", "listbox", "bothhscrollbarname", "", "bothhscrollbar" },
        { "control", "combobox", "listboxname", "", "" },
        { "control", "panel", "alignment", "tacenter", "tacenter" },
        { "control", "framegauge", "framescount", "1", "1" },
        { "object", "button", "groupindex", "-1", "-1" },
        { "object", "caption", "fontname", "", "Arial" },
        { "object", "caption", "fontheight", "0", "14" },
        { "object", "caption", "alignment", "taleftjustify", "tacenter" },
        { "object", "stdbutton", "command", "cmclose", "cmdefault" },
        { "object", "animate", "countframes", "0", "1" },
        { "object", "animate", "timerinterval", "0", "50" },
        { "object", "animate", "command", "cmclose", "cmdefault" },
        { "object", "bitlabel", "transparentcolor", "16711935", "16711935" },
        { "object", "framegauge", "countframes", "0", "0" },
        { "object", "menuitem", "animateinterval", "0", "25" },
    };
    for (const Case& c : kCases) {
        SCOPED_TRACE(std::string(c.Word) + " " + c.Key);
        const TRecordType& type = TypeOf(c.List, c.Word);
        TAnyRecord fresh = type.Create("r");
        EXPECT_EQ(ValueOf(Saved(fresh, "r"), c.Key), c.New);
        EXPECT_EQ(ValueOf(LoadedAndSaved(type, "[r]\nzzz=1\n"), c.Key), c.Loaded);
    }
}

TEST(SkinRecords, ValuesThatClassesCorrectAfterReading)
{
    struct Case {
        const char* List;
        const char* Word;
        const char* Section;
        const char* Key;
        const char* Expected;
    };
    const Case kCases[] = {
        { "control", "framegauge", "framescount=0", "framescount", "1" },
        { "control", "animate", "framescount=-5", "framescount", "1" },
        { "control", "switch", "framescount=4", "framescount", "4" },
        { "control", "framegauge", "framesplacement=FpHorizontal", "framesplacement", "fpvertical" },
        { "control", "frameregulator", "kind=rkdiagonal", "kind", "rkvertical" },
        { "control", "frameregulator", "kind=rkhorizontal", "kind", "rkhorizontal" },
        { "control", "updown", "lefttoppoint=3,3\nclientrect=2,2,10,10\ntopstretch=1", "lefttoppoint", "0,0" },
        { "control", "updown", "lefttoppoint=3,3\nclientrect=2,2,10,10\ntopstretch=1", "clientrect", "0,0,0,0" },
        { "control", "updown", "lefttoppoint=3,3\nclientrect=2,2,10,10\ntopstretch=1", "topstretch", "1" },
        { "control", "tab", "topstretch=1\nrightstretch=0", "topstretch", "1" },
        { "control", "tab", "topstretch=1\nrightstretch=0", "rightstretch", "0" },
        { "object", "framegauge", "minvalue=1", "countframes", "0" },
        { "object", "animate", "morphing=1", "morphing", "0" },
        { "object", "trackbar", "morphing=1", "morphing", "0" },
        { "object", "bitlabel", "morphing=1", "morphing", "0" },
        { "object", "button", "morphing=1", "morphing", "1" },
        { "object", "label", "fontName=Verdana", "fontname", "Verdana" },
        { "object", "label", "fontname=Verdana", "fontname", "Verdana" },
        { "object", "mainmenuitem", "unenabledfontColor=255", "unenabledfontcolor", "255" },
        { "object", "userobject", "hint=tip\nactiveskinrect=1,2,3,4\nrollup=1", "rollup", "1" },
        { "object", "userobject", "hint=tip\nactiveskinrect=1,2,3,4\nrollup=1", "hint", "(none)" },
        { "object", "gauge", "kind=gkvertical", "kind", "gkvertical" },
        { "object", "stdbutton", "command=cmminimizetotray", "command", "cmminimizetotray" },
        { "object", "stdbutton", "command=cmquit", "command", "cmminimizetotray" },
    };
    for (const Case& c : kCases) {
        SCOPED_TRACE(std::string(c.Word) + ": " + c.Section);
        const TRecordType& type = TypeOf(c.List, c.Word);
        EXPECT_EQ(ValueOf(LoadedAndSaved(type, std::string("[r]\n") + c.Section + "\n"), c.Key), c.Expected);
    }
}

TEST(SkinRecords, UserObjectKeepsItsConstructorValuesForKeysItDoesNotRead)
{
    auto ini = IniFromText("[u]\nhint=tip\nactivepictureindex=3\nactiveskinrect=1,2,3,4\nskinrect=5,6,7,8\n");
    TspDataUserObject object("u");
    object.LoadFromFile(ini.get());
    EXPECT_EQ(object.Hint, "");
    EXPECT_EQ(object.ActivePictureIndex, -1);
    EXPECT_EQ(object.ActiveSkinRect, (TRect {}));
    EXPECT_EQ(object.SkinRect, (TRect { 5, 6, 7, 8 }));
}

TEST(SkinRecords, MalformedRectangleStopsTheLoadWithAConversionError)
{
    auto ini = IniFromText("[b]\nskinrect=1,2,3\n[c]\nskinrect=-4,5,30,40\n");
    TspDataSkinButtonControl broken("b");
    EXPECT_THROW(broken.LoadFromFile(ini.get()), EConvertError);
    TspDataSkinButtonControl fine("c");
    fine.LoadFromFile(ini.get());
    EXPECT_EQ(fine.SkinRect, (TRect { 4, 5, 30, 40 }));
}

TEST(SkinRecords, BitLabelSymbolsAreALineList)
{
    auto ini = IniFromText("[b]\nsymbolslinecount=2\nsymbolsline0=0123\n[m]\nsymbolsline0=x\n");
    TspDataSkinBitLabelControl label("b");
    label.LoadFromFile(ini.get());
    EXPECT_EQ(label.Symbols.Text(), "0123\n\n");
    TspDataSkinBitLabel missing("m");
    missing.LoadFromFile(ini.get());
    EXPECT_EQ(missing.Symbols.Count(), 0);
}

TEST(SkinRecords, ControlsAcceptDescendantsOfTheRecordTheyExpect)
{
    std::unique_ptr<TspDataSkinControl> record = std::make_unique<TspDataSkinButtonControl>("button");
    EXPECT_NE(dynamic_cast<TspDataSkinCustomControl*>(record.get()), nullptr);
    EXPECT_EQ(dynamic_cast<TspDataSkinFrameControl*>(record.get()), nullptr);
    std::unique_ptr<TspDataSkinObject> object = std::make_unique<TspDataSkinMainMenuBarButton>("close");
    EXPECT_NE(dynamic_cast<TspDataSkinButton*>(object.get()), nullptr);
}

} // namespace
