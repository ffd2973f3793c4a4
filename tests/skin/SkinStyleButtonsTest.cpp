// The style pictures and the style buttons on the headless display: what each picture shows, the items, columns
// and captions each button puts in its menu, the chosen picture on the face, and choosing from the open grid.
#include "skin/controls/SkinStyleButtons.h"

#include "framework/controls/ImgList.h"
#include "framework/graphics/Graphics.h"
#include "framework/graphics/TBitmap.h"
#include "framework/graphics/TCanvas.h"
#include "skin/controls/SkinStylePictures.h"
#include "skin/core/TspSkinData.h"
#include "skin/menus/TspSkinImagesMenu.h"
#include "skin/testing/TFixtureSkin.h"
#include "tests/framework/ControlsTestSupport.h"

#include <functional>
#include <memory>
#include <tuple>

namespace {

constexpr uint32_t kSeed = 5;

uint32_t Rgb(TColor color)
{
    const uint32_t c = static_cast<uint32_t>(ColorToRGB(color));
    return ((c & 0xFF) << 16) | (c & 0xFF00) | ((c >> 16) & 0xFF);
}

// A drawn picture read back as 0x00RRGGBB values.
struct TDrawnPicture {
    explicit TDrawnPicture(std::string_view name) { Loaded = LoadStylePicture(&Bitmap, name); }
    uint32_t At(int x, int y) { return Rgb(Bitmap.Canvas()->Pixels(x, y)); }
    bool Black(int x, int y) { return At(x, y) == 0; }
    // The lengths of the black runs along row `y`.
    std::vector<int> Runs(int y)
    {
        std::vector<int> runs;
        int run = 0;
        for (int x = 0; x <= Bitmap.Width(); ++x) {
            if (x < Bitmap.Width() && Black(x, y)) {
                ++run;
            } else if (run) {
                runs.push_back(run);
                run = 0;
            }
        }
        return runs;
    }
    // Black pixels down column `x`.
    int Thickness(int x)
    {
        int n = 0;
        for (int y = 0; y < Bitmap.Height(); ++y)
            n += Black(x, y);
        return n;
    }
    // Whether every black pixel of the inside continues one step by (dx, 1).
    bool LinesRun(int dx)
    {
        for (int y = 1; y < Bitmap.Height() - 2; ++y)
            for (int x = 2; x < Bitmap.Width() - 2; ++x)
                if (Black(x, y) && !Black(x + dx, y + 1))
                    return false;
        return true;
    }
    int Count(uint32_t colour)
    {
        int n = 0;
        for (int y = 0; y < Bitmap.Height(); ++y)
            for (int x = 0; x < Bitmap.Width(); ++x)
                n += At(x, y) == colour;
        return n;
    }

    TBitmap Bitmap;
    bool Loaded = false;
};

uint32_t Grey(int v)
{
    return uint32_t(v) * 0x010101;
}

constexpr uint32_t kSilver = 0xC0C0C0;
constexpr uint32_t kGrey = 0x808080;
constexpr uint32_t kTeal = 0x008080;
constexpr uint32_t kWhite = 0xFFFFFF;

} // namespace

