// The main board window's layout: the board at the left, the modes, the
// prisoner counts, the navigation buttons and the slider at the right.
#pragma once

#include "qt/form_view.h"

namespace sol {

ViewLayout Form2Layout();

}  // namespace sol
