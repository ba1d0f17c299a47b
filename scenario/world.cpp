// The world outside the program: the date, the random numbers, the data
// files written behind its back, and the answers its boxes will get.
#include <cstdio>
#include <cstdlib>

#include "core/file_system.h"
#include "core/record_file.h"
#include "core/settings.h"
#include "scenario/commands.h"
#include "scenario/files.h"
#include "scenario/session.h"

namespace sol {

void CmdDate(Session& s, const Words& w) {
  Date d;
  if (std::sscanf(w[1].c_str(), "%d-%d-%d", &d.year, &d.month, &d.day) != 3) throw Failure("bad date " + w[1]);
  s.Outside().today = d;
}

void CmdRandom(Session& s, const Words& w) {
  std::vector<double> values;
  for (size_t i = 1; i < w.size(); ++i) {
    char* end = nullptr;
    double r = std::strtod(w[i].c_str(), &end);
    if (*end != '\0' || r < 0 || r >= 1) throw Failure("not a number 0 <= r < 1: " + w[i]);
    values.push_back(r);
  }
  s.Outside().randoms = values;
  s.Outside().randomNext = 0;
}

void CmdRecord(Session& s, const Words& w) {
  const FileLayout* layout = FindFileLayout(w[1]);
  if (!layout) throw Failure("unknown data file " + w[1]);
  long r = 0;
  if (!ParseLong(w[2], r) || r < 1 || r > MaxRecordNumber) throw Failure("bad record number " + w[2]);
  std::string error;
  auto rec = EncodeRecord(*layout, {w.begin() + 3, w.end()}, error);
  if (!rec) throw Failure(error);
  RecordFile f(s.DataPath(w[1]), layout->recordLength);
  f.Write(r, *rec);
}

void CmdTruncate(Session& s, const Words& w) {
  long n = 0;
  if (!ParseLong(w[2], n) || n < 0) throw Failure("bad size " + w[2]);
  auto f = Files().Open(s.DataPath(w[1]));
  f->Truncate(static_cast<uint64_t>(n));
}

void CmdPoke(Session& s, const Words& w) {
  long off = 0;
  if (!ParseLong(w[2], off) || off < 0) throw Failure("bad offset " + w[2]);
  const std::string& hex = w[3];
  if (hex.size() % 2) throw Failure("odd number of hex digits");
  std::string bytes;
  for (size_t i = 0; i < hex.size(); i += 2) {
    char* end = nullptr;
    std::string pair = hex.substr(i, 2);
    long b = std::strtol(pair.c_str(), &end, 16);
    if (*end != '\0') throw Failure("bad hex " + hex);
    bytes += static_cast<char>(b);
  }
  auto f = Files().Open(s.DataPath(w[1]));
  f->WriteAt(static_cast<uint64_t>(off), bytes.data(), bytes.size());
}

// Written into the settings file the program reads when it starts.
void CmdSetting(Session& s, const Words& w) {
  if (s.Started()) throw Failure("setting comes before the program starts");
  Settings settings;
  settings.Load(s.DataPath(SettingsFileName));
  settings.Set(w[1], w[2]);
  settings.Save();
}

void CmdAnswer(Session& s, const Words& w) {
  const std::string& a = w[1];
  std::deque<Answer>& answers = s.Outside().answers;
  if (a == "Yes")
    answers.push_back(Answer::Yes);
  else if (a == "No")
    answers.push_back(Answer::No);
  else if (a == "OK")
    answers.push_back(Answer::OK);
  else if (a == "Cancel")
    answers.push_back(Answer::Cancel);
  else
    throw Failure("unknown answer " + a);
}

void CmdInput(Session& s, const Words& w) {
  if (w[1] == "cancel")
    s.Outside().inputs.push_back(std::nullopt);
  else
    s.Outside().inputs.push_back(FromUtf8(w[1]));
}

}  // namespace sol
