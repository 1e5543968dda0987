// The knock that Beep plays: when each one starts, how knocks are mixed,
// reading WAV files, and the sound the program carries.

#include "runtime/forms/beep_sound.h"

#include <QAudioDevice>
#include <QFile>
#include <QMediaDevices>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <optional>
#include <vector>

namespace {

using rt::BeepSchedule;

constexpr std::int64_t kDropped = -1;

struct ScheduleCase {
    const char* name;
    std::vector<std::int64_t> askedAt;  // ms
    std::vector<std::int64_t> waits;    // ms, kDropped for a knock left out
};

const ScheduleCase kScheduleCases[] = {
    {"OneKnockAtOnce", {1000}, {0}},
    {"TwoInOneTickAreHeardApart", {1000, 1000}, {0, 40}},
    {"ThreeInOneTick", {1000, 1000, 1000}, {0, 40, 80}},
    {"FifthWaitsTheLongestAllowed", {0, 0, 0, 0, 0}, {0, 40, 80, 120, 160}},
    {"SixthWouldWaitTooLong", {0, 0, 0, 0, 0, 0}, {0, 40, 80, 120, 160, kDropped}},
    {"FarApartEachAtOnce", {0, 40, 500, 5000}, {0, 0, 0, 0}},
    {"CloseOnesKeepTheirSpacing", {0, 25, 50}, {0, 15, 30}},
    {"AfterABurstTheNextStartsAtOnce", {0, 0, 0, 0, 0, 0, 400}, {0, 40, 80, 120, 160, kDropped, 0}},
    {"ADroppedKnockKeepsNoPlace", {0, 0, 0, 0, 0, 0, 40}, {0, 40, 80, 120, 160, kDropped, 160}},
};

class BeepScheduleCases : public ::testing::TestWithParam<ScheduleCase> {};

TEST_P(BeepScheduleCases, SpreadsKnocksAndLeavesOutWhatWouldLag)
{
    BeepSchedule schedule;
    std::vector<std::int64_t> waits;
    for (std::int64_t now : GetParam().askedAt)
        waits.push_back(schedule.waitFor(now).value_or(kDropped));
    EXPECT_EQ(waits, GetParam().waits);
}

INSTANTIATE_TEST_SUITE_P(Table, BeepScheduleCases, ::testing::ValuesIn(kScheduleCases),
                         [](const auto& info) { return std::string(info.param.name); });

struct MixCase {
    const char* name;
    std::vector<std::int16_t> knock;
    int channels;
    std::int64_t silentFramesFirst;  // mixed before the knocks are added
    std::vector<std::int64_t> starts;
    std::vector<std::size_t> chunks;  // samples asked for by each read
    std::vector<std::int16_t> heard;  // everything after the silent frames
};

const MixCase kMixCases[] = {
    {"OneKnockAtTheStart", {100, 200, 300}, 1, 0, {0}, {5}, {100, 200, 300, 0, 0}},
    {"OneKnockLater", {100, 200, 300}, 1, 0, {2}, {5}, {0, 0, 100, 200, 300}},
    {"OverlappingKnocksAddUp", {100, 200, 300}, 1, 0, {0, 1}, {5}, {100, 300, 500, 300, 0}},
    {"TwoAtOneFrameAreTwiceAsLoud", {100, -200}, 1, 0, {0, 0}, {2}, {200, -400}},
    {"HeldWithinSixteenBits", {30000, -30000}, 1, 0, {0, 0}, {2}, {32767, -32768}},
    {"SplitAcrossReads", {100, 200, 300}, 1, 0, {1}, {2, 1, 2}, {0, 100, 200, 300, 0}},
    {"APastStartBeginsNow", {100, 200, 300}, 1, 4, {1}, {4}, {100, 200, 300, 0}},
    {"StereoFrames", {1, 2, 3, 4}, 2, 0, {1}, {6}, {0, 0, 1, 2, 3, 4}},
    {"NothingIsSilence", {100}, 1, 0, {}, {3}, {0, 0, 0}},
};

class KnockMixing : public ::testing::TestWithParam<MixCase> {};

TEST_P(KnockMixing, AddsTheKnocksAtTheirFrames)
{
    const MixCase& c = GetParam();
    rt::KnockMixer mixer(c.knock, c.channels);
    std::vector<std::int16_t> silent(static_cast<std::size_t>(c.silentFramesFirst * c.channels), 7);
    mixer.mixInto(silent);
    EXPECT_EQ(silent, std::vector<std::int16_t>(silent.size(), 0));
    for (std::int64_t start : c.starts)
        mixer.add(start);
    std::vector<std::int16_t> heard;
    for (std::size_t chunk : c.chunks) {
        std::vector<std::int16_t> out(chunk);
        mixer.mixInto(out);
        heard.insert(heard.end(), out.begin(), out.end());
    }
    EXPECT_EQ(heard, c.heard);
    EXPECT_TRUE(mixer.idle()) << "every knock has played out";
    EXPECT_EQ(mixer.position(), c.silentFramesFirst + static_cast<std::int64_t>(heard.size()) / c.channels);
}

INSTANTIATE_TEST_SUITE_P(Table, KnockMixing, ::testing::ValuesIn(kMixCases),
                         [](const auto& info) { return std::string(info.param.name); });

// A WAV file in pieces, so that each case below spoils one of them.
struct WaveParts {
    QByteArray riff = "RIFF";
    QByteArray wave = "WAVE";
    std::uint16_t encoding = 1, channels = 1, bits = 16;
    std::uint32_t rate = 44100;
    QByteArray extraChunk;  // placed between "fmt " and "data"
    QByteArray samples = QByteArray("\x01\x00\xff\x7f\x00\x80\x00\x00", 8);
    std::int64_t dataLengthChange = 0;
    int cutFromEnd = 0;