TEST(SkinStylePictures, EachPictureShowsItsStyle)
{
    struct TCase {
        const char* Name;
        int Width, Height;
        std::function<void(TDrawnPicture&)> Check;
    };
    const TCase cases[] = {
        { "SP_GRAD_HORZ_IN", 40, 16,
            [](TDrawnPicture& p) {
                EXPECT_EQ(p.At(0, 0), kGrey) << "the frame";
                EXPECT_EQ(p.At(1, 8), Grey(0));
                EXPECT_EQ(p.At(38, 8), Grey(255));
            } },
        { "SP_GRAD_HORZ_OUT", 40, 16,
            [](TDrawnPicture& p) {
                EXPECT_EQ(p.At(1, 8), Grey(255));
                EXPECT_EQ(p.At(38, 8), Grey(0));
            } },
        { "SP_GRAD_HORZ_INOUT", 40, 16,
            [](TDrawnPicture& p) {
                EXPECT_EQ(p.At(1, 8), Grey(255)) << "light at the sides";
                EXPECT_EQ(p.At(38, 8), Grey(255));
                EXPECT_LT(p.At(20, 8), Grey(16)) << "dark in the middle";
            } },
        { "SP_GRAD_VERT_IN", 40, 16,
            [](TDrawnPicture& p) {
                EXPECT_EQ(p.At(20, 1), Grey(0));
                EXPECT_EQ(p.At(20, 14), Grey(255));
                EXPECT_EQ(p.At(1, 7), p.At(38, 7)) << "even across";
            } },
        { "SP_GRAD_VERT_OUT", 40, 16,
            [](TDrawnPicture& p) {
                EXPECT_EQ(p.At(20, 1), Grey(255));
                EXPECT_EQ(p.At(20, 14), Grey(0));
            } },
        { "SP_GRAD_VERT_INOUT", 40, 16,
            [](TDrawnPicture& p) {
                EXPECT_EQ(p.At(20, 1), Grey(0)) << "dark at top and bottom";
                EXPECT_EQ(p.At(20, 14), Grey(0));
                EXPECT_GT(p.At(20, 7), Grey(200)) << "light in the middle";
            } },
        { "SP_BRUSH_CLEAR", 44, 16,
            [](TDrawnPicture& p) {
                EXPECT_EQ(p.At(0, 0), kSilver);
                EXPECT_EQ(p.Count(0), 0);
            } },
        { "SP_BRUSH_SOLID", 44, 16, [](TDrawnPicture& p) { EXPECT_EQ(p.Count(0), 42 * 14); } },
        { "SP_BRUSH_CROSS", 44, 16,
            [](TDrawnPicture& p) {
                EXPECT_EQ(p.Thickness(2), 14) << "vertical lines";
                EXPECT_EQ(p.Runs(2), std::vector<int> { 42 }) << "and horizontal ones";
            } },
        { "SP_BRUSH_DCROSS", 44, 16,
            [](TDrawnPicture& p) {
                EXPECT_FALSE(p.LinesRun(1));
                EXPECT_FALSE(p.LinesRun(-1));
                EXPECT_GT(p.Count(0), 0);
                EXPECT_TRUE(p.Black(2, 1) && p.Black(3, 2) && p.Black(1, 2)) << "both diagonals cross";
            } },
        { "SP_BRUSH_FD", 44, 16, [](TDrawnPicture& p) { EXPECT_TRUE(p.LinesRun(1)) << "falling to the right"; } },
        { "SP_BRUSH_BD", 44, 16, [](TDrawnPicture& p) { EXPECT_TRUE(p.LinesRun(-1)) << "rising to the right"; } },
        { "SP_BRUSH_H", 44, 16,
            [](TDrawnPicture& p) {
                EXPECT_EQ(p.Runs(2), std::vector<int> { 42 });
                EXPECT_TRUE(p.Runs(3).empty());
            } },
        { "SP_BRUSH_V", 44, 16,
            [](TDrawnPicture& p) {
                EXPECT_TRUE(p.LinesRun(0));
                EXPECT_EQ(p.Thickness(2), 14);
                EXPECT_EQ(p.Thickness(3), 0);
            } },
        { "SP_PEN_SOLID", 44, 15,
            [](TDrawnPicture& p) {
                EXPECT_EQ(p.Runs(7), std::vector<int> { 36 });
                EXPECT_EQ(p.Thickness(20), 3) << "three pixels thick";
            } },
        { "SP_PEN_DASH", 44, 15,
            [](TDrawnPicture& p) {
                EXPECT_EQ(p.Runs(7), (std::vector<int> { 9, 9, 6 }));
            } },
        { "SP_PEN_DASHDOT", 44, 15,
            [](TDrawnPicture& p) {
                EXPECT_EQ(p.Runs(7), (std::vector<int> { 9, 3, 9, 3 }));
            } },
        { "SP_PEN_DOT", 44, 15, [](TDrawnPicture& p) { EXPECT_EQ(p.Runs(7), std::vector<int>(6, 3)); } },
        { "SP_PEN_DASHDOTDOT", 44, 15,
            [](TDrawnPicture& p) {
                EXPECT_EQ(p.Runs(7), (std::vector<int> { 9, 3, 3, 9 }));
                EXPECT_EQ(p.Thickness(4), 3);
            } },
        { "SP_PEN1", 40, 16, [](TDrawnPicture& p) { EXPECT_EQ(p.Thickness(20), 1); } },
        { "SP_PEN2", 40, 16, [](TDrawnPicture& p) { EXPECT_EQ(p.Thickness(20), 2); } },
        { "SP_PEN3", 40, 16, [](TDrawnPicture& p) { EXPECT_EQ(p.Thickness(20), 3); } },
        { "SP_PEN4", 40, 16, [](TDrawnPicture& p) { EXPECT_EQ(p.Thickness(20), 4); } },
        { "SP_PEN6", 40, 16,
            [](TDrawnPicture& p) {
                EXPECT_EQ(p.Thickness(20), 6);
                EXPECT_EQ(p.At(0, 8), kSilver);
                EXPECT_EQ(p.At(2, 8), kWhite) << "the line keeps off the border";
            } },
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.Name);
        TDrawnPicture picture(c.Name);
        ASSERT_TRUE(picture.Loaded);
        EXPECT_EQ(picture.Bitmap.Width(), c.Width);
        EXPECT_EQ(picture.Bitmap.Height(), c.Height);
        c.Check(picture);
    }
}

