#pragma once
// A window's controls as the designer laid them out: kinds, names, captions,
// positions in twips, tab order and colours. Plain C++: the desktop window
// builds its widgets from it, and every other face reads the same table.

#include "runtime/canvas/canvas.h"

#include <span>

namespace rt {

enum class ControlKind { Label, TextBox, CommandButton };

// A colour value meaning "the control's default background".
constexpr Color kDefaultColor = 0xFF000000u;

struct ControlDef {
    ControlKind kind;
    const char* name;
    // Caption of a label or button (UTF-8 Japanese source text, translated
    // at load), default text of a box (used as it stands).
    const char* text;
    int left, top, width, height;  // twips
    int tabIndex;
    Color backColor = kDefaultColor;
};

// A whole window as the designer laid it out.
struct FormDesign {
    const char* formName;  // "frmMain": the window, and the context of its texts
    const char* caption;   // Japanese source text
    int clientWidth;       // twips
    int clientHeight;      // twips
    std::span<const ControlDef> controls;
};

}  // namespace rt
