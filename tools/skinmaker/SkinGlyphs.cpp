#include "tools/skinmaker/SkinGlyphs.h"

#include <algorithm>
#include <cmath>
#include <numbers>
#include <vector>

namespace SkinGlyphs {

namespace {

constexpr float kPi = std::numbers::pi_v<float>;

// Maps the 24-unit design grid onto the target square.
class TGrid {
public:
    TGrid(TSkinPainter& painter, float cx, float cy, float size, const TPaint& colour)
        : Painter(painter)
        , Cx(cx)
        , Cy(cy)
        , Scale(size / 24)
        , Colour(colour)
        // Strokes stay at least 1.4 pixels wide, so small icons keep their weight.
        , Stroke(std::max(1.4f, 2 * size / 24))
    {
    }

    TFloatPoint P(float x, float y) const { return TFloatPoint { Cx + (x - 12) * Scale, Cy + (y - 12) * Scale }; }
    float S(float v) const { return v * Scale; }
    TFloatRect R(float l, float t, float r, float b) const
    {
        const TFloatPoint a = P(l, t);
        const TFloatPoint c = P(r, b);
        return TFloatRect { a.X, a.Y, c.X, c.Y };
    }

    void Line(float x1, float y1, float x2, float y2) const
    {
        const TFloatPoint a = P(x1, y1);
        const TFloatPoint b = P(x2, y2);
        Painter.Line(a.X, a.Y, b.X, b.Y, Stroke, Colour);
    }
    void Path(std::initializer_list<TFloatPoint> grid) const
    {
        std::vector<TFloatPoint> points;
        for (const TFloatPoint& p : grid)
            points.push_back(P(p.X, p.Y));
        Painter.Polyline(points, Stroke, Colour);
    }
    void Fill(std::initializer_list<TFloatPoint> grid, const TPaint& colour) const
    {
        std::vector<TFloatPoint> points;
        for (const TFloatPoint& p : grid)
            points.push_back(P(p.X, p.Y));
        Painter.FillPolygon(points, colour);
    }
    void Box(float l, float t, float r, float b, float radius) const
    {
        // The stroke centred on the outline, as the other strokes are.
        const float half = Stroke / 2;
        TFloatRect box = R(l, t, r, b);
        box = TFloatRect { box.Left - half, box.Top - half, box.Right + half, box.Bottom + half };
        Painter.StrokeRoundRect(box, S(radius) + half, Stroke, Colour);
    }
    void Dot(float x, float y, float radius, const TPaint& colour) const
    {
        const TFloatPoint c = P(x, y);
        Painter.FillCircle(c.X, c.Y, S(radius), colour);
    }
    void Ring(float x, float y, float radius) const
    {
        const TFloatPoint c = P(x, y);
        Painter.StrokeCircle(c.X, c.Y, S(radius) + Stroke / 2, Stroke, Colour);
    }

