#include "synth.h"

#include <algorithm>
#include <cmath>
#include <cstddef>

namespace kiryuza::synth {
namespace {

constexpr double kPi = 3.14159265358979323846;

// A small deterministic noise source (xorshift), so every build writes the same files.
class Noise {
  public:
    explicit Noise(std::uint32_t seed) : state_(seed == 0 ? 0x9E3779B9u : seed) {}
    // Uniform in -1..1.
    double next() {
        state_ ^= state_ << 13;
        state_ ^= state_ >> 17;
        state_ ^= state_ << 5;
        return static_cast<double>(state_) / 2147483648.0 - 1.0;
    }

  private:
    std::uint32_t state_;
};

// A second-order filter (transposed direct form II) with the usual audio cookbook designs.
struct Biquad {
    double b0 = 1, b1 = 0, b2 = 0, a1 = 0, a2 = 0;
    double z1 = 0, z2 = 0;

    double process(double x) {
        const double y = b0 * x + z1;
        z1 = b1 * x - a1 * y + z2;
        z2 = b2 * x - a2 * y;
        return y;
    }

    static Biquad make(double b0, double b1, double b2, double a0, double a1, double a2) {
        Biquad f;
        f.b0 = b0 / a0;
        f.b1 = b1 / a0;
        f.b2 = b2 / a0;
        f.a1 = a1 / a0;
        f.a2 = a2 / a0;
        return f;
    }
    static Biquad lowpass(double freq, double q, double rate) {
        const double w = 2 * kPi * freq / rate, alpha = std::sin(w) / (2 * q), c = std::cos(w);
        return make((1 - c) / 2, 1 - c, (1 - c) / 2, 1 + alpha, -2 * c, 1 - alpha);
    }
    static Biquad highpass(double freq, double q, double rate) {
        const double w = 2 * kPi * freq / rate, alpha = std::sin(w) / (2 * q), c = std::cos(w);
        return make((1 + c) / 2, -(1 + c), (1 + c) / 2, 1 + alpha, -2 * c, 1 - alpha);
    }
    static Biquad bandpass(double freq, double q, double rate) {
        const double w = 2 * kPi * freq / rate, alpha = std::sin(w) / (2 * q), c = std::cos(w);
        return make(alpha, 0, -alpha, 1 + alpha, -2 * c, 1 - alpha);
    }
    static Biquad peak(double freq, double q, double gainDb, double rate) {
        const double w = 2 * kPi * freq / rate, alpha = std::sin(w) / (2 * q), c = std::cos(w);
        const double a = std::pow(10.0, gainDb / 40);
        return make(1 + alpha * a, -2 * c, 1 - alpha * a, 1 + alpha / a, -2 * c, 1 - alpha / a);
    }
};

// The root mean square of `s[from, to)`.
double rms(const std::vector<double>& s, std::size_t from, std::size_t to) {
    double sum = 0;
    for (std::size_t i = from; i < to; ++i) sum += s[i] * s[i];
    return to > from ? std::sqrt(sum / static_cast<double>(to - from)) : 0;
}

}  // namespace

double loudestDb(const std::vector<float>& samples, std::uint32_t rate) {
    const std::vector<double> s(samples.begin(), samples.end());
    const std::size_t window = std::min<std::size_t>(s.size(), rate / 20);
    double loudest = 0;
    for (std::size_t from = 0; from + window <= s.size();
         from += std::max<std::size_t>(1, window / 8))
        loudest = std::max(loudest, rms(s, from, from + window));
    return loudest > 0 ? 20 * std::log10(loudest) : -200;
}

namespace {

// Scales the sound so that its level (in dB below full scale, as `measure` gives it) is
// `levelDb`, or lower where its loudest sample would otherwise pass `ceilingDb`.
template <class Measure>
void level(std::vector<double>& s, double levelDb, double ceilingDb, Measure measure) {
    double peak = 0;
    for (double v : s) peak = std::max(peak, std::abs(v));
    const double now = measure(s);
    if (peak == 0 || now <= -200) return;
    const double gain =
        std::min(std::pow(10.0, (levelDb - now) / 20), std::pow(10.0, ceilingDb / 20) / peak);
    for (double& v : s) v *= gain;
}

// Brings the last `frames` samples smoothly down to silence.
void fadeTail(std::vector<double>& s, std::size_t frames) {
    frames = std::min(frames, s.size());
    for (std::size_t i = 0; i < frames; ++i) {
        const double x = static_cast<double>(i + 1) / static_cast<double>(frames);
        s[s.size() - frames + i] *= 0.5 + 0.5 * std::cos(kPi * x);
    }
}

// A raised-cosine ramp from 0 to 1 over `length` seconds.
double ramp(double t, double length) {
    if (t <= 0) return 0;
    if (t >= length) return 1;
    return 0.5 - 0.5 * std::cos(kPi * t / length);
}

Sound toSound(std::uint32_t rate, const std::vector<double>& s) {
    Sound out{rate, {}};
    out.samples.assign(s.begin(), s.end());
    return out;
}

// The effects share one loudness, their loudest 50 ms, with room left above their peaks for
// the music and another effect sounding at the same time.
Sound finishEffect(std::uint32_t rate, std::vector<double> s) {
    level(s, kEffectLevelDb, kEffectCeilingDb, [rate](const std::vector<double>& v) {
        return loudestDb(std::vector<float>(v.begin(), v.end()), rate);
    });
    return toSound(rate, s);
}

// ---- Effects ----

// A decaying sine: one resonance of a struck body.
struct Mode {
    double freq;
    double tau;  // seconds for the amplitude to fall to 1/e
    double amp;
};

}  // namespace

Sound pieceClick() {
    constexpr std::uint32_t rate = 44100;
    std::vector<double> s(static_cast<std::size_t>(0.15 * rate));
    // The resonances of a hard-wood piece and the board under it: a low thud from the board, a
    // cluster of short woody tones and a very short crack on top.
    const Mode modes[] = {
        {196, 0.028, 0.45},  {392, 0.017, 0.20},  {1130, 0.018, 0.80},  {1690, 0.014, 0.70},
        {2410, 0.010, 0.55}, {3270, 0.007, 0.45}, {4530, 0.0045, 0.35}, {6080, 0.003, 0.25},
    };
    for (const Mode& m : modes) {
        for (std::size_t i = 0; i < s.size(); ++i) {
            const double t = static_cast<double>(i) / rate;
            s[i] += m.amp * std::exp(-t / m.tau) * std::sin(2 * kPi * m.freq * t);
        }
    }
    Noise noise(7);
    Biquad crack = Biquad::bandpass(3200, 0.9, rate);
    for (std::size_t i = 0; i < s.size(); ++i) {
        const double t = static_cast<double>(i) / rate;
        s[i] += 2.2 * crack.process(noise.next() * std::exp(-t / 0.0008));
    }
    Biquad rumble = Biquad::highpass(90, 0.7, rate);
    for (double& v : s) v = rumble.process(v);
    fadeTail(s, static_cast<std::size_t>(0.04 * rate));
    return finishEffect(rate, std::move(s));
}

Sound refusal() {
    constexpr std::uint32_t rate = 44100;
    std::vector<double> s(static_cast<std::size_t>(0.36 * rate));
    // Two short buzzes with a rounded-off harmonic series, each sagging slightly in pitch.
    struct Buzz {
        double start, length, freq;
    };
    const Buzz buzzes[] = {{0.0, 0.12, 139}, {0.165, 0.15, 123}};
    for (const Buzz& b : buzzes) {
        double phase = 0;
        const auto first = static_cast<std::size_t>(b.start * rate);
        const auto count = static_cast<std::size_t>(b.length * rate);
        for (std::size_t i = 0; i < count && first + i < s.size(); ++i) {
            const double t = static_cast<double>(i) / rate;
            phase += 2 * kPi * b.freq * (1 - 0.04 * t / b.length) / rate;
            double v = 0;
            for (int n = 1; n * b.freq < 2500; ++n) {
                v += std::sin(n * phase) * std::exp(-(n - 1) / 5.0) / n;
            }
            s[first + i] += v * ramp(t, 0.012) * ramp(b.length - t, 0.045);
        }
    }
    Biquad soften = Biquad::lowpass(1600, 0.6, rate);
    for (double& v : s) v = soften.process(v);
    fadeTail(s, static_cast<std::size_t>(0.02 * rate));
    return finishEffect(rate, std::move(s));
}

Sound chime() {
    constexpr std::uint32_t rate = 44100;
    std::vector<double> s(static_cast<std::size_t>(1.5 * rate));
    // Each note: a bell-like set of partials, the higher ones dying sooner, with a slightly
    // detuned twin of the fundamental for a gentle shimmer.
    const Mode partials[] = {
        {1.0, 0.55, 1.0},  {1.0025, 0.45, 0.35}, {2.0, 0.25, 0.30},
        {3.0, 0.15, 0.10}, {4.18, 0.09, 0.08},   {5.43, 0.05, 0.04},
    };
    struct Strike {
        double start, freq, amp;
    };
    const Strike strikes[] = {{0.0, 880.0, 0.8}, {0.12, 1318.5, 1.0}};
    for (const Strike& k : strikes) {
        const auto first = static_cast<std::size_t>(k.start * rate);
        for (std::size_t i = first; i < s.size(); ++i) {
            const double t = static_cast<double>(i - first) / rate;
            double v = 0;
            for (const Mode& p : partials) {
                v += p.amp * std::exp(-t / p.tau) * std::sin(2 * kPi * k.freq * p.freq * t);
            }
            s[i] += k.amp * v * ramp(t, 0.002);
        }
    }
    fadeTail(s, static_cast<std::size_t>(0.3 * rate));
    return finishEffect(rate, std::move(s));
}

// ---- Music ----

namespace {

// Half the output rate: the music has nothing above 7.5 kHz, and the mixer doubles the rate
// as it plays, so the loop takes half the memory the output rate would.
constexpr std::uint32_t kMusicRate = 22050;
// About 66 beats a minute. The tune takes 56 beats; one more lets its last note ring out
// before it starts again.
constexpr std::size_t kBeat = 20066;
constexpr std::size_t kLoopBeats = 57;
constexpr std::size_t kLoop = kBeat * kLoopBeats;

double midiFreq(int note) {
    return 440.0 * std::pow(2.0, (note - 69) / 12.0);
}

// A plucked string (Karplus-Strong): a burst of noise and a pluck-shaped triangle circulate in
// a delay line one period long, losing a little brightness and level every trip. The loss filter
// mixes each sample with a share `blend` of the one before: little on the higher strings, so they
// keep their twang, more on the low ones. An all-pass stage tunes the fractional part of the
// period. `cut` ends the note early (the same string plucked again) with a short damping ramp.
std::vector<double> pluck(double freq, double velocity, std::uint32_t seed, double cut) {
    const double rate = kMusicRate;
    const double blend = std::clamp(55.0 / freq, 0.08, 0.5);
    const double period = rate / freq - blend;  // the loss filter delays by about `blend`
    const auto length = static_cast<std::size_t>(std::floor(period - 0.2));
    const double frac = period - static_cast<double>(length);
    const double allpass = (1 - frac) / (1 + frac);
    // Loop gain for the wanted ring time of the fundamental; low strings ring longer.
    const double t60 = 5.0 * std::pow(440.0 / freq, 0.35);
    const double loss =
        std::sqrt(1 - 2 * blend * (1 - blend) * (1 - std::cos(2 * kPi * freq / rate)));
    const double gain = std::min(0.99995, std::pow(10.0, -3.0 / (freq * t60)) / loss);

    // The excitation: a triangle peaking near the bridge end plus brightness-filtered noise.
    std::vector<double> line(length);
    Noise noise(seed);
    const double apex = 0.18 * static_cast<double>(length);
    const double brightness = 0.25 + 0.5 * velocity;
    double lowpassed = 0;
    for (std::size_t i = 0; i < length; ++i) {
        const double x = static_cast<double>(i);
        const double tri =
            x < apex ? x / apex
                     : (static_cast<double>(length) - x) / (static_cast<double>(length) - apex);
        lowpassed += brightness * (noise.next() - lowpassed);
        line[i] = 0.6 * tri + 0.55 * lowpassed;
    }
    double mean = 0;
    for (double v : line) mean += v;
    mean /= static_cast<double>(length);
    for (double& v : line) v = (v - mean) * velocity;

    const double ringSeconds = std::min(t60 * 1.3, cut + 0.03);
    std::vector<double> out(static_cast<std::size_t>(ringSeconds * rate));
    double previous = 0, apIn = 0, apOut = 0;
    std::size_t index = 0;
    for (std::size_t n = 0; n < out.size(); ++n) {
        const double y = line[index];
        const double averaged = (1 - blend) * y + blend * previous;
        previous = y;
        const double tuned = allpass * averaged + apIn - allpass * apOut;
        apIn = averaged;
        apOut = tuned;
        line[index] = gain * tuned;
        index = index + 1 == length ? 0 : index + 1;
        const double t = static_cast<double>(n) / rate;
        out[n] = y * ramp(t, 0.0015) * ramp(cut + 0.03 - t, 0.03);
    }
    // The scrape of the plectrum on the string.
    Biquad scrape = Biquad::bandpass(2600, 1.2, rate);
    for (std::size_t n = 0; n < out.size() && n < 256; ++n) {
        const double t = static_cast<double>(n) / rate;
        out[n] += 0.35 * velocity * scrape.process(noise.next() * std::exp(-t / 0.0015));
    }
    return out;
}

struct Note {
    double beat;
    int midi;
    double velocity;
};

// "Sakura Sakura" (traditional), one note per syllable, in beats.
std::vector<Note> melody() {
    struct Step {
        int midi;
        double beats;
    };
    const std::vector<Step> sakura = {{69, 1}, {69, 1}, {71, 2}, {69, 1}, {69, 1}, {71, 2}};
    const std::vector<Step> yayoi = {{69, 1}, {71, 1},  {72, 1},  {71, 1},
                                     {69, 1}, {71, .5}, {69, .5}, {65, 2}};
    const std::vector<Step> miwatasu = {{64, 1}, {60, 1},  {64, 1},  {65, 1},
                                        {64, 1}, {64, .5}, {60, .5}, {59, 2}};
    const std::vector<Step> ending = {{64, 1}, {65, 1}, {71, .5}, {69, .5}, {65, 1}, {64, 4}};
    std::vector<Note> notes;
    double beat = 0;
    Noise humanise(11);
    for (const auto* phrase : {&sakura, &yayoi, &miwatasu, &yayoi, &miwatasu, &sakura, &ending}) {
        for (const Step& s : *phrase) {
            // Stronger on the beat, lighter on the half beats, a touch of unevenness.
            double velocity = std::fmod(beat, 1.0) == 0 ? 0.82 : 0.66;
            if (std::fmod(beat, 4.0) == 0) velocity += 0.08;
            velocity += 0.05 * humanise.next();
            notes.push_back({beat + 0.012 * humanise.next(), s.midi, velocity});
            beat += s.beats;
        }
    }
    // Hold back the last phrase a little towards its final note.
    for (Note& n : notes) {
        if (n.beat >= 48) n.beat += std::min(0.25, (n.beat - 48) * 0.06);
    }
    return notes;
}

// Low strings under the tune: the bar's root on its first beat and a fifth or octave on its
// third; the final bar rolls a soft open chord.
std::vector<Note> accompaniment() {
    const int bars[14][2] = {{45, 52}, {45, 52}, {45, 52}, {45, 41}, {40, 52}, {40, 47}, {45, 52},
                             {45, 41}, {40, 52}, {40, 47}, {45, 52}, {45, 52}, {40, 47}, {40, 0}};
    std::vector<Note> notes;
    for (int bar = 0; bar < 14; ++bar) {
        const double first = 4.0 * bar;
        notes.push_back({first, bars[bar][0], 0.55});
        if (bars[bar][1] != 0) notes.push_back({first + 2, bars[bar][1], 0.42});
    }
    notes.push_back({52.45, 47, 0.40});
    notes.push_back({52.9, 52, 0.38});
    return notes;
}

// Adds plucked notes into the loop, wrapping round its end, so the last notes ring on into the
// first bars when the loop repeats. A note is damped when its string is plucked again.
void addPlucks(std::vector<double>& loop, const std::vector<Note>& notes, double gain,
               std::uint32_t seed) {
    const double offset = 0.2;  // seconds of quiet before the first note
    for (std::size_t i = 0; i < notes.size(); ++i) {
        double cut = 60.0;
        for (std::size_t j = i + 1; j < notes.size(); ++j) {
            if (notes[j].midi == notes[i].midi) {
                cut = (notes[j].beat - notes[i].beat) * kBeat / kMusicRate;
                break;
            }
        }
        const std::vector<double> note = pluck(midiFreq(notes[i].midi), notes[i].velocity,
                                               seed + static_cast<std::uint32_t>(i), cut);
        const auto start = static_cast<std::size_t>((notes[i].beat * kBeat) + offset * kMusicRate);
        for (std::size_t n = 0; n < note.size(); ++n) loop[(start + n) % kLoop] += gain * note[n];
    }
}

// A soft, slowly breathing drone on A and E. Its frequencies and its breathing are rounded to
// whole cycles per loop, so it joins itself exactly at the loop point.
void addDrone(std::vector<double>& loop, double gain) {
    const double seconds = static_cast<double>(kLoop) / kMusicRate;
    auto whole = [seconds](double f) { return std::round(f * seconds) / seconds; };
    struct Voice {
        double freq, amp, breathPhase;
    };
    const Voice voices[] = {{110.0, 1.0, 0.0}, {164.81, 0.6, 2.1}};
    const double breath = whole(1 / 7.3);  // one slow swell about every 7 seconds
    for (const Voice& v : voices) {
        const double f = whole(v.freq);
        for (std::size_t n = 0; n < kLoop; ++n) {
            const double t = static_cast<double>(n) / kMusicRate;
            const double p = 2 * kPi * f * t;
            const double tone = std::sin(p) + 0.3 * std::sin(2 * p) + 0.08 * std::sin(3 * p);
            const double swell = 0.7 + 0.3 * std::sin(2 * kPi * breath * t + v.breathPhase);
            loop[n] += gain * v.amp * swell * tone;
        }
    }
}

// A small room: parallel damped comb filters into a chain of all-pass filters.
class Reverb {
  public:
    explicit Reverb(double rate) {
        const double scale = rate / 44100.0;
        for (int len : {1116, 1188, 1277, 1356, 1422, 1491}) {
            combs_.push_back({std::vector<double>(static_cast<std::size_t>(len * scale)), 0, 0});
        }
        for (int len : {556, 441, 341}) {
            allpasses_.push_back({std::vector<double>(static_cast<std::size_t>(len * scale)), 0});
        }
    }

