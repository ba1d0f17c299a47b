// The capacity report of the library window.
#include "records/form3.h"

namespace sol {

void Form3::MenuRemaining() {}

}  // namespace sol