TEST(SkinStylePictures, TheTwentyShadowsDifferAndEachShowsAFramedTealSquareWithADitheredShadow)
{
    std::vector<std::vector<uint32_t>> seen;
    for (int n = 1; n <= 21; ++n) {
        SCOPED_TRACE(n);
        TDrawnPicture picture("SP_SHADOW" + std::to_string(n));
        ASSERT_TRUE(picture.Loaded);
        ASSERT_EQ(picture.Bitmap.Width(), 20);
        ASSERT_EQ(picture.Bitmap.Height(), 20);
        EXPECT_GE(picture.Count(kTeal), 36) << "the square";
        EXPECT_GE(picture.Count(0), 28) << "its frame";
        EXPECT_GE(picture.Count(kGrey), 6) << "the shadow";
        EXPECT_EQ(picture.Count(kTeal) + picture.Count(0) + picture.Count(kGrey) + picture.Count(kWhite), 400)
            << "nothing but the four colours, white the transparent one";
        for (int y = 0; y < 19; ++y)
            for (int x = 0; x < 19; ++x)
                EXPECT_FALSE(picture.At(x, y) == kGrey && picture.At(x + 1, y) == kGrey) << "dithered";
        std::vector<uint32_t> pixels;
        for (int y = 0; y < 20; ++y)
            for (int x = 0; x < 20; ++x)
                pixels.push_back(picture.At(x, y));
        for (const auto& other : seen)
            EXPECT_NE(pixels, other) << "each placement is its own";
        seen.push_back(pixels);
    }
}

TEST(SkinStylePictures, UnknownNamesDrawNothing)
{
    for (const char* name :
        { "", "SP_SHADOW0", "SP_SHADOW22", "SP_SHADOW01", "SP_SHADOW", "SP_PEN5", "sp_pen1", "SP_GRAD_HORZ" }) {
        TBitmap bitmap;
        bitmap.SetSize(3, 3);
        EXPECT_FALSE(LoadStylePicture(&bitmap, name)) << name;
        EXPECT_EQ(bitmap.Width(), 3);
    }
}

namespace {

class SkinStyleButtonsTest : public ControlsTest {
protected:
    void SetUp() override
    {
        ControlsTest::SetUp();
        Form = NewForm(0, 0, 400, 400);
        Form->Show();
        Pump();
    }

