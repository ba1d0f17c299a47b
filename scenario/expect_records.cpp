// Expectations of what happened — boxes, input boxes, cues, beeps, print
// jobs, help requests — each taking the oldest record of its kind not yet
// taken; and of the records in the data files.
#include <algorithm>
#include <fstream>
#include <sstream>

#include "core/record_file.h"
#include "scenario/commands.h"
#include "scenario/files.h"
#include "scenario/session.h"

namespace sol {

void ExpectBox(Session& s, const Words& w) {
  const std::vector<BoxRecord>& boxes = s.Outside().boxes;
  if (s.taken.boxes >= boxes.size()) return s.Check(false, "box \"" + w[2] + "\" " + Quote(w[3]), "no message box");
  s.taken.lastBox = s.taken.boxes;
  const BoxRecord& b = boxes[s.taken.boxes++];
  // The session's data folder differs from run to run; a box that names it
  // reads "<data>" there.
  std::string text = Normal(b.text);
  std::string folder = s.DataPath("");
  if (folder.size() > 1) folder.pop_back();
  for (size_t at = text.find(folder); !folder.empty() && at != std::string::npos; at = text.find(folder, at))
    text.replace(at, folder.size(), "<data>");
  std::string found =
      "box " + Quote(Normal(b.title)) + " " + Quote(text) + " " + ButtonsName(b.buttons) + " " + IconName(b.icon);
  bool ok = Normal(b.title) == w[2] && text == w[3];
  if (w.size() > 4) ok = ok && w[4] == ButtonsName(b.buttons);
  if (w.size() > 5) ok = ok && w[5] == IconName(b.icon);
  std::string expected = "box " + Quote(w[2]) + " " + Quote(w[3]);
  for (size_t i = 4; i < w.size(); ++i) expected += " " + w[i];
  s.Check(ok, expected, found);
}

void ExpectNoBox(Session& s, const Words&) {
  const std::vector<BoxRecord>& boxes = s.Outside().boxes;
  size_t left = boxes.size() - s.taken.boxes;
  std::string found = left ? "box \"" + Normal(boxes[s.taken.boxes].title) + "\" " +
                                 Quote(Normal(boxes[s.taken.boxes].text)) + " not taken"
                           : "";
  s.Check(left == 0, "no further message box", found);
}

void ExpectInputBox(Session& s, const Words& w) {
  const std::vector<InputRecord>& inputs = s.Outside().inputBoxes;
  if (s.taken.inputs >= inputs.size()) return s.Check(false, "an input box " + Quote(w[2]), "none");
  const InputRecord& r = inputs[s.taken.inputs++];
  std::string found =
      "inputbox " + Quote(Normal(r.caption)) + " " + Quote(Normal(r.prompt)) + " " + Quote(Normal(r.defaultText));
  s.Check(Normal(r.caption) == w[2] && Normal(r.prompt) == w[3] && Normal(r.defaultText) == w[4],
          "inputbox " + Quote(w[2]) + " " + Quote(w[3]) + " " + Quote(w[4]), found);
}

void ExpectCue(Session& s, const Words& w) {
  const std::vector<std::string>& cues = s.Outside().cues;
  if (w[2] != "chord" && w[2] != "ding") throw Failure("unknown cue " + w[2]);
  if (s.taken.cues >= cues.size()) return s.Check(false, "cue " + w[2], "no cue");
  const std::string& c = cues[s.taken.cues++];
  s.Check(c == w[2], "cue " + w[2], "cue " + c);
}

void ExpectNoCue(Session& s, const Words&) {
  const std::vector<std::string>& cues = s.Outside().cues;
  size_t left = cues.size() - s.taken.cues;
  s.Check(left == 0, "no further cue", left ? "cue " + cues[s.taken.cues] : "");
}

void ExpectBeep(Session& s, const Words&) {
  bool ok = s.taken.beeps < s.Outside().beeps;
  if (ok) ++s.taken.beeps;
  s.Check(ok, "a beep", "no beep");
}

void ExpectNoBeep(Session& s, const Words&) {
  int left = s.Outside().beeps - s.taken.beeps;
  s.Check(left == 0, "no further beep", std::to_string(left) + " beep(s)");
}

void ExpectNoPrint(Session& s, const Words&) {
  const std::vector<std::string>& prints = s.Outside().prints;
  size_t left = prints.size() - s.taken.prints;
  s.Check(left == 0, "no further print job", left ? "printed " + prints[s.taken.prints] : "");
}

void ExpectPrinted(Session& s, const Words& w) {
  const std::vector<std::string>& prints = s.Outside().prints;
  if (s.taken.prints >= prints.size()) return s.Check(false, "a print job of " + w[2], "none");
  const std::string& p = prints[s.taken.prints++];
  s.Check(p == w[2], "printed " + w[2], "printed " + p);
}

void ExpectHelp(Session& s, const Words& w) {
  const std::vector<std::string>& helps = s.Outside().helps;
  std::string want = w[2] == "context" && w.size() > 3 ? "context " + w[3] : w[2];
  if (s.taken.helps >= helps.size()) return s.Check(false, "help " + want, "no help request");
  const std::string& h = helps[s.taken.helps++];
  s.Check(h == want, "help " + want, "help " + h);
}

namespace {

const FileLayout& Layout(const std::string& file) {
  const FileLayout* l = FindFileLayout(file);
  if (!l) throw Failure("unknown data file " + file);
  return *l;
}

// Reads a file without creating it.
std::string ReadIfPresent(Session& s, const std::string& file) {
  std::ifstream in(s.DataPath(file), std::ios::binary);
  if (!in) return {};
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

}  // namespace

void ExpectRecord(Session& s, const Words& w) {
  const FileLayout& l = Layout(w[2]);
  long r = 0;
  if (!ParseLong(w[3], r) || r < 1 || r > MaxRecordNumber) throw Failure("bad record number " + w[3]);
  std::string data = ReadIfPresent(s, w[2]);
  std::string rec(l.recordLength, '\0');
  size_t off = static_cast<size_t>(r - 1) * l.recordLength;
  if (off < data.size()) rec.replace(0, std::min(data.size() - off, rec.size()), data.substr(off, l.recordLength));
  std::vector<std::string> have = DecodeRecord(l, rec);
  std::vector<std::string> want(w.begin() + 4, w.end());
  if (want.size() != have.size())
    throw Failure(w[2] + " has " + std::to_string(have.size()) + " fields, " + std::to_string(want.size()) + " given");
  for (size_t i = 0; i < want.size(); ++i)
    if (l.fields[i].text) want[i] = ToUtf8(RTrim(FromUtf8(want[i])));
  auto join = [](const std::vector<std::string>& v) {
    std::string joined;
    for (const std::string& x : v) joined += (joined.empty() ? "" : " ") + Quote(x);
    return joined;
  };
  s.Check(want == have, "record " + w[3] + " " + join(want), "record " + join(have));
}

void ExpectRecords(Session& s, const Words& w) {
  const FileLayout& l = Layout(w[2]);
  size_t have = ReadIfPresent(s, w[2]).size() / l.recordLength;
  s.Check(std::to_string(have) == w[3], "records " + w[3], "records " + std::to_string(have));
}

}  // namespace sol
