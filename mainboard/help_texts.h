#pragma once

namespace sol {
class Form2;
// The short help each control of the main board shows in context-help mode.
void ApplyHelpTexts(Form2& f);
}  // namespace sol
