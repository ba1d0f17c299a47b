#include "mainboard/form2.h"

namespace sol {

void Form2::MenuNigiri() {}

}  // namespace sol
