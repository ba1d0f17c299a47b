// Game files from outside the data folder.
#include "mainboard/form2.h"

namespace sol {

// Filled in by the SGF wiring; until then a dropped or named file is ignored.
void Form2::OpenSgfFiles(const std::vector<std::string>& paths) { (void)paths; }

}  // namespace sol
