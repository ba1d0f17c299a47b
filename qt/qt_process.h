// A child program through QProcess: Read waits in a local event loop, so
// the windows repaint and take the stop request while an engine thinks.
#pragma once

#include <string>
#include <vector>

#include "ui/platform.h"

namespace sol {

ProcessStart StartQtProcess(const std::vector<std::string>& argv, const std::string& folder);

}  // namespace sol