    QByteArray bytes() const
    {
        auto u32 = [](std::uint32_t v) { return QByteArray(reinterpret_cast<const char*>(&v), 4); };
        auto u16 = [](std::uint16_t v) { return QByteArray(reinterpret_cast<const char*>(&v), 2); };
        const auto blockAlign = static_cast<std::uint16_t>(channels * bits / 8);
        QByteArray fmt = "fmt " + u32(16) + u16(encoding) + u16(channels) + u32(rate) +
                         u32(rate * blockAlign) + u16(blockAlign) + u16(bits);
        QByteArray data = "data" +
                          u32(static_cast<std::uint32_t>(samples.size() + dataLengthChange)) + samples;
        QByteArray body = wave + fmt + extraChunk + data;
        QByteArray file = riff + u32(static_cast<std::uint32_t>(body.size())) + body;
        file.chop(cutFromEnd);
        return file;
    }
};

struct WaveCase {
    const char* name;
    WaveParts parts;
    bool readable;
};

WaveParts with(auto change)
{
    WaveParts parts;
    change(parts);
    return parts;
}

const WaveCase kWaveCases[] = {
    {"Plain", {}, true},
    {"Stereo", with([](WaveParts& p) { p.channels = 2; }), true},
    {"OddChunkBeforeDataIsSkipped", with([](WaveParts& p) { p.extraChunk = QByteArray("LIST\x03\x00\x00\x00" "abc" "\x00", 12); }), true},
    {"NotRiff", with([](WaveParts& p) { p.riff = "RIFX"; }), false},
    {"NotWave", with([](WaveParts& p) { p.wave = "AVI "; }), false},
    {"Float", with([](WaveParts& p) { p.encoding = 3; }), false},
    {"EightBit", with([](WaveParts& p) { p.bits = 8; }), false},
    {"SixChannels", with([](WaveParts& p) { p.channels = 6; }), false},
    {"NoChannels", with([](WaveParts& p) { p.channels = 0; }), false},
    {"RateZero", with([](WaveParts& p) { p.rate = 0; }), false},
    {"DataRunsPastTheEnd", with([](WaveParts& p) { p.dataLengthChange = 2; }), false},
    {"DataLengthHuge", with([](WaveParts& p) { p.dataLengthChange = 0xFFFFFF00; }), false},
    {"HalfASample", with([](WaveParts& p) { p.dataLengthChange = -1; p.cutFromEnd = 1; }), false},
    {"NoData", with([](WaveParts& p) { p.samples.clear(); }), false},
    {"Truncated", with([](WaveParts& p) { p.cutFromEnd = 9; }), false},
};

class WaveFiles : public ::testing::TestWithParam<WaveCase> {};

TEST_P(WaveFiles, ReadsPlainSixteenBitPcmAndNothingElse)
{
    const WaveParts& parts = GetParam().parts;
    const std::optional<rt::Wave> wave = rt::readWave(parts.bytes());
    ASSERT_EQ(wave.has_value(), GetParam().readable);
    if (wave) {
        EXPECT_EQ(wave->sampleRate, 44100);
        EXPECT_EQ(wave->channels, parts.channels);
        EXPECT_EQ(wave->samples, parts.samples);
    }
}

INSTANTIATE_TEST_SUITE_P(Table, WaveFiles, ::testing::ValuesIn(kWaveCases),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(BeepSound, CarriedKnockIsAShortCleanMonoWave)
{
    QFile file(QString::fromLatin1(rt::kBeepSoundPath));
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const std::optional<rt::Wave> wave = rt::readWave(file.readAll());
    ASSERT_TRUE(wave.has_value());
    EXPECT_EQ(wave->channels, 1);
    EXPECT_EQ(wave->sampleRate, 44100);

    std::vector<std::int16_t> samples(static_cast<std::size_t>(wave->samples.size()) / 2);
    std::memcpy(samples.data(), wave->samples.constData(), samples.size() * 2);
    const double seconds = static_cast<double>(samples.size()) / wave->sampleRate;
    EXPECT_GE(seconds, 0.03);
    EXPECT_LE(seconds, 0.1);
    // Starts and ends at silence (no click), loud enough to hear, never clipped.
    EXPECT_EQ(samples.front(), 0);
    EXPECT_EQ(samples.back(), 0);
    auto peakOf = [&](std::size_t from) {
        int peak = 0;
        for (std::size_t i = from; i < samples.size(); ++i)
            peak = std::max(peak, std::abs(static_cast<int>(samples[i])));
        return peak;
    };
    const int peak = peakOf(0);
    EXPECT_GT(peak, 32767 / 4);
    EXPECT_LT(peak, 32767);
    // Faded by the time the next knock may start, so two are heard as two.
    const auto spacing = static_cast<std::size_t>(wave->sampleRate * BeepSchedule::kSpacing / 1000);
    EXPECT_LT(peakOf(spacing), peak / 10);
}

// Where the machine has no sound output the caller rings the system bell;
// where it has one the knock is played.
TEST(BeepSound, PlaysWhereThereIsASoundOutputAndLeavesTheBellOtherwise)
{
    const bool played = rt::BeepSound::instance().play();
    EXPECT_EQ(played, !QMediaDevices::defaultAudioOutput().isNull());
}

}  // namespace