    TSkinPainter& Painter;
    float Cx;
    float Cy;
    float Scale;
    TPaint Colour;
    float Stroke;
};

void Gear(const TGrid& g, const TPaint& background)
{
    std::vector<TFloatPoint> outline;
    constexpr int kTeeth = 8;
    for (int i = 0; i <= kTeeth; ++i) {
        const float centre = float(i) * 2 * kPi / kTeeth;
        const float d = 2 * kPi / kTeeth;
        const std::pair<float, float> shape[] = { { -0.5f, 6.6f }, { -0.2f, 6.8f }, { -0.13f, 9.2f }, { 0.13f, 9.2f },
            { 0.2f, 6.8f } };
        for (const auto& [offset, radius] : shape) {
            const float a = centre + offset * d;
            outline.push_back(g.P(12 + radius * std::cos(a), 12 + radius * std::sin(a)));
        }
    }
    g.Painter.FillPolygon(outline, g.Colour);
    g.Dot(12, 12, 3.2f, background);
}

} // namespace

void Draw(TSkinPainter& painter, TGlyph glyph, float cx, float cy, float size, const TPaint& colour,
    const TPaint& background)
{
    const TGrid g(painter, cx, cy, size, colour);
    switch (glyph) {
    case TGlyph::AddFiles:
        g.Path({ { 14, 3 }, { 6, 3 }, { 6, 21 }, { 18, 21 }, { 18, 7 }, { 14, 3 }, { 14, 7 }, { 18, 7 } });
        g.Line(12, 10.5f, 12, 17.5f);
        g.Line(8.5f, 14, 15.5f, 14);
        break;
    case TGlyph::AddFolder:
        g.Path({ { 3, 19 }, { 3, 5 }, { 9, 5 }, { 11, 7.5f }, { 21, 7.5f }, { 21, 19 }, { 3, 19 } });
        g.Line(12, 10, 12, 16.5f);
        g.Line(8.75f, 13.25f, 15.25f, 13.25f);
        break;
    case TGlyph::ClearList:
        g.Line(4, 6, 16, 6);
        g.Line(4, 11, 12, 11);
        g.Line(4, 16, 9, 16);
        g.Line(14.5f, 12.5f, 20.5f, 18.5f);
        g.Line(20.5f, 12.5f, 14.5f, 18.5f);
        break;
    case TGlyph::Remove:
        g.Line(4, 6.5f, 20, 6.5f);
        g.Path({ { 9, 6.5f }, { 9, 3.5f }, { 15, 3.5f }, { 15, 6.5f } });
        g.Path({ { 6, 6.5f }, { 7, 20.5f }, { 17, 20.5f }, { 18, 6.5f } });
        g.Line(10, 10.5f, 10, 16.5f);
        g.Line(14, 10.5f, 14, 16.5f);
        break;
    case TGlyph::ArrowUp:
        g.Line(12, 20, 12, 5);
        g.Path({ { 5.5f, 11 }, { 12, 4.5f }, { 18.5f, 11 } });
        break;
    case TGlyph::ArrowDown:
        g.Line(12, 4, 12, 19);
        g.Path({ { 5.5f, 13 }, { 12, 19.5f }, { 18.5f, 13 } });
        break;
    case TGlyph::Menu:
        g.Line(4.5f, 7, 19.5f, 7);
        g.Line(4.5f, 12, 19.5f, 12);
        g.Line(4.5f, 17, 19.5f, 17);
        break;
    case TGlyph::Device:
        g.Box(6.5f, 2.5f, 17.5f, 21.5f, 2.5f);
        g.Box(9, 5.5f, 15, 9.5f, 0.5f);
        g.Ring(12, 15.5f, 2.3f);
        break;
    case TGlyph::Browse:
        g.Path({ { 3, 19 }, { 3, 5 }, { 9, 5 }, { 11, 7.5f }, { 21, 7.5f }, { 21, 19 }, { 3, 19 } });
        g.Dot(8, 13.5f, 1.4f, colour);
        g.Dot(12, 13.5f, 1.4f, colour);
        g.Dot(16, 13.5f, 1.4f, colour);
        break;
    case TGlyph::Sliders:
        g.Line(3.5f, 7, 20.5f, 7);
        g.Line(3.5f, 12, 20.5f, 12);
        g.Line(3.5f, 17, 20.5f, 17);
        for (const TFloatPoint knob : { TFloatPoint { 8, 7 }, TFloatPoint { 15.5f, 12 }, TFloatPoint { 10, 17 } }) {
            g.Dot(knob.X, knob.Y, 2.8f, colour);
            g.Dot(knob.X, knob.Y, 1.2f, background);
        }
        break;
    case TGlyph::Pencil:
        g.Path({ { 4, 20 }, { 5, 15 }, { 15.5f, 4.5f }, { 19.5f, 8.5f }, { 9, 19 }, { 4, 20 } });
        g.Line(13, 7, 17, 11);
        break;
    case TGlyph::Play:
        g.Fill({ { 7, 4.5f }, { 19.5f, 12 }, { 7, 19.5f } }, colour);
        break;
    case TGlyph::Pause:
        painter.FillRoundRect(g.R(6.5f, 5, 10.5f, 19), g.S(1), colour);
        painter.FillRoundRect(g.R(13.5f, 5, 17.5f, 19), g.S(1), colour);
        break;
    case TGlyph::Stop:
        painter.FillRoundRect(g.R(6, 6, 18, 18), g.S(2), colour);
        break;
    case TGlyph::MarkStart:
        g.Path({ { 10, 4.5f }, { 6, 4.5f }, { 6, 19.5f }, { 10, 19.5f } });
        g.Fill({ { 11, 7.5f }, { 18.5f, 12 }, { 11, 16.5f } }, colour);
        break;
    case TGlyph::MarkEnd:
        g.Path({ { 14, 4.5f }, { 18, 4.5f }, { 18, 19.5f }, { 14, 19.5f } });
        g.Fill({ { 13, 7.5f }, { 5.5f, 12 }, { 13, 16.5f } }, colour);
        break;
    case TGlyph::Jump:
        g.Line(18.5f, 5, 18.5f, 19);
        g.Line(4, 12, 14, 12);
        g.Path({ { 9.5f, 7.5f }, { 14, 12 }, { 9.5f, 16.5f } });
        break;
    case TGlyph::Camera:
        g.Path({ { 3, 8 }, { 7.5f, 8 }, { 9.5f, 5 }, { 14.5f, 5 }, { 16.5f, 8 }, { 21, 8 }, { 21, 19 }, { 3, 19 },
            { 3, 8 } });
        g.Ring(12, 13.5f, 3.2f);
        break;
    case TGlyph::Gear:
        Gear(g, background);
        break;
    case TGlyph::Close:
        g.Line(7, 7, 17, 17);
        g.Line(17, 7, 7, 17);
        break;
    case TGlyph::Minimize:
        g.Line(7, 12.5f, 17, 12.5f);
        break;
    case TGlyph::Maximize:
        g.Box(7, 7, 17, 17, 1);
        break;
    case TGlyph::Restore:
        g.Box(6.5f, 9.5f, 14.5f, 17.5f, 1);
        g.Path({ { 9.5f, 6.5f }, { 17.5f, 6.5f }, { 17.5f, 14.5f } });
        break;
    case TGlyph::RollUp:
        g.Path({ { 7, 14.5f }, { 12, 9.5f }, { 17, 14.5f } });
        break;
    case TGlyph::AppIcon:
        painter.FillRoundRect(g.R(2, 2, 22, 22), g.S(5), TFill(Mix(colour, Rgb(0xFFFFFF), 0.2f), colour));
        g.Fill({ { 9.5f, 7 }, { 17.5f, 12 }, { 9.5f, 17 } }, background);
        break;
    case TGlyph::ChevronUp:
        g.Path({ { 7, 14.5f }, { 12, 9.5f }, { 17, 14.5f } });
        break;
    case TGlyph::ChevronDown:
        g.Path({ { 7, 9.5f }, { 12, 14.5f }, { 17, 9.5f } });
        break;
    case TGlyph::ChevronLeft:
        g.Path({ { 14.5f, 7 }, { 9.5f, 12 }, { 14.5f, 17 } });
        break;
    case TGlyph::ChevronRight:
        g.Path({ { 9.5f, 7 }, { 14.5f, 12 }, { 9.5f, 17 } });
        break;
    case TGlyph::Check:
        g.Path({ { 5, 12.5f }, { 10, 17.5f }, { 19, 7 } });
        break;
    case TGlyph::Ellipsis:
        g.Dot(6.5f, 12, 1.6f, colour);
        g.Dot(12, 12, 1.6f, colour);
        g.Dot(17.5f, 12, 1.6f, colour);
        break;
    case TGlyph::Film:
        g.Box(3, 5, 21, 19, 2);
        g.Line(7.5f, 5, 7.5f, 19);
        g.Line(16.5f, 5, 16.5f, 19);
        g.Line(3, 12, 7.5f, 12);
        g.Line(16.5f, 12, 21, 12);
        break;
    case TGlyph::Crop:
        g.Path({ { 7, 2.5f }, { 7, 17 }, { 21.5f, 17 } });
        g.Path({ { 2.5f, 7 }, { 17, 7 }, { 17, 21.5f } });
        break;
    case TGlyph::Info:
        g.Ring(12, 12, 8.5f);
        g.Line(12, 11, 12, 16.5f);
        g.Dot(12, 7.8f, 1.3f, colour);
        break;
    }
}

} // namespace SkinGlyphs
