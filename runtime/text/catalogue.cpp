#include "runtime/text/catalogue.h"

#include "runtime/text/catalogue_data.h"

#include <algorithm>
#include <tuple>

// Marks a text for the translation files (lupdate reads it); code without Qt
// takes the text as it stands.
#ifndef QT_TRANSLATE_NOOP
#define QT_TRANSLATE_NOOP(scope, x) x
#endif

namespace rt::text {

namespace {

// Where each translation says what its language is called: its text for
// the name of the language the program is written in.
constexpr std::string_view kLanguageContext = "Language";
constexpr std::string_view kOwnName = QT_TRANSLATE_NOOP("Language", "日本語");

}  // namespace

std::span<const std::string_view> languages() { return {data::kLanguages, data::kLanguageCount}; }

bool hasLanguage(std::string_view code)
{
    const auto all = languages();
    return std::find(all.begin(), all.end(), code) != all.end();
}

std::span<const Entry> entries() { return {data::kEntries, data::kEntryCount}; }

std::string_view languageName(std::string_view code)
{
    const std::string_view name = translate(code, kLanguageContext, kOwnName);
    return code != "ja" && name == kOwnName ? code : name;
}

std::string_view translate(std::string_view language, std::string_view context, std::string_view source)
{
    const std::span<const Entry> all = entries();
    const auto key = std::tie(language, context, source);
    const auto it = std::lower_bound(all.begin(), all.end(), key, [](const Entry& e, const auto& k) {
        return std::tie(e.language, e.context, e.source) < k;
    });
    if (it != all.end() && std::tie(it->language, it->context, it->source) == key)
        return it->translation;
    return source;
}

}  // namespace rt::text
