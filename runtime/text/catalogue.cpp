#include "runtime/text/catalogue.h"

#include "runtime/text/catalogue_data.h"

#include <algorithm>
#include <tuple>

namespace rt::text {

std::span<const std::string_view> languages() { return {data::kLanguages, data::kLanguageCount}; }

bool hasLanguage(std::string_view code)
{
    const auto all = languages();
    return std::find(all.begin(), all.end(), code) != all.end();
}

std::string_view translate(std::string_view language, std::string_view context, std::string_view source)
{
    const std::span<const data::Entry> entries(data::kEntries, data::kEntryCount);
    const auto key = std::tie(language, context, source);
    const auto it = std::lower_bound(entries.begin(), entries.end(), key, [](const data::Entry& e, const auto& k) {
        return std::tie(e.language, e.context, e.source) < k;
    });
    if (it != entries.end() && std::tie(it->language, it->context, it->source) == key)
        return it->translation;
    return source;
}

}  // namespace rt::text
