#pragma once
// The texts of the measurement window and of the recordings' messages, as
// written in Japanese (the translation files give the other languages),
// each under a name. The desktop's windows and the browser's panels read
// them here, so each text is written once. Plain C++: no Qt.

#include <span>
#include <string_view>

namespace measure {

struct NamedText {
    std::string_view name;
    const char* source;
};

// Translated in context "measure::MeasurementWindow".
inline constexpr const char* kMeasurementContext = "measure::MeasurementWindow";
std::span<const NamedText> measurementTexts();
// Translated in the launcher's context "frmMain": its 記録 menu's messages.
std::span<const NamedText> recordingTexts();

// The text of that name in the table; a name not there is a fault of the
// program, not of its input: std::logic_error.
const char* namedText(std::span<const NamedText> table, std::string_view name);

}  // namespace measure