    template <class T> T* Place(int x, int y)
    {
        auto* button = new T(Form);
        button->SetParent(Form);
        button->SetBounds(x, y, 65, 25);
        Pump();
        return button;
    }
    uint32_t At(int x, int y)
    {
        Pump();
        return Backend.WindowPixel(Form->Handle(), x, y);
    }
    // The bounding box of the pixels of colour `colour` in `r` (form coordinates); empty when none.
    TRect Find(const TRect& r, uint32_t colour)
    {
        Pump();
        TRect box { r.Right, r.Bottom, r.Left, r.Top };
        for (int y = r.Top; y < r.Bottom; ++y)
            for (int x = r.Left; x < r.Right; ++x)
                if (Backend.WindowPixel(Form->Handle(), x, y) == colour) {
                    box.Left = std::min(box.Left, x);
                    box.Top = std::min(box.Top, y);
                    box.Right = std::max(box.Right, x + 1);
                    box.Bottom = std::max(box.Bottom, y + 1);
                }
        return box;
    }
    // Black pixels down the middle of the silver-framed picture on the face at `face`.
    int LineOnFace(const TRect& face)
    {
        const TRect frame = Find(face, kSilver);
        if (frame.Left >= frame.Right)
            return -1;
        int n = 0;
        for (int y = frame.Top; y < frame.Bottom; ++y)
            n += At((frame.Left + frame.Right) / 2, y) == 0;
        return n;
    }
    void ClickCell(TspSkinImagesMenu* menu, int index)
    {
        const TRect r = menu->PopupWindow()->GetItemRect(index);
        const TPoint p = menu->PopupWindow()->ClientToScreen(TPoint { (r.Left + r.Right) / 2, (r.Top + r.Bottom) / 2 });
        Backend.MouseMove(p.X, p.Y);
        Backend.MouseDown();
        Backend.MouseUp();
        Pump();
    }

    TForm* Form = nullptr;
};

} // namespace

