#pragma once
// A run written down: the experiment, the boxes' texts at every "変更" and
// the mouse with its ticks, so that a run can be repeated to the bit. Plain
// C++: no Qt.
//
// The file is JSON Lines (UTF-8, one JSON object per line), version 2:
//   {"format":"springlab-recording","version":2,"experiment":"vibration"}
//   {"tick":0,"change":{"timer":"10","length":"200","stiffness":"5","mass":"500","viscosity":"0.002"}}
//   {"tick":40,"press":[300,150]}
//   {"tick":41,"move":[3000,1500]}
//   {"tick":60,"pause":true}
//   {"tick":61,"step":true}
//   {"tick":61,"resume":true}
//   {"tick":120,"end":true}
// - the first line names the format, its version and the experiment, and
//   may hold "carry": what the window kept from before the recording
//   started (see sims::Experiment::carried), e.g.
//   "carry":[0.5,-1,0,2] for the two balls' velocities;
// - "change" is InitSimulation reading the boxes after that tick (0: when
//   the window opened), with the texts by parameter key; a key left out
//   keeps its text; the first event is the change at tick 0;
// - "press" and "move" are the mouse on the window's surface after that
//   tick, in twips;
// - "pause" and "resume" hold and let go of the timer after that tick, and
//   "step" says that tick was run by hand while paused; they change no
//   state, and a replay on screen goes through the steps at the timer's
//   pace rather than waiting as long as the person did;
// - "end", if present, is the last tick of the run; without it the run goes
//   until the experiment stops by itself or 10 000 ticks.
// Ticks never go back. The reader treats the file as untrusted: anything
// else is refused with a message naming the line. Version 1 (without
// "carry", "pause", "resume" and "step") is still read.

#include "sims/registry.h"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace measure {

struct ScriptEvent {
    enum class Kind { Change, Press, Move, Pause, Resume, Step };
    std::int64_t tick = 0;  // after this tick; 0 before the first
    Kind kind = Kind::Change;
    std::vector<std::pair<std::string, std::string>> texts;  // Change: key, text
    float x = 0;  // Press, Move: twips
    float y = 0;
};

struct Script {
    std::string experiment;
    std::vector<ScriptEvent> events;  // by tick, in the order they happen
    std::optional<std::int64_t> ticks;
    std::vector<double> carried;  // empty: the experiment's fresh state
};

// Limits of what a recording may ask for: ten million ticks are some
// thirty hours of a window at its default period.
constexpr std::int64_t kMaxTicks = 10'000'000;
constexpr std::size_t kMaxEvents = 1'000'000;
constexpr std::size_t kMaxLine = 1 << 16;

// True when `v` rounds to a finite single, as a coordinate of the mouse
// must: anything below the midpoint between the largest single and 2^128.
constexpr bool fitsSingle(double v) { return v < 0x1.ffffffp127 && v > -0x1.ffffffp127; }

std::string writeRecording(const Script& script);

struct RecordingRead {
    std::optional<Script> script;
    std::string error;  // "line 3: ..." when there is no script
};

// The error is told in `language` (a code of the translation files).
RecordingRead readRecording(std::string_view text, std::string_view language = "en");

// A recording file read and checked; the error names the file.
constexpr std::size_t kMaxRecordingBytes = 64u << 20;
// What is said of a larger file (context "measure"; %1 its name).
constexpr const char* kTooLargeForRecording = QT_TRANSLATE_NOOP("measure", "%1: larger than a recording can be");
RecordingRead loadRecording(const std::string& path, std::string_view language = "en");

}  // namespace measure
