#pragma once
// The language of every caption, menu and message: Japanese (the texts the
// program is written in) or any other for which a translation is compiled
// into the program (translations/springlab_<code>.ts becomes
// :/i18n/springlab_<code>.qm). Switching takes effect at once in every
// window.

#include <QString>
#include <QStringList>

#include <algorithm>
#include <array>
#include <optional>
#include <string_view>
#include <vector>

// A language by its code ("ja", "en", "pt_BR"): a plain value, so that
// constants of it are ready before anything runs.
class Language {
public:
    constexpr explicit Language(std::string_view code) : m_code{}
    {
        const std::size_t n = std::min(code.size(), m_code.size() - 1);
        for (std::size_t i = 0; i < n; ++i)
            m_code[i] = code[i];
    }
    constexpr std::string_view code() const { return std::string_view(m_code.data()); }
    constexpr bool operator==(const Language& other) const { return code() == other.code(); }

    static const Language Japanese;
    static const Language English;

private:
    std::array<char, 16> m_code;
};
inline constexpr Language Language::Japanese{"ja"};
inline constexpr Language Language::English{"en"};

// Japanese first, then every language with a compiled translation, by code.
std::vector<Language> availableLanguages();
// The language's own name for itself ("日本語", "English"), for the menu.
QString languageName(Language language);

// One of the available languages; anything else is no language.
std::optional<Language> languageFromCode(const QString& code);
QString languageCode(Language language);

Language currentLanguage();
// Open windows take the new language straight away (they are sent a
// language-change event).
void setLanguage(Language language);