TEST_F(SkinStyleButtonsTest, EachStyleButtonFillsItsMenuWithItsPicturesItemsAndColumns)
{
    // An item's picture, caption, hint and whether it is a button row.
    using TItem = std::tuple<int, std::string, std::string, bool>;
    struct TCase {
        const char* Name;
        std::function<TspSkinGraphicButton*(TComponent*)> Make;
        int Columns;
        std::vector<std::string> Pictures;
        std::vector<TItem> Items;
    };
    auto images = [](int count) {
        std::vector<TItem> items;
        for (int i = 0; i < count; ++i)
            items.emplace_back(i, "", "", false);
        return items;
    };
    std::vector<TItem> shadowItems = images(20);
    shadowItems.insert(shadowItems.begin(), { -1, "No shadow", "", true });
    shadowItems.push_back({ 20, "More settings", "", true });
    std::vector<std::string> shadows;
    for (int n = 1; n <= 21; ++n)
        shadows.push_back("SP_SHADOW" + std::to_string(n));
    const char* const widths[] = { "1/4 pt", "1/2 pt", "3/4 pt", "1 pt", "1 1/4 pt", "1 1/2 pt", "1 3/4 pt", "2 pt",
        "2 1/2 pt", "3 pt", "4 pt", "6 pt" };
    std::vector<TItem> widthItems;
    for (int i = 0; i < 12; ++i)
        widthItems.emplace_back(i, widths[i], "", true);
    const char* const hints[]
        = { "HorizotalIn", "HorizotalOut", "HorizotalInOut", "VerticalIn", "VerticalOut", "VerticalInOut" };
    auto gradientItems = images(6);
    for (int i = 0; i < 6; ++i)
        std::get<2>(gradientItems[size_t(i)]) = hints[i];

    const TCase cases[] = {
        { "gradient", [](TComponent* o) { return new TspSkinGradientStyleButton(o); }, 2,
            { "SP_GRAD_HORZ_IN", "SP_GRAD_HORZ_OUT", "SP_GRAD_HORZ_INOUT", "SP_GRAD_VERT_IN", "SP_GRAD_VERT_OUT",
                "SP_GRAD_VERT_INOUT" },
            gradientItems },
        { "brush", [](TComponent* o) { return new TspSkinBrushStyleButton(o); }, 2,
            { "SP_BRUSH_CLEAR", "SP_BRUSH_SOLID", "SP_BRUSH_CROSS", "SP_BRUSH_DCROSS", "SP_BRUSH_FD", "SP_BRUSH_BD",
                "SP_BRUSH_H", "SP_BRUSH_V" },
            images(8) },
        { "pen style", [](TComponent* o) { return new TspSkinPenStyleButton(o); }, 1,
            { "SP_PEN_SOLID", "SP_PEN_DASH", "SP_PEN_DASHDOT", "SP_PEN_DOT", "SP_PEN_DASHDOTDOT" }, images(5) },
        { "pen width", [](TComponent* o) { return new TspSkinPenWidthButton(o); }, 2,
            { "SP_PEN1", "SP_PEN1", "SP_PEN2", "SP_PEN2", "SP_PEN2", "SP_PEN3", "SP_PEN3", "SP_PEN3", "SP_PEN3",
                "SP_PEN4", "SP_PEN4", "SP_PEN6" },
            widthItems },
        { "shadow", [](TComponent* o) { return new TspSkinShadowStyleButton(o); }, 4, shadows, shadowItems },
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.Name);
        std::unique_ptr<TspSkinGraphicButton> button(c.Make(Form));
        EXPECT_EQ(button->Width(), 65);
        EXPECT_EQ(button->ItemIndex(), 0) << "the first item is chosen at start";
        EXPECT_EQ(button->GetSelectedItem(), button->GraphicItems()->Items(0));
        EXPECT_EQ(button->GraphicMenu()->ColumnsCount(), c.Columns);
        EXPECT_EQ(button->SkinImagesMenu(), button->GraphicMenu());
        EXPECT_TRUE(button->UseImagesMenuImage());
        EXPECT_FALSE(button->UseImagesMenuCaption());

        // The image list holds the pictures in order, at the size of the first.
        TCustomImageList* list = button->GraphicImages();
        const bool masked = c.Pictures[0].rfind("SP_SHADOW", 0) == 0;
        EXPECT_EQ(button->GraphicMenu()->Images(), list);
        ASSERT_EQ(list->Count(), int(c.Pictures.size()));
        TDrawnPicture first(c.Pictures[0]);
        EXPECT_EQ(list->Width(), first.Bitmap.Width());
        EXPECT_EQ(list->Height(), first.Bitmap.Height());
        for (size_t i = 0; i < c.Pictures.size(); ++i) {
            TDrawnPicture expected(c.Pictures[i]);
            TBitmap image;
            list->GetBitmap(int(i), &image);
            int differing = 0;
            for (int y = 0; y < list->Height(); ++y)
                for (int x = 0; x < list->Width(); ++x)
                    // White is transparent in the shadows, and comes back black.
                    if (expected.At(x, y) != kWhite || !masked)
                        differing += Rgb(image.Canvas()->Pixels(x, y)) != expected.At(x, y);
            EXPECT_EQ(differing, 0) << "picture " << i << " is " << c.Pictures[i];
        }

        ASSERT_EQ(button->GraphicItems()->Count(), int(c.Items.size()));
        for (size_t i = 0; i < c.Items.size(); ++i) {
            const TspImagesMenuItem* item = button->GraphicItems()->Items(int(i));
            const auto& [image, caption, hint, isButton] = c.Items[i];
            EXPECT_EQ(item->ImageIndex(), image) << i;
            EXPECT_EQ(item->Caption(), caption) << i;
            EXPECT_EQ(item->Hint, hint) << i;
            EXPECT_EQ(item->Button, isButton) << i;
        }
    }
}

