// The four category menus (定石, 手筋, ヨセ, 詰碁) with their lecture and
// registration entries, as both the main board and the problem window show them.
#pragma once

#include <functional>

#include "ui/controls.h"

namespace sol {

// Adds the four menus to `bar`; each entry calls `open` with its mode
// (1, 3, 5, 7 lecture; 2, 4, 6, 8 registration).
void AddLessonMenus(Menu& bar, const std::function<void(int lessonMode)>& open);

}  // namespace sol
