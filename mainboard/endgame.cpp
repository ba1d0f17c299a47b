#include "mainboard/form2.h"

namespace sol {

// Clicks of the end-of-game mode: taking off dead stones and filling
// neutral points.
void Form2::EndModeDead(int, int) {}

void Form2::EndModeFill(int, int) {}

void Form2::MenuCount() {}

}  // namespace sol