TEST_F(SkinStyleButtonsTest, APenWidthButtonShowsPictureZeroWithItsOwnCaptionAndTheChosenPictureAfterwards)
{
    auto* button = Place<TspSkinPenWidthButton>(20, 30);
    const TRect face = Rect(20, 30, 85, 55);
    const TRect frame = Find(face, kSilver);
    EXPECT_EQ(frame.Right - frame.Left, 40);
    EXPECT_EQ(frame.Bottom - frame.Top, 16);
    EXPECT_EQ(frame.Left, 20 + (65 - 15 - 40) / 2) << "no caption: the item's caption is not shown";
    EXPECT_EQ(LineOnFace(face), 1) << "the one-pixel line of \"1/4 pt\"";

    button->SetCaption("W");
    EXPECT_LT(Find(face, kSilver).Left, frame.Left) << "the button's own caption beside the picture";

    struct TCase {
        int Index;
        int Line;
    };
    const TCase cases[] = { { 3, 2 }, { 11, 6 }, { 8, 3 }, { 99, -1 }, { -1, -1 }, { 0, 1 } };
    for (const TCase& c : cases) {
        button->SetItemIndex(c.Index);
        EXPECT_EQ(button->GraphicMenu()->ItemIndex, c.Index);
        EXPECT_EQ(button->GetSelectedItem() != nullptr, c.Line != -1) << c.Index;
        EXPECT_EQ(LineOnFace(face), c.Line) << "item " << c.Index << " repaints the face";
    }
}

TEST_F(SkinStyleButtonsTest, APenWidthButtonOpensTwoColumnsOfCaptionedRowsAndTheChoiceLiftsAndRepaintsIt)
{
    auto* button = Place<TspSkinPenWidthButton>(20, 30);
    int hidden = 0;
    button->OnHideTrackMenu = [&](TObject*) { ++hidden; };
    Click(40, 40);
    TspSkinImagesMenuPopupWindow* window = button->GraphicMenu()->PopupWindow();
    ASSERT_NE(window, nullptr);
    EXPECT_TRUE(button->Down());
    EXPECT_EQ(window->Width(), 2 * 50 + 10) << "two columns of 40 + 10";
    EXPECT_EQ(window->GetItemRect(0), (TRect { 5, 5, 105, 31 })) << "a row across both columns";
    EXPECT_EQ(window->GetItemRect(11), (TRect { 5, 5 + 11 * 27, 105, 31 + 11 * 27 }));
    EXPECT_EQ(window->Left(), 20);
    EXPECT_EQ(window->Top(), 55) << "under the button";

    ClickCell(button->GraphicMenu(), 10);
    EXPECT_EQ(button->GraphicMenu()->PopupWindow(), nullptr);
    EXPECT_EQ(button->ItemIndex(), 10);
    EXPECT_FALSE(button->Down());
    EXPECT_FALSE(button->MenuOpen());
    EXPECT_EQ(hidden, 1);
    EXPECT_EQ(LineOnFace(Rect(20, 30, 85, 55)), 4) << "\"4 pt\" on the face";
}

TEST_F(SkinStyleButtonsTest, AShadowButtonOpensFourColumnsBetweenNoShadowAndMoreSettings)
{
    auto* button = Place<TspSkinShadowStyleButton>(20, 30);
    const TRect face = Rect(20, 30, 85, 55);
    EXPECT_EQ(Find(face, kTeal).Left, face.Right) << "\"No shadow\" has no picture";
    button->SetItemIndex(1);
    const TRect square = Find(face, kTeal);
    EXPECT_LT(square.Left, square.Right) << "the first shadow";
    EXPECT_EQ(Find(face, kWhite).Left, face.Right) << "white is the pictures' transparent colour";

    Click(40, 40);
    TspSkinImagesMenuPopupWindow* window = button->GraphicMenu()->PopupWindow();
    ASSERT_NE(window, nullptr);
    EXPECT_EQ(window->Width(), 4 * 30 + 10);
    EXPECT_EQ(window->GetItemRect(0), (TRect { 5, 5, 125, 35 })) << "\"No shadow\" across the grid";
    EXPECT_EQ(window->GetItemRect(1), (TRect { 5, 36, 35, 66 }));
    EXPECT_EQ(window->GetItemRect(4), (TRect { 95, 36, 125, 66 }));
    EXPECT_EQ(window->GetItemRect(20), (TRect { 95, 160, 125, 190 }));
    EXPECT_EQ(window->GetItemRect(21), (TRect { 5, 191, 125, 221 })) << "\"More settings\" on a row of its own";
    EXPECT_EQ(window->Height(), 221 - 5 + 10);
    ClickCell(button->GraphicMenu(), 0);
    EXPECT_EQ(button->ItemIndex(), 0);
    EXPECT_EQ(Find(face, kTeal).Left, face.Right);
}

