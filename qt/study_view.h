// The layout of the 学習記録 window: its heading, the list of counts, what
// the marks mean, and its three commands in a row.
#pragma once

#include "qt/form_view.h"

namespace sol {

ViewLayout StudyLayout();

}  // namespace sol
