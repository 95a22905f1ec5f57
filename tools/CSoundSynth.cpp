#include "tools/CSoundSynth.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

namespace
{
constexpr double kPi = 3.14159265358979323846;
constexpr double kRate = CSoundSynth::kRate;

using Buffer = std::vector<double>;

// A fixed generator, so that noise is the same on every build (xorshift32).
class Noise
{
  public:
    explicit Noise(uint32_t seed) : m_state(seed ? seed : 1u) {}
    // Uniform in [-1, 1).
    double Next()
    {
        m_state ^= m_state << 13;
        m_state ^= m_state >> 17;
        m_state ^= m_state << 5;
        return double(m_state) / 2147483648.0 - 1.0;
    }

  private:
    uint32_t m_state;
};

size_t Samples(double seconds)
{
    return size_t(seconds * kRate + 0.5);
}

// Attack to 1 over attack seconds, then exponential decay with the time constant decay seconds.
double Envelope(double t, double attack, double decay)
{
    if (t < attack)
        return t / attack;
    return std::exp(-(t - attack) / decay);
}

// A sine whose frequency glides exponentially from f0 to f1 Hz over seconds, added at start.
void AddSweep(Buffer& out, double start, double seconds, double f0, double f1, double amplitude,
              double attack, double decay)
{
    const size_t first = Samples(start);
    const size_t count = Samples(seconds);
    double phase = 0.0;
    for (size_t n = 0; n < count && first + n < out.size(); ++n)
    {
        const double t = double(n) / kRate;
        const double f = f0 * std::pow(f1 / f0, t / seconds);
        phase += 2.0 * kPi * f / kRate;
        out[first + n] += amplitude * Envelope(t, attack, decay) * std::sin(phase);
    }
}

// Noise through a one-pole low-pass whose cutoff glides from c0 to c1 Hz.
void AddNoise(Buffer& out, double start, double seconds, double c0, double c1, double amplitude,
              double attack, double decay, uint32_t seed)
{
    Noise noise(seed);
    const size_t first = Samples(start);
    const size_t count = Samples(seconds);
    double low = 0.0;
    for (size_t n = 0; n < count && first + n < out.size(); ++n)
    {
        const double t = double(n) / kRate;
        const double cutoff = c0 + (c1 - c0) * (t / seconds);
        const double k = 1.0 - std::exp(-2.0 * kPi * cutoff / kRate);
        low += k * (noise.Next() - low);
        out[first + n] += amplitude * Envelope(t, attack, decay) * low;
    }
}

// A bell-like note: a sine with a soft octave and twelfth, added with wrap-around when loop is
// set, so that a note crossing the end of a track sounds again at its start.
void AddNote(Buffer& out, double start, double frequency, double amplitude, double decay, bool loop)
{
    const size_t first = Samples(start);
    const size_t count = Samples(decay * 6.0);
    for (size_t n = 0; n < count; ++n)
    {
        size_t at = first + n;
        if (at >= out.size())
        {
            if (!loop)
                break;
            at %= out.size();
        }
        const double t = double(n) / kRate;
        const double w = 2.0 * kPi * frequency * t;
        const double tone =
            std::sin(w) + 0.25 * std::sin(2.0 * w) * std::exp(-t / 0.15) + 0.08 * std::sin(3.0 * w);
        out[at] += amplitude * Envelope(t, 0.01, decay) * tone;
    }
}

// A croak: a buzzy tone pulsed 40 times a second under a falling pitch.
void AddCroak(Buffer& out, double start, double seconds, double f0, double f1, double amplitude)
{
    const size_t first = Samples(start);
    const size_t count = Samples(seconds);
    double phase = 0.0;
    for (size_t n = 0; n < count && first + n < out.size(); ++n)
    {
        const double t = double(n) / kRate;
        const double f = f0 + (f1 - f0) * (t / seconds);
        phase += 2.0 * kPi * f / kRate;
        double buzz = 0.0;
        for (int h = 1; h <= 6; ++h)
            buzz += std::sin(phase * h) / h;
        const double pulse = 0.5 + 0.5 * std::sin(2.0 * kPi * 40.0 * t);
        const double shape = std::sin(kPi * t / seconds);
        out[first + n] += amplitude * shape * pulse * pulse * buzz;
    }
}

Buffer Silence(double seconds)
{
    return Buffer(Samples(seconds), 0.0);
}

// Plops: a fast downward sweep, as of a drop into water.
Buffer Plop(double pitch)
{
    Buffer out = Silence(0.22);
    AddSweep(out, 0.0, 0.2, pitch * 2.2, pitch, 0.9, 0.003, 0.05);
    AddNoise(out, 0.0, 0.03, 3000.0, 800.0, 0.3, 0.001, 0.008, 7);
    return out;
}

Buffer Whoosh(bool rising)
{
    Buffer out = Silence(0.3);
    AddNoise(out, 0.0, 0.3, rising ? 500.0 : 3500.0, rising ? 3500.0 : 500.0, 1.0, 0.08, 0.09,
             rising ? 11 : 13);
    return out;
}

Buffer Music(double beat, const std::vector<double>& notes, double root, double decay)
{
    Buffer out = Silence(beat * double(notes.size()));
    for (size_t n = 0; n < notes.size(); ++n)
    {
        if (notes[n] < 0.0)
            continue;
        const double f = root * std::pow(2.0, notes[n] / 12.0);
        AddNote(out, beat * double(n), f, 0.35, decay, true);
        // A quiet fifth below every fourth note keeps the loop from sounding thin.
        if (n % 4 == 0)
            AddNote(out, beat * double(n), f * 0.5, 0.2, decay * 2.0, true);
    }
    return out;
}

struct Recipe
{
    const char* name;
    Buffer (*render)();
};

const Recipe kRecipes[] = {
    {"plop1", [] { return Plop(330.0); }},
    {"plop2", [] { return Plop(370.0); }},
    {"plop3", [] { return Plop(294.0); }},
    {"unstick",
     []
     {
         Buffer out = Silence(0.18);
         AddSweep(out, 0.0, 0.16, 260.0, 700.0, 0.7, 0.01, 0.05);
         AddNoise(out, 0.0, 0.05, 1500.0, 4000.0, 0.4, 0.002, 0.015, 3);
         return out;
     }},
    {"whoosh-up", [] { return Whoosh(true); }},
    {"whoosh-down", [] { return Whoosh(false); }},
    {"grow-in",
     []
     {
         Buffer out = Silence(0.25);
         AddSweep(out, 0.0, 0.22, 700.0, 1400.0, 0.6, 0.005, 0.07);
         AddSweep(out, 0.04, 0.2, 1050.0, 2100.0, 0.25, 0.005, 0.05);
         return out;
     }},
    {"petal-gun",
     []
     {
         Buffer out = Silence(0.7);
         AddNoise(out, 0.0, 0.12, 2500.0, 400.0, 1.0, 0.002, 0.03, 17);
         const double chimes[] = {1318.5, 1568.0, 1760.0, 2093.0};
         for (int n = 0; n < 4; ++n)
             AddNote(out, 0.06 + 0.07 * n, chimes[n], 0.18, 0.08, false);
         return out;
     }},
    {"petal-waft",
     []
     {
         Buffer out = Silence(0.35);
         AddNoise(out, 0.0, 0.35, 900.0, 1600.0, 0.5, 0.12, 0.08, 23);
         return out;
     }},
    {"slurp",
     []
     {
         Buffer out = Silence(0.3);
         AddSweep(out, 0.0, 0.28, 200.0, 900.0, 0.5, 0.02, 0.12);
         AddNoise(out, 0.0, 0.28, 600.0, 2400.0, 0.6, 0.02, 0.1, 29);
         return out;
     }},
    {"gnom",
     []
     {
         Buffer out = Silence(0.35);
         AddSweep(out, 0.0, 0.15, 240.0, 130.0, 0.8, 0.005, 0.05);
         AddSweep(out, 0.16, 0.17, 200.0, 100.0, 0.8, 0.005, 0.06);
         return out;
     }},
    {"ribbit1",
     []
     {
         Buffer out = Silence(0.42);
         AddCroak(out, 0.0, 0.16, 170.0, 150.0, 0.6);
         AddCroak(out, 0.2, 0.2, 185.0, 140.0, 0.6);
         return out;
     }},
    {"ribbit2",
     []
     {
         Buffer out = Silence(0.45);
         AddCroak(out, 0.0, 0.14, 150.0, 135.0, 0.6);
         AddCroak(out, 0.19, 0.24, 160.0, 120.0, 0.6);
         return out;
     }},
    {"click",
     []
     {
         Buffer out = Silence(0.06);
         AddSweep(out, 0.0, 0.05, 1800.0, 1200.0, 0.6, 0.001, 0.012);
         return out;
     }},
    {"hover",
     []
     {
         Buffer out = Silence(0.08);
         AddSweep(out, 0.0, 0.07, 900.0, 1100.0, 0.3, 0.005, 0.02);
         return out;
     }},
    // Major pentatonic arpeggios; -1 rests.
    {"music-menu",
     [] {
         return Music(0.4, {0, 4, 7, 12, 9, 7, 4, 2, 0, 4, 7, 9, 7, 4, 2, -1}, 261.63, 0.35);
     }},
    {"music-pond",
     [] {
         return Music(0.5, {7, -1, 4, 2, 0, -1, 2, 4, 9, -1, 7, 4, 2, -1, 0, -1}, 220.0, 0.45);
     }},
    // The collection's ponds, one track each: semitones above the root, -1 rests.
    {"music-morning", // bright and quick, major
     [] {
         return Music(0.35, {0, 4, 7, 4, 9, 7, 4, 2, 0, 2, 4, 7, 12, -1, 7, -1}, 293.66, 0.3);
     }},
    {"music-dusk", // slow, minor pentatonic
     [] {
         return Music(0.6, {0, -1, 3, 5, 7, -1, 5, 3, 10, -1, 7, 5, 3, -1, 0, -1}, 196.0, 0.6);
     }},
    {"music-night", // sparse, low and long
     [] {
         return Music(0.6, {0, -1, -1, 7, -1, 3, -1, -1, 5, -1, -1, 2, -1, -1, -1, -1}, 174.61, 0.8);
     }},
    {"music-rain", // high drips between rests
     [] {
         return Music(0.3, {12, -1, 7, -1, -1, 10, -1, 5, 12, -1, -1, 3, -1, 7, -1, -1}, 392.0, 0.18);
     }},
    {"music-reeds", // dorian, swaying
     [] {
         return Music(0.45, {0, 2, 3, -1, 5, 3, 2, -1, 9, 7, 5, -1, 3, 2, 0, -1}, 246.94, 0.4);
     }},
    {"music-blossom", // lydian, light
     [] {
         return Music(0.4, {0, 4, 6, 7, 11, -1, 7, 6, 4, 2, 4, -1, 7, 6, 4, -1}, 329.63, 0.35);
     }},
};

// The loudest sample at about -3 dB of full scale, with 2 ms ramps at both ends of one-shots so
// that nothing clicks. Tracks keep their ends: they loop into themselves.
std::vector<int16_t> ToPcm(Buffer buffer, bool track)
{
    double peak = 0.0;
    for (double value : buffer)
        peak = std::max(peak, std::fabs(value));
    const double gain = peak > 0.0 ? 0.7 / peak : 0.0;
    const size_t ramp = std::min(Samples(0.002), buffer.size() / 2);
    std::vector<int16_t> pcm(buffer.size());
    for (size_t n = 0; n < buffer.size(); ++n)
    {
        double value = buffer[n] * gain;
        if (!track && ramp > 0)
        {
            const size_t edge = std::min(n, buffer.size() - 1 - n);
            if (edge < ramp)
                value *= double(edge) / double(ramp);
        }
        pcm[n] = int16_t(std::lround(std::clamp(value, -1.0, 1.0) * 32767.0));
    }
    return pcm;
}

void PutU32(std::string& out, uint32_t value)
{
    for (int n = 0; n < 4; ++n)
        out.push_back(char((value >> (8 * n)) & 0xFF));
}

void PutU16(std::string& out, uint16_t value)
{
    out.push_back(char(value & 0xFF));
    out.push_back(char(value >> 8));
}
} // namespace