TEST_F(SkinStyleButtonsTest, TheMenuPropertiesPassThroughAndTheBlendValueStaysInAByte)
{
    auto* button = Place<TspSkinBrushStyleButton>(20, 30);
    TspSkinImagesMenu* menu = button->GraphicMenu();
    struct TCase {
        int Value, Stored;
    };
    for (const TCase& c : { TCase { 120, 120 }, TCase { 300, 255 }, TCase { -5, 0 } }) {
        button->SetMenuAlphaBlendValue(c.Value);
        EXPECT_EQ(menu->AlphaBlendValue, c.Stored) << c.Value;
        EXPECT_EQ(button->MenuAlphaBlendValue(), c.Stored);
    }
    TFont font;
    font.SetName("DejaVu Serif");
    button->SetMenuDefaultFont(&font);
    EXPECT_NE(button->MenuDefaultFont(), &font) << "a copy";
    EXPECT_EQ(menu->DefaultFont()->Name(), "DejaVu Serif");
    button->SetMenuShowHints(false);
    button->SetMenuAlphaBlend(true);
    button->SetMenuAlphaBlendAnimation(true);
    button->SetMenuUseSkinFont(false);
    EXPECT_FALSE(menu->ShowHints);
    EXPECT_TRUE(menu->AlphaBlend && menu->AlphaBlendAnimation);
    EXPECT_FALSE(menu->UseSkinFont);
    EXPECT_EQ(button->GraphicItems(), menu->ImagesItems());
}

TEST_F(SkinStyleButtonsTest, WithTheFixtureSkinTheFaceIsTheRecordsPictureUnderTheChosenOneAndLoadedSkinsTheMenu)
{
    TFixtureSkin fixture;
    fixture.AddActivePicture("buttons.bmp", 200, 80, kSeed);
    fixture.AddControl("toolmenubutton", "menubutton",
        { { "pictureindex", "0" }, { "skinrect", "0,0,65,25" }, { "activeskinrect", "0,25,65,50" },
            { "downskinrect", "0,50,65,75" }, { "clientrect", "3,3,62,22" }, { "fontname", "DejaVu Sans" },
            { "fontheight", "12" } });
    auto* skin = new TspSkinData(Application);
    skin->LoadFromFile(fixture.Write());
    ASSERT_FALSE(skin->Empty);
    auto* button = Place<TspSkinPenStyleButton>(20, 30);
    button->SetSkinData(skin);
    EXPECT_EQ(At(20, 30), TFixtureSkin::PixelOf(0, 0, kSeed)) << "the normal picture";
    const TRect face = Rect(20, 30, 85, 55);
    const TRect frame = Find(face, kSilver);
    EXPECT_EQ(frame.Right - frame.Left, 44) << "the solid pen's picture over it";
    EXPECT_EQ(LineOnFace(face), 3);
    EXPECT_EQ(button->GraphicMenu()->SkinData(), nullptr);
    button->Loaded();
    EXPECT_EQ(button->GraphicMenu()->SkinData(), skin) << "the menu takes the button's skin";
    EXPECT_EQ(button->SkinImagesMenu(), button->GraphicMenu());
}

TEST_F(SkinStyleButtonsTest, DeletingAButtonWithItsMenuOpenClosesTheMenuWithIt)
{
    struct TMarker {
        void operator()(MSG&, bool&) const { }
    };
    Application->OnMessage = TMarker {};
    auto* button = Place<TspSkinGradientStyleButton>(20, 30);
    Click(40, 40);
    ASSERT_NE(button->GraphicMenu()->PopupWindow(), nullptr);
    delete button;
    Pump();
    EXPECT_NE(Application->OnMessage.target<TMarker>(), nullptr) << "the application's handler is given back";
    Click(200, 200);
    Backend.Key('A');
    Pump();
}
