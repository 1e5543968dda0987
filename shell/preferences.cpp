#include "shell/preferences.h"

#include "runtime/forms/form.h"

#include <QSettings>

namespace {

const QString kZoomKey = QStringLiteral("view/zoom");
const QString kLanguageKey = QStringLiteral("language");

}  // namespace

void restorePreferences()
{
    const QSettings settings;
    bool isNumber = false;
    const int zoom = settings.value(kZoomKey).toString().toInt(&isNumber);
    if (isNumber)
        rt::setZoomPercent(zoom);  // ignores anything but a zoom level
    if (const auto language = languageFromCode(settings.value(kLanguageKey).toString()))
        setLanguage(*language);
}

void rememberZoomChanges()
{
    rt::setZoomListener([](int percent) { QSettings().setValue(kZoomKey, percent); });
}

void rememberLanguage(Language language)
{
    QSettings().setValue(kLanguageKey, languageCode(language));
}
