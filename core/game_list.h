// 棋譜一覧.dat: one record per game in records 11..70, and in records 2..5
// the names of the problem window's sub-categories, one record per category.
// Both the library window and the problem window reach the file through here.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "core/game_state.h"
#include "core/record_layout.h"

namespace sol {

struct GameListRecord {
  static constexpr int Length = GameListRecordLength;
  static constexpr int TitleWidth = 120;

  int16_t GameNumber = 0;  // 1..60; 0 or less marks a free record
  Str TitleText;           // decoded whole, trailing blanks included

  // `bytes` must hold Length bytes.
  static GameListRecord Decode(std::string_view bytes);
  // Exactly Length bytes; the title is cut at the field width (never inside
  // a double-byte character) and blank-padded.
  std::string Encode() const;
};

inline constexpr RecordLayout<GameListRecord, 2> GameListLayout{
    {Int16Field(&GameListRecord::GameNumber), TextField(&GameListRecord::TitleText, GameListRecord::TitleWidth)}};
static_assert(LayoutLength(GameListLayout) == GameListRecord::Length);

// Record r (from 1) of the list file becomes `r`'s bytes; the rest of the
// file stays as it was, a file too short for it grows with zero bytes.
// FileError when the file cannot be read or replaced.
void ReplaceGameListRecord(GameState& s, int record, const GameListRecord& r);

// The names stored for the problem category (three names of three
// characters at characters 1, 5 and 9); nullopt when the data never stored
// any (the record is missing or all zero bytes). A missing file is created
// empty. FileError.
std::optional<Str> ReadSubCategoryNames(const GameState& s, int category);
void WriteSubCategoryNames(GameState& s, int category, const Str& names);

}  // namespace sol
