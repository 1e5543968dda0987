#pragma once
// What the user chose last time (zoom, language), kept with QSettings.

#include "shell/language.h"

#include <QString>

// The settings file (where QSettings() keeps the program's), read only as
// an ordinary file of sane size: anything else there is passed over and
// left as it is.
QString settingsFilePath();

// Applies the zoom and language stored from the last run. A stored value
// that is not one the program offers (an edited or damaged settings file)
// is passed over.
void restorePreferences();
// From now on every change of zoom is stored.
void rememberZoomChanges();
void rememberLanguage(Language language);
