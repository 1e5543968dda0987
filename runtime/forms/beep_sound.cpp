#include "runtime/forms/beep_sound.h"

#include <QAudioDevice>
#include <QAudioFormat>
#include <QAudioSink>
#include <QBuffer>
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QMediaDevices>
#include <QPointer>
#include <QTimer>

#include <algorithm>
#include <cstring>

namespace rt {

std::optional<std::int64_t> BeepSchedule::waitFor(std::int64_t now)
{
    const std::int64_t start = m_nextFree ? std::max(now, *m_nextFree) : now;
    if (start - now > kLongestWait)
        return std::nullopt;
    m_nextFree = start + kSpacing;
    return start - now;
}

namespace {

std::uint32_t littleEndian32(const char* at)
{
    const auto* b = reinterpret_cast<const unsigned char*>(at);
    return b[0] | (b[1] << 8) | (b[2] << 16) | (std::uint32_t{b[3]} << 24);
}

std::uint16_t littleEndian16(const char* at)
{
    const auto* b = reinterpret_cast<const unsigned char*>(at);
    return static_cast<std::uint16_t>(b[0] | (b[1] << 8));
}

}  // namespace

std::optional<Wave> readWave(const QByteArray& file)
{
    const char* bytes = file.constData();
    const std::uint64_t size = static_cast<std::uint64_t>(file.size());
    if (size < 12 || std::memcmp(bytes, "RIFF", 4) != 0 || std::memcmp(bytes + 8, "WAVE", 4) != 0)
        return std::nullopt;
    std::optional<Wave> format;
    // Chunks follow one another, each padded to an even length; sizes come
    // from the file and are checked against what is there.
    for (std::uint64_t at = 12; at + 8 <= size;) {
        const char* id = bytes + at;
        const std::uint64_t length = littleEndian32(bytes + at + 4);
        const std::uint64_t body = at + 8;
        if (length > size - body)
            return std::nullopt;
        if (std::memcmp(id, "fmt ", 4) == 0) {
            if (length < 16)
                return std::nullopt;
            const std::uint16_t encoding = littleEndian16(bytes + body);
            const std::uint16_t channels = littleEndian16(bytes + body + 2);
            const std::uint32_t rate = littleEndian32(bytes + body + 4);
            const std::uint16_t bits = littleEndian16(bytes + body + 14);
            if (encoding != 1 || bits != 16 || channels < 1 || channels > 2 || rate < 8000 ||
                rate > 192000)
                return std::nullopt;
            format = Wave{static_cast<int>(rate), channels, {}};
        } else if (std::memcmp(id, "data", 4) == 0) {
            const std::uint64_t frameBytes = format ? 2u * static_cast<unsigned>(format->channels) : 0;
            if (!format || length == 0 || length % frameBytes != 0)
                return std::nullopt;
            format->samples = file.mid(static_cast<qsizetype>(body), static_cast<qsizetype>(length));
            return format;
        }
        at = body + length + (length & 1);
    }
    return std::nullopt;
}

namespace {

std::int64_t steadyMilliseconds()
{
    static QElapsedTimer clock;
    if (!clock.isValid())
        clock.start();
    return clock.elapsed();
}

void dropMessage(QtMsgType, const QMessageLogContext&, const QString&) {}

// The first look connects to the sound system; where there is none, its
// complaint ("pa_context_connect() failed") is no news to the user, who
// hears the bell instead.
QAudioDevice soundOutput()
{
    static bool asked = false;
    if (asked)
        return QMediaDevices::defaultAudioOutput();
    asked = true;
    const QtMessageHandler previous = qInstallMessageHandler(dropMessage);
    QAudioDevice output = QMediaDevices::defaultAudioOutput();
    qInstallMessageHandler(previous);
    return output;
}

QAudioFormat formatOf(const Wave& wave)
{
    QAudioFormat format;
    format.setSampleRate(wave.sampleRate);
    format.setChannelCount(wave.channels);
    format.setSampleFormat(QAudioFormat::Int16);
    return format;
}

std::vector<std::int16_t> samplesOf(const Wave& wave)
{
    std::vector<std::int16_t> samples(static_cast<std::size_t>(wave.samples.size()) / 2);
    for (std::size_t i = 0; i < samples.size(); ++i)
        samples[i] = static_cast<std::int16_t>(littleEndian16(wave.samples.constData() + 2 * i));
    return samples;
}

// Longer than any sound system keeps samples before they are heard.
constexpr int kPlayOutMilliseconds = 1000;

}  // namespace

// ---------------------------------------------------------------- KnockMixer

KnockMixer::KnockMixer(std::vector<std::int16_t> knock, int channels)
    : m_knock(std::move(knock)), m_channels(channels)
{
}

void KnockMixer::add(std::int64_t frame) { m_starts.push_back(std::max(frame, m_position)); }

void KnockMixer::mixInto(std::span<std::int16_t> out)
{
    const auto frames = static_cast<std::int64_t>(out.size()) / m_channels;
    const auto knockFrames = static_cast<std::int64_t>(m_knock.size()) / m_channels;
    for (std::int64_t f = 0; f < frames; ++f) {
        const std::int64_t frame = m_position + f;
        for (int c = 0; c < m_channels; ++c) {
            int sum = 0;
            for (std::int64_t start : m_starts)
                if (frame >= start && frame - start < knockFrames)
                    sum += m_knock[static_cast<std::size_t>((frame - start) * m_channels + c)];
            out[static_cast<std::size_t>(f * m_channels + c)] =
                static_cast<std::int16_t>(std::clamp(sum, -32768, 32767));
        }
    }
    m_position += frames;
    std::erase_if(m_starts, [&](std::int64_t start) { return start + knockFrames <= m_position; });
}

// ---------------------------------------------------------------- BeepSound

BeepSound& BeepSound::instance()
{
    static QPointer<BeepSound> sound;
    if (!sound)
        sound = new BeepSound(QCoreApplication::instance());
    return *sound;
}

BeepSound::BeepSound(QObject* parent) : QObject(parent)
{
    QFile file(QString::fromLatin1(kBeepSoundPath));
    if (file.open(QIODevice::ReadOnly))
        m_wave = readWave(file.readAll());
}

bool BeepSound::play()
{
    if (!m_wave)
        return false;
    const QAudioDevice output = soundOutput();
    if (output.isNull() || !output.isFormatSupported(formatOf(*m_wave)))
        return false;
    const std::int64_t now = steadyMilliseconds();
    const std::optional<std::int64_t> wait = m_schedule.waitFor(now);
    if (!wait)
        return true;  // the knocks before it are still playing
    // The first knock of a stream sets when it starts; the event that asked
    // for it may add more before the stream is made.
    if (m_gathered.empty())
        QTimer::singleShot(static_cast<int>(*wait), Qt::PreciseTimer, this, [this] { playGathered(); });
    m_gathered.push_back(now + *wait);
    return true;
}

void BeepSound::playGathered()
{
    const std::int64_t first = m_gathered.front();
    KnockMixer mixer(samplesOf(*m_wave), m_wave->channels);
    for (std::int64_t start : m_gathered)
        mixer.add((start - first) * m_wave->sampleRate / 1000);
    const std::int64_t knockFrames = m_wave->samples.size() / (2 * m_wave->channels);
    const std::int64_t lastStart = (m_gathered.back() - first) * m_wave->sampleRate / 1000;
    m_gathered.clear();
    std::vector<std::int16_t> mixed(static_cast<std::size_t>((lastStart + knockFrames) * m_wave->channels));
    mixer.mixInto(mixed);
    QByteArray bytes(static_cast<qsizetype>(mixed.size() * 2), Qt::Uninitialized);
    for (std::size_t i = 0; i < mixed.size(); ++i) {
        const auto sample = static_cast<std::uint16_t>(mixed[i]);
        bytes[static_cast<qsizetype>(2 * i)] = static_cast<char>(sample & 0xFF);
        bytes[static_cast<qsizetype>(2 * i + 1)] = static_cast<char>(sample >> 8);
    }

    // A stream of its own, gone once it has played out. It turns idle once
    // the sound system has taken all the samples, which is before they are
    // heard: stopping it then would cut the knock short.
    auto* sink = new QAudioSink(QMediaDevices::defaultAudioOutput(), formatOf(*m_wave), this);
    auto* source = new QBuffer(sink);
    source->setData(bytes);
    source->open(QIODevice::ReadOnly);
    connect(sink, &QAudioSink::stateChanged, sink, [sink](QAudio::State state) {
        if (state == QAudio::IdleState)
            QTimer::singleShot(kPlayOutMilliseconds, sink, [sink] { sink->stop(); });
        else if (state == QAudio::StoppedState)
            sink->deleteLater();
    });
    sink->start(source);
    if (sink->state() == QAudio::StoppedState)  // refused at once
        sink->deleteLater();
}

}  // namespace rt
