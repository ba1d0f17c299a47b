// The game record library window's layout: the game list with the report
// of free room beside it, the input field under them, and the four commands
// each with its instructions.
#pragma once

#include "qt/form_view.h"

namespace sol {

ViewLayout Form3Layout();

}  // namespace sol
