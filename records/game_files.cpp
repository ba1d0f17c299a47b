#include "records/game_files.h"

#include <algorithm>
#include <memory>
#include <span>

#include "core/cp932.h"
#include "core/record_file.h"
#include "core/text.h"
#include "records/texts.h"

namespace sol {

GameMoveRecord GameMoveRecord::Decode(std::string_view bytes) { return DecodeRecord<GameMoveLayout>(bytes); }

std::string GameMoveRecord::Encode() const { return EncodeRecord<GameMoveLayout>(*this); }

int LineGameNumber(const Str& line) { return static_cast<int>(Val(Left(line, 2))); }

Str ListLine(const GameListRecord& r) { return Right(Num(static_cast<long>(r.GameNumber) + 100), 2) + r.TitleText; }

namespace {

// The title record that a list line is stored as.
GameListRecord TitleRecord(const Str& line) {
  GameListRecord r;
  r.GameNumber = static_cast<int16_t>(LineGameNumber(line));
  r.TitleText = Mid(line, 3, TitleChars);
  return r;
}

}  // namespace

Str StoredListLine(const Str& line) { return ListLine(GameListRecord::Decode(TitleRecord(line).Encode())); }

namespace {

// The whole records of a file, read in one go; at most the records that a
// record number can address. `more` tells whether the file goes on past them.
std::string ReadRecords(const std::string& path, int length, bool& more) {
  std::unique_ptr<File> file = Files().Open(path);
  const std::uint64_t records = file->Size() / static_cast<std::uint64_t>(length);
  more = records > static_cast<std::uint64_t>(MaxRecordNumber);
  const std::uint64_t wanted = std::min<std::uint64_t>(records, MaxRecordNumber);
  std::string bytes(static_cast<size_t>(wanted) * static_cast<size_t>(length), '\0');
  if (file->ReadAt(0, bytes.data(), bytes.size()) != bytes.size())
    throw FileError("the file became shorter while it was read: " + path);
  return bytes;
}

// The used part of the moves file: records from 1 up to the end of the file
// or, with `stopAtEndMark`, up to the first record of colour 0.
std::vector<GameMoveRecord> ReadMoveRecords(const std::string& path, bool stopAtEndMark) {
  bool more = false;
  const std::string bytes = ReadRecords(path, GameMoveRecord::Length, more);
  std::vector<GameMoveRecord> out;
  out.reserve(bytes.size() / GameMoveRecord::Length);
  for (size_t at = 0; at < bytes.size(); at += GameMoveRecord::Length) {
    GameMoveRecord r = GameMoveRecord::Decode(std::string_view(bytes).substr(at, GameMoveRecord::Length));
    if (stopAtEndMark && r.Colour == 0) return out;
    out.push_back(r);
  }
  if (more) throw DamagedFile("more records than a record number can address", path);
  return out;
}

std::string EncodeAll(const std::vector<GameMoveRecord>& records) {
  std::string out;
  out.reserve(records.size() * GameMoveRecord::Length);
  for (const GameMoveRecord& r : records) out += r.Encode();
  return out;
}

// MoveList entries 1..MoveCount as records of game n.
std::span<const MoveEntry> BoardEntries(const GameState& s) {
  const int count = std::clamp<int>(s.MoveCount, 0, MaxMoves);
  return std::span<const MoveEntry>(s.MoveList).subspan(1, static_cast<size_t>(count));
}

std::vector<GameMoveRecord> MoveRecords(std::span<const MoveEntry> entries, int n) {
  std::vector<GameMoveRecord> out;
  for (const MoveEntry& e : entries) out.push_back({static_cast<int16_t>(n), e.Number, e.Colour, e.Point});
  return out;
}

// After a failed change the moves file is as it was or, when only the last
// sync failed, already replaced; the count follows what the file now holds,
// as it does when the program starts.
void ResyncMoveCount(GameState& s) {
  try {
    CountStoredMoves(s);
  } catch (const FileError&) {
  }
}

void CheckRecordNumber(long last, const std::string& path) {
  if (last > MaxRecordNumber)
    throw FileError("record " + std::to_string(last) + " would pass the last record number in " + path);
}

}  // namespace

void CountStoredMoves(GameState& s) {
  RecordFile moves(s.GameMovesFile, GameMoveRecord::Length);
  s.GameMovesRecordCount = static_cast<int16_t>(std::min<long>(moves.Count(), MaxRecordNumber));
}

void DeleteGameMoves(GameState& s, int n) {
  try {
    std::vector<GameMoveRecord> kept;
    for (const GameMoveRecord& r : ReadMoveRecords(s.GameMovesFile, true))
      if (r.GameNumber != n) kept.push_back(r);
    ReplaceFile(s.GameMovesFile, s.TempFile, EncodeAll(kept));
    s.GameMovesRecordCount = static_cast<int16_t>(kept.size());
  } catch (const FileError&) {
    ResyncMoveCount(s);
    throw;
  }
}

void AppendGameMoves(GameState& s, int n) { AppendGameEntries(s, n, BoardEntries(s)); }

void AppendGameEntries(GameState& s, int n, std::span<const MoveEntry> entries) {
  try {
    const std::vector<GameMoveRecord> moves = MoveRecords(entries, n);
    if (moves.empty()) return;
    const long first = static_cast<long>(s.GameMovesRecordCount) + 1;
    const long last = first + static_cast<long>(moves.size()) - 1;
    CheckRecordNumber(last, s.GameMovesFile);
    // The records land at GameMovesRecordCount + 1 onwards whatever the file
    // holds there; everything else of the file stays as it was.
    std::string content = ReadWholeFile(s.GameMovesFile);
    const size_t from = static_cast<size_t>(first - 1) * GameMoveRecord::Length;
    const std::string added = EncodeAll(moves);
    if (content.size() < from + added.size()) content.resize(from + added.size(), '\0');
    content.replace(from, added.size(), added);
    ReplaceFile(s.GameMovesFile, s.TempFile, content);
    s.GameMovesRecordCount = static_cast<int16_t>(last);
  } catch (const FileError&) {
    ResyncMoveCount(s);
    throw;
  }
}

void ReplaceGameMoves(GameState& s, int n) {
  try {
    std::vector<GameMoveRecord> records;
    for (const GameMoveRecord& r : ReadMoveRecords(s.GameMovesFile, true))
      if (r.GameNumber != n) records.push_back(r);
    const std::vector<GameMoveRecord> moves = MoveRecords(BoardEntries(s), n);
    records.insert(records.end(), moves.begin(), moves.end());
    CheckRecordNumber(static_cast<long>(records.size()), s.GameMovesFile);
    ReplaceFile(s.GameMovesFile, s.TempFile, EncodeAll(records));
    s.GameMovesRecordCount = static_cast<int16_t>(records.size());
  } catch (const FileError&) {
    ResyncMoveCount(s);
    throw;
  }
}

void WriteGameListEntry(GameState& s, const Str& line, int mode) {
  const int g = LineGameNumber(line);
  // Records 1 to 10 hold other data and must never be taken for a game's.
  if (g < 1) throw FileError("no game number at the start of the line");
  ReplaceGameListRecord(s, g + GameListRecordOffset, mode == 1 ? TitleRecord(line) : GameListRecord{});
}

std::optional<std::vector<MoveEntry>> ReadGameEntries(const GameState& s, int n, ReadUntil until) {
  std::vector<MoveEntry> read;
  for (const GameMoveRecord& r : ReadMoveRecords(s.GameMovesFile, until == ReadUntil::EndMark)) {
    if (r.GameNumber != n) continue;
    // A damaged record cannot be a stone; it is passed over rather than
    // let into the move list, where colour 0 would end the game early.
    if ((r.Colour != Black && r.Colour != White) || r.Point < 1 || r.Point > PointCount) continue;
    if (read.size() == MaxMoves) return std::nullopt;
    read.push_back({r.Number, r.Colour, r.Point});
  }
  return read;
}

std::optional<int> ReadGameMoves(GameState& s, int n, ReadUntil until) {
  const std::optional<std::vector<MoveEntry>> read = ReadGameEntries(s, n, until);
  if (!read) return std::nullopt;
  s.MoveList = {};
  std::copy(read->begin(), read->end(), s.MoveList.begin() + 1);
  return static_cast<int>(read->size());
}

std::vector<Str> ListGames(GameState& s) {
  bool more = false;
  const std::string bytes = ReadRecords(s.GameListFile, GameListRecord::Length, more);
  if (more) throw DamagedFile("more records than a record number can address", s.GameListFile);
  std::vector<Str> lines;
  const size_t start = static_cast<size_t>(GameListRecordOffset) * GameListRecord::Length;
  for (size_t at = start; at < bytes.size(); at += GameListRecord::Length) {
    GameListRecord r = GameListRecord::Decode(std::string_view(bytes).substr(at, GameListRecord::Length));
    if (r.GameNumber >= 1) lines.push_back(ListLine(r));
  }
  return lines;
}

}  // namespace sol
