#pragma once
// The drawing surface of a window, as its code sees it.
//
// Coordinates are twips (15 to a device-independent pixel), origin at the top
// left of the client area, y downward. Everything drawn since the last Cls is
// kept as a display list of plain values; the window's paint event replays
// it, and tests read it to see exactly what was drawn. Every coordinate is
// rounded to single precision on the way in, and one beyond the range of a
// single is the overflow error.
//
// This header has no Qt in it: the display list is data, the replay lives in
// render.h.

#include <cstdint>
#include <optional>
#include <vector>

namespace rt {

// A colour as 0x00BBGGRR: red in the low byte.
using Color = std::uint32_t;

constexpr Color RGB(int r, int g, int b)
{
    auto clamp = [](int v) { return static_cast<Color>(v < 0 ? 0 : (v > 255 ? 255 : v)); };
    return clamp(r) | (clamp(g) << 8) | (clamp(b) << 16);
}
constexpr int redOf(Color c) { return static_cast<int>(c & 0xFF); }
constexpr int greenOf(Color c) { return static_cast<int>((c >> 8) & 0xFF); }
constexpr int blueOf(Color c) { return static_cast<int>((c >> 16) & 0xFF); }

// The face of every window (the desktop's light palette): the background a
// picture is cleared to and drawn on, on the desktop and in the browser.
constexpr Color kFaceColor = RGB(240, 240, 240);

enum class LineShape { Line, Box, FilledBox };

constexpr int kSolid = 0;        // FillStyle: filled with FillColor
constexpr int kTransparent = 1;  // FillStyle: outline only

struct DrawOp {
    enum class Kind { Line, Box, FilledBox, Circle };
    Kind kind = Kind::Line;
    // Line and boxes: from (x1, y1) to (x2, y2). Circle: centre (x1, y1),
    // radius x2.
    float x1 = 0, y1 = 0, x2 = 0, y2 = 0;
    Color color = 0;      // line, outline and box colour
    Color fillColor = 0;  // circle only, when filled
    bool filled = false;  // circle only
    int width = 1;        // pen width in pixels

    bool operator==(const DrawOp&) const = default;
};

class Canvas {
public:
    Canvas();
    virtual ~Canvas() = default;

    // Clears the picture to BackColor; the pen goes to (0, 0).
    void Cls();

    // A line, box outline or filled box from (x1, y1) to (x2, y2), in the
    // given colour or ForeColor. The pen ends at (x2, y2).
    void Line(double x1, double y1, double x2, double y2, std::optional<Color> color = {},
              LineShape shape = LineShape::Line);
    // The same, starting from the pen (CurrentX, CurrentY).
    void LineTo(double x2, double y2, std::optional<Color> color = {},
                LineShape shape = LineShape::Line);

    // A whole circle outlined in ForeColor (or the colour given) and filled
    // with FillColor when FillStyle is solid. The pen ends at the centre.
    void Circle(double x, double y, double radius, std::optional<Color> color = {});

    const std::vector<DrawOp>& displayList() const { return m_ops; }
    // Changes whenever the picture changes, so a window repaints only then.
    std::uint64_t pictureGeneration() const { return m_generation; }

    // Drawing state, with the defaults of a new window (ForeColor and
    // BackColor are set from the system colours by the window).
    Color ForeColor = RGB(0, 0, 0);
    Color BackColor = kFaceColor;
    Color FillColor = RGB(0, 0, 0);
    int FillStyle = kTransparent;
    int DrawWidth = 1;
    bool AutoRedraw = false;
    float CurrentX = 0;
    float CurrentY = 0;

protected:
    // Back to a new window's drawing state, picture cleared.
    void resetCanvas(Color foreColor, Color backColor);
private:
    void add(DrawOp op);

    std::vector<DrawOp> m_ops;
    std::uint64_t m_generation = 0;
};

}  // namespace rt