    double process(double x) {
        double sum = 0;
        for (Comb& c : combs_) {
            const double y = c.line[c.index];
            c.damped = y * 0.7 + c.damped * 0.3;
            c.line[c.index] = x + c.damped * 0.83;
            c.index = (c.index + 1) % c.line.size();
            sum += y;
        }
        for (Allpass& a : allpasses_) {
            const double delayed = a.line[a.index];
            a.line[a.index] = sum + delayed * 0.5;
            sum = delayed - sum;
            a.index = (a.index + 1) % a.line.size();
        }
        return sum;
    }

  private:
    struct Comb {
        std::vector<double> line;
        std::size_t index;
        double damped;
    };
    struct Allpass {
        std::vector<double> line;
        std::size_t index;
    };
    std::vector<Comb> combs_;
    std::vector<Allpass> allpasses_;
};

// Body colour and room for the whole loop. The filters run over the loop twice and keep the
// second pass, so their tails from the loop's end are already in its beginning.
std::vector<double> finishLoop(const std::vector<double>& dry) {
    Biquad body = Biquad::peak(280, 0.9, 3.0, kMusicRate);
    Biquad air = Biquad::lowpass(7500, 0.7, kMusicRate);
    Reverb room(kMusicRate);
    std::vector<double> out(dry.size());
    for (int pass = 0; pass < 2; ++pass) {
        for (std::size_t n = 0; n < dry.size(); ++n) {
            const double shaped = air.process(body.process(dry[n]));
            out[n] = shaped + 0.05 * room.process(shaped);
        }
    }
    return out;
}

}  // namespace

Sound music() {
    std::vector<double> loop(kLoop);
    addPlucks(loop, melody(), 1.0, 1000);
    addPlucks(loop, accompaniment(), 0.6, 5000);
    addDrone(loop, 0.018);
    // The music sits behind the effects: a lower level over the whole loop, lower peaks.
    std::vector<double> out = finishLoop(loop);
    level(out, kMusicLevelDb, kMusicCeilingDb,
          [](const std::vector<double>& v) { return 20 * std::log10(rms(v, 0, v.size())); });
    return toSound(kMusicRate, out);
}

std::vector<std::uint8_t> encodeWav(const Sound& sound) {
    const auto dataBytes = static_cast<std::uint32_t>(sound.samples.size() * 2);
    std::vector<std::uint8_t> out(44 + dataBytes);
    std::size_t at = 0;
    auto put16 = [&out, &at](std::uint32_t v) {
        out[at++] = static_cast<std::uint8_t>(v);
        out[at++] = static_cast<std::uint8_t>(v >> 8);
    };
    auto put32 = [&](std::uint32_t v) {
        put16(v & 0xFFFF);
        put16(v >> 16);
    };
    auto tag = [&out, &at](const char* t) {
        for (int i = 0; i < 4; ++i) out[at++] = static_cast<std::uint8_t>(t[i]);
    };
    tag("RIFF");
    put32(36 + dataBytes);
    tag("WAVE");
    tag("fmt ");
    put32(16);
    put16(1);  // PCM
    put16(1);  // mono
    put32(sound.rate);
    put32(sound.rate * 2);
    put16(2);
    put16(16);
    tag("data");
    put32(dataBytes);
    for (float v : sound.samples) {
        const long s = std::lround(std::clamp(static_cast<double>(v), -1.0, 1.0) * 32767.0);
        put16(static_cast<std::uint16_t>(static_cast<std::int16_t>(s)));
    }
    return out;
}

}  // namespace kiryuza::synth
