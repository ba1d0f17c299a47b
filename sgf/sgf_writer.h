#pragma once

// A stored game as SGF text (FF[4], UTF-8). Read back with ConvertGame it
// gives the same entries: the same stones and colours in the same order, the
// moves numbered 1, 2, 3 … as stored games number them. Two shapes do not
// come back whole: set-up stones stored after a move are written as a set-up
// node at that place, which is valid SGF but ends the import there; and move
// numbers that are not consecutive come back renumbered.

#include <optional>
#include <span>
#include <string>
#include <string_view>

#include "core/game_state.h"
#include "core/text.h"
#include "ui/platform.h"

namespace sol::sgf {

// The program's version as the build names it ("1.1").
std::string_view ProgramVersion();

// The SGF point value of a point 1..361 ("aa" for 1).
std::string PointToSgf(int point);

// `entries` are a stored game's entries in order (MoveList[1..MoveCount]);
// an entry of colour 0 ends them. The root holds FF, GM, SZ, CA, AP
// ("program:version"), GN when `title` is not empty, DT when `date` is given,
// and the set-up stones that come before the first move.
std::string WriteGame(std::span<const MoveEntry> entries, const Str& title, const std::optional<Date>& date,
                      const Str& program = u"ソルネカ", std::string_view version = ProgramVersion());

// A text value with ']' and '\' escaped.
std::string EscapeText(std::string_view utf8);

}  // namespace sol::sgf
