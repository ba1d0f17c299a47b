// The 表示 menu of the windows with a board: how the coordinates around the
// board read, or none at all. The choice is the program's, shared by every
// board and kept in the settings under `CoordinatesKey`.
#pragma once

#include <functional>
#include <optional>
#include <string>

#include "ui/board_cells.h"
#include "ui/controls.h"

namespace sol {

inline constexpr const char* CoordinatesKey = "coordinates";

// Adds the menu to `bar`; each entry calls `choose` with its style.
void AddDisplayMenu(Menu& bar, const std::function<void(CoordinateStyle)>& choose);
// Ticks the entry of `style` and clears the others.
void TickCoordinates(Menu& bar, CoordinateStyle style);

// The settings value of a style and back; nullopt for a value that names none.
std::string CoordinatesValue(CoordinateStyle style);
std::optional<CoordinateStyle> ParseCoordinates(const std::string& value);

}  // namespace sol
