// Adjourning the game on the board as game 01 of the library, and restoring it.
#include "mainboard/form2.h"

namespace sol {

void Form2::MenuSave() {}

void Form2::MenuRestore() {}

}  // namespace sol
