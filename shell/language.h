#pragma once
// The language of every caption, menu and message: Japanese (the texts the
// program is written in) or English, from the translation compiled into the
// program. Switching takes effect at once in every window.

#include <QString>

#include <optional>

enum class Language { Japanese, English };

// "ja" or "en"; anything else is no language.
std::optional<Language> languageFromCode(const QString& code);
QString languageCode(Language language);

Language currentLanguage();
// Open windows take the new language straight away (they are sent a
// language-change event).
void setLanguage(Language language);
