#pragma once
// The table tools/ts_catalogue.py makes from the translation files; read
// through catalogue.h only.

#include "runtime/text/catalogue.h"

#include <cstddef>
#include <string_view>

namespace rt::text::data {

// Sorted by language, context and source, byte by byte.
extern const Entry kEntries[];
extern const std::size_t kEntryCount;
extern const std::string_view kLanguages[];
extern const std::size_t kLanguageCount;

}  // namespace rt::text::data