std::vector<std::string> CSoundSynth::Names()
{
    std::vector<std::string> names;
    for (const Recipe& recipe : kRecipes)
        names.push_back(recipe.name);
    return names;
}

bool CSoundSynth::IsTrack(const std::string& name)
{
    return name.rfind("music-", 0) == 0;
}

std::vector<int16_t> CSoundSynth::Render(const std::string& name)
{
    for (const Recipe& recipe : kRecipes)
    {
        if (name == recipe.name)
            return ToPcm(recipe.render(), IsTrack(name));
    }
    return {};
}

std::string CSoundSynth::EncodeWav(const std::vector<int16_t>& samples, int32_t rate)
{
    const uint32_t dataBytes = uint32_t(samples.size() * 2);
    std::string out;
    out.reserve(44 + dataBytes);
    out += "RIFF";
    PutU32(out, 36 + dataBytes);
    out += "WAVEfmt ";
    PutU32(out, 16);
    PutU16(out, 1); // PCM
    PutU16(out, 1); // mono
    PutU32(out, uint32_t(rate));
    PutU32(out, uint32_t(rate) * 2); // bytes per second
    PutU16(out, 2);                  // bytes per frame
    PutU16(out, 16);                 // bits per sample
    out += "data";
    PutU32(out, dataBytes);
    for (int16_t sample : samples)
        PutU16(out, uint16_t(sample));
    return out;
}

bool CSoundSynth::WriteFile(const std::string& path, const std::string& bytes)
{
    const std::string temporary = path + ".tmp";
    FILE* file = std::fopen(temporary.c_str(), "wb");
    if (!file)
        return false;
    const bool written = std::fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size();
    const bool closed = std::fclose(file) == 0;
    if (!written || !closed || std::rename(temporary.c_str(), path.c_str()) != 0)
    {
        std::remove(temporary.c_str());
        return false;
    }
    return true;
}
