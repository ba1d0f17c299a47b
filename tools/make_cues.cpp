// make_cues: writes the two cue sounds the program plays.
//
//   chord.wav  confirmation cue: a soft major triad, about 0.45 s
//   ding.wav   end cue: a single bell-like ding, about 0.8 s
//
// Both files are RIFF/WAVE, PCM 16-bit, mono, 44100 Hz. The output is fully
// deterministic: same program, same bytes. Usage: make_cues <output-dir>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <numbers>
#include <string>
#include <vector>

namespace {

constexpr int kSampleRate = 44100;
constexpr double kPeak = 0.5;  // about -6 dBFS

struct Partial {
  double frequency;  // Hz
  double amplitude;  // relative
  double decay;      // time constant of the exponential decay, seconds
};

// Raised-cosine ramp from 0 to 1 over [0, 1].
double smoothRamp(double x) {
  if (x <= 0.0) return 0.0;
  if (x >= 1.0) return 1.0;
  return 0.5 - 0.5 * std::cos(std::numbers::pi * x);
}

std::vector<double> synthesize(const std::vector<Partial>& partials, double seconds, double attack, double fadeOut) {
  const int count = static_cast<int>(std::lround(seconds * kSampleRate));
  std::vector<double> out(static_cast<std::size_t>(count), 0.0);
  for (int i = 0; i < count; ++i) {
    const double t = static_cast<double>(i) / kSampleRate;
    double v = 0.0;
    for (const Partial& p : partials) {
      v += p.amplitude * std::exp(-t / p.decay) * std::sin(2.0 * std::numbers::pi * p.frequency * t);
    }
    // Soft start, and a fade that reaches exactly zero on the last sample.
    const double remaining = static_cast<double>(count - 1 - i) / kSampleRate;
    v *= smoothRamp(t / attack) * smoothRamp(remaining / fadeOut);
    out[static_cast<std::size_t>(i)] = v;
  }
  return out;
}

std::vector<std::int16_t> toPcm(const std::vector<double>& signal) {
  double maxAbs = 0.0;
  for (double v : signal) maxAbs = std::max(maxAbs, std::abs(v));
  const double gain = maxAbs > 0.0 ? kPeak / maxAbs : 0.0;
  std::vector<std::int16_t> pcm;
  pcm.reserve(signal.size());
  for (double v : signal) {
    const long s = std::lround(v * gain * 32767.0);
    pcm.push_back(static_cast<std::int16_t>(std::clamp(s, -32767L, 32767L)));
  }
  if (!pcm.empty()) pcm.back() = 0;
  return pcm;
}

void put16(std::string& out, std::uint16_t v) {
  out.push_back(static_cast<char>(v & 0xff));
  out.push_back(static_cast<char>((v >> 8) & 0xff));
}

void put32(std::string& out, std::uint32_t v) {
  for (int shift = 0; shift < 32; shift += 8) out.push_back(static_cast<char>((v >> shift) & 0xff));
}

bool writeWav(const std::filesystem::path& path, const std::vector<std::int16_t>& pcm) {
  const std::uint32_t dataBytes = static_cast<std::uint32_t>(pcm.size() * 2);
  std::string bytes;
  bytes.reserve(44 + dataBytes);
  bytes += "RIFF";
  put32(bytes, 36 + dataBytes);
  bytes += "WAVE";
  bytes += "fmt ";
  put32(bytes, 16);               // fmt chunk size
  put16(bytes, 1);                // PCM
  put16(bytes, 1);                // mono
  put32(bytes, kSampleRate);      // sample rate
  put32(bytes, kSampleRate * 2);  // byte rate
  put16(bytes, 2);                // block align
  put16(bytes, 16);               // bits per sample
  bytes += "data";
  put32(bytes, dataBytes);
  for (std::int16_t s : pcm) put16(bytes, static_cast<std::uint16_t>(s));

  std::ofstream file(path, std::ios::binary | std::ios::trunc);
  if (!file) return false;
  file.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  return static_cast<bool>(file);
}

// C major triad (C5 E5 G5) with a gentle octave above the root.
std::vector<double> chord() {
  const std::vector<Partial> partials = {
      {523.251, 1.00, 0.16},
      {659.255, 0.80, 0.15},
      {783.991, 0.70, 0.14},
      {1046.502, 0.15, 0.08},
  };
  return synthesize(partials, 0.45, 0.012, 0.04);
}

// Bell: a fundamental with inharmonic upper partials that die away faster.
std::vector<double> ding() {
  const double f = 1046.502;  // C6
  const std::vector<Partial> partials = {
      {f, 1.00, 0.26},
      {f * 2.756, 0.35, 0.11},
      {f * 5.404, 0.12, 0.05},
      {f * 0.5, 0.10, 0.30},  // soft hum below the strike tone
  };
  return synthesize(partials, 0.80, 0.002, 0.06);
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: %s <output-dir>\n", argv[0]);
    return 2;
  }
  const std::filesystem::path dir = argv[1];
  std::error_code ec;
  std::filesystem::create_directories(dir, ec);
  if (ec) {
    std::fprintf(stderr, "make_cues: cannot create %s: %s\n", dir.string().c_str(), ec.message().c_str());
    return 1;
  }
  const bool ok = writeWav(dir / "chord.wav", toPcm(chord())) && writeWav(dir / "ding.wav", toPcm(ding()));
  if (!ok) {
    std::fprintf(stderr, "make_cues: cannot write into %s\n", dir.string().c_str());
    return 1;
  }
  return 0;
}
