#pragma once
// The sound of Beep: a short knock that the program carries, played through
// the desktop's sound system. The system bell that Beep used to ring is
// muted on most desktops and does nothing under Wayland, yet in the
// two-ball window the knock is part of the experiment: one per bounce.
//
// Knocks that come closer together than one knock's length (two bounces in
// one tick) are spread out so each is heard; when they come faster than
// they can be played, the ones that would wait too long are left out
// rather than piling up behind the motion. The knocks asked for in one
// event (one tick) are mixed into one short audio stream, so their spacing
// is exact: separate streams would each start after a delay of their own.

#include <QByteArray>
#include <QObject>

#include <cstdint>
#include <optional>
#include <span>
#include <vector>


namespace rt {

// When each knock starts. Times in milliseconds on any steady clock.
class BeepSchedule {
public:
    // Two knocks start at least this far apart.
    static constexpr std::int64_t kSpacing = 40;
    // A knock that would start later than this after it was asked for is
    // left out.
    static constexpr std::int64_t kLongestWait = 160;

    // The wait before the knock asked for at `now`, or nothing when it is
    // left out.
    std::optional<std::int64_t> waitFor(std::int64_t now);

private:
    std::optional<std::int64_t> m_nextFree;
};

// Sound as a WAV file holds it: 16-bit signed little-endian samples,
// channels interleaved.
struct Wave {
    int sampleRate = 0;  // samples per second
    int channels = 0;
    QByteArray samples;
};

// The samples of a plain 16-bit PCM WAV file, or nothing for any other
// file (another encoding, a chunk running past the end, no data).
std::optional<Wave> readWave(const QByteArray& file);

// Knocks mixed into one stream of samples. Each knock starts at a frame of
// the stream (a frame holds one sample per channel); where knocks overlap
// they add up, held within 16 bits.
class KnockMixer {
public:
    KnockMixer(std::vector<std::int16_t> knock, int channels);

    // A knock from `frame` on; one placed before the stream's position
    // starts at the position.
    void add(std::int64_t frame);
    // The stream's next samples, out.size() / channels frames.
    void mixInto(std::span<std::int16_t> out);
    // Frames given out so far.
    std::int64_t position() const { return m_position; }
    // No knock playing or still to come.
    bool idle() const { return m_starts.empty(); }
    int channels() const { return m_channels; }

private:
    std::vector<std::int16_t> m_knock;
    int m_channels;
    std::vector<std::int64_t> m_starts;
    std::int64_t m_position = 0;
};

// The resource the knock is played from.
constexpr const char* kBeepSoundPath = ":/sounds/bounce.wav";

class BeepSound : public QObject {
    Q_OBJECT

public:
    // Made on first use, a child of the application.
    static BeepSound& instance();

    // Plays one knock (now or after the schedule's wait). False when there
    // is nothing to play it on (no sound output, or none that takes the
    // sound); the caller then rings the system bell instead.
    bool play();

private:
    explicit BeepSound(QObject* parent);
    // Plays the knocks gathered so far as one stream.
    void playGathered();

    std::optional<Wave> m_wave;
    BeepSchedule m_schedule;
    // Start times (steady clock, ms) of the knocks gathered for one stream.
    std::vector<std::int64_t> m_gathered;
};

}  // namespace rt
