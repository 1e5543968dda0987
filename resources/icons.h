#pragma once
// The program's own icons, drawn by hand as SVG (resources/icons/*.svg) and
// carried as PNGs at 16 to 128 pixels, so no SVG support is needed at run
// time. resources/render-icons.sh renders the PNGs again after an SVG changes.

#include <QIcon>

#include <string_view>

enum class Icon {
    Program,     // a ball on a zig-zag spring: launcher and general windows
    Rotation,    // the pointer swinging a mass on a cord
    RubberCord,  // a cord lying in a walled box
};

// Every size of the icon, for the window system to pick from. Never null.
QIcon springlabIcon(Icon which);

// The icon an experiment's definition names: "program", "rotation",
// "rubber-cord"; the program's own for any other name.
QIcon springlabIcon(std::string_view name);
