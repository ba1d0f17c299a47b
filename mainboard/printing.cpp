#include "mainboard/form2.h"

namespace sol {

void Form2::MenuPrintPrepare() {}

void Form2::MenuPrint() {}

void Form2::Command5_Click() {}

}  // namespace sol
