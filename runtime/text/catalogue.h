#pragma once
// The program's texts in every language it has, for code without Qt (the
// command line, the measured quantities' names in a CSV, the WebAssembly
// module). The table is made at build time from the same translation files
// the windows load, so a text is translated in one place for every face.
// Plain C++: no Qt.

#include <span>
#include <string_view>

namespace rt::text {

struct Entry {
    std::string_view language;  // "en"
    std::string_view context;   // "frm2Bolls"
    std::string_view source;    // the Japanese text the program is written in
    std::string_view translation;
};

// The codes of the languages that have a translation file ("en", "ja"),
// sorted. Japanese, the language the texts are written in, is always there.
std::span<const std::string_view> languages();
bool hasLanguage(std::string_view code);

// `source` in `context` translated into `language`; the source text itself
// where the language has no translation for it.
std::string_view translate(std::string_view language, std::string_view context, std::string_view source);

// Every translation there is, sorted by language, context and source, byte
// by byte (a face that looks texts up itself takes them all at once).
std::span<const Entry> entries();

// The language's name for itself, as the language menu shows it ("日本語",
// "English"); its code where its translation gives no name.
std::string_view languageName(std::string_view code);

}  // namespace rt::text
