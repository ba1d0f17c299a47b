// `dump FORM`: the board, the status line and the lists of a window, written
// among the failures so that a dump stands where its line ran.
#include "scenario/commands.h"
#include "scenario/session.h"

namespace sol {

void CmdDump(Session& s, const Words& w) {
  std::ostream& out = s.Out();
  Form& f = s.GetForm(w[1]);
  out << "== " << w[1] << " (" << StateName(f.State()) << ")\n";
  if (BoardCells* b = f.Board()) {
    for (int row = 1; row <= b->Rows(); ++row) {
      std::string line;
      for (int col = 1; col <= b->Columns(); ++col) {
        int pic = b->PictureAt(b->Rows() * (col - 1) + row);
        line += pic == PictureBlack ? " X" : pic == PictureWhite ? " O" : " .";
      }
      out << line << "\n";
    }
  }
  if (f.Status()) out << "status: " << Quote(Normal(f.Status()->Text())) << "\n";
  for (Control* c : f.Controls()) {
    if (auto* l = dynamic_cast<ListBox*>(c)) {
      out << c->Name() << " (" << l->ListCount() << " lines, index " << l->ListIndex() << ")\n";
      for (int i = 0; i < l->ListCount(); ++i) out << "  " << i << ": " << Quote(Normal(l->List(i))) << "\n";
    }
  }
}

}  // namespace sol
