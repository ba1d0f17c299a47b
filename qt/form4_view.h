// The problem window's layout: the category title over the problem board at
// the left; at the right the problem list with the sub-category and lecture
// frames, the navigation buttons, the registration fields and lists, and the
// registration commands. Each mode shows only some of these; whatever is
// hidden gives its room to the rest.
#pragma once

#include "qt/form_view.h"

namespace sol {

ViewLayout Form4Layout();

}  // namespace sol
