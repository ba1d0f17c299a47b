#include "core/game_list.h"

#include "core/record_file.h"

namespace sol {

namespace {

// The problem categories' names follow the list file's first record.
int SubCategoryRecord(int category) { return category + 1; }

}  // namespace

GameListRecord GameListRecord::Decode(std::string_view bytes) { return DecodeRecord<GameListLayout>(bytes); }

std::string GameListRecord::Encode() const { return EncodeRecord<GameListLayout>(*this); }

void ReplaceGameListRecord(GameState& s, int record, const GameListRecord& r) {
  std::string content = ReadWholeFile(s.GameListFile);
  const size_t from = static_cast<size_t>(record - 1) * GameListRecord::Length;
  if (content.size() < from + GameListRecord::Length) content.resize(from + GameListRecord::Length, '\0');
  content.replace(from, GameListRecord::Length, r.Encode());
  ReplaceFile(s.GameListFile, s.TempFile, content);
}

std::optional<Str> ReadSubCategoryNames(const GameState& s, int category) {
  RecordFile list(s.GameListFile, GameListRecord::Length);
  const std::string rec = list.Read(SubCategoryRecord(category));
  if (rec.find_first_not_of('\0') == std::string::npos) return std::nullopt;
  return GameListRecord::Decode(rec).TitleText;
}

void WriteSubCategoryNames(GameState& s, int category, const Str& names) {
  ReplaceGameListRecord(s, SubCategoryRecord(category), {0, names});
}

}  // namespace sol
