#pragma once
// The launcher's window as the designer laid it out: one button per
// experiment (each experiment names its own, Definition::launcherButton).
// Plain C++: the desktop builds its launcher from it, the browser shows the
// same buttons.

#include "runtime/canvas/design_table.h"

namespace sims {

const rt::FormDesign& launcher();

// The launcher's menus, Japanese source texts translated in its form's
// context ("&" marks the desktop's keyboard mnemonic); the language menu is
// named in both languages and not translated.
struct LauncherMenus {
    const char* view;
    const char* zoom;
    const char* language;
    const char* measure;
    const char* record;
    const char* replay;
    const char* help;
    const char* about;
    const char* aboutTitle;
};
const LauncherMenus& launcherMenus();

// The about box's description and licence, in the same context.
struct AboutTexts {
    const char* description;
    const char* licence;
};
const AboutTexts& aboutTexts();

}  // namespace sims
