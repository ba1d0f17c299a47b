#include <string>

#include "core/text.h"
#include "mainboard/form2.h"

namespace sol {

std::optional<std::string> Form2::ReadVar(const std::string& name, std::optional<int> index,
                                          const std::string& field) const {
  const std::pair<const char*, const int16_t*> scalars[] = {
      {"ClickPoint", &ClickPoint},
      {"ClickButton", &ClickButton},
      {"ClickShift", &ClickShift},
      {"HeldEntry", &HeldEntry},
      {"SavedMoveCount", &SavedMoveCount},
      {"SavedMoveNumber", &SavedMoveNumber},
      {"SnapshotMoveCount", &SnapshotMoveCount},
      {"StoneCount", &StoneCount},
  };
  for (const auto& [n, p] : scalars)
    if (name == n) return index ? std::nullopt : std::optional<std::string>(std::to_string(*p));
  const MoveArray* list = name == "BackupList" ? &BackupList : name == "SnapshotList" ? &SnapshotList : nullptr;
  if (list) {
    if (!index || *index < 1 || *index > MaxMoves) return std::nullopt;
    return MoveEntryField((*list)[*index], field);
  }
  if (name == "RetakeList") {
    if (!index || *index < 1 || *index > static_cast<int>(RetakeList.size())) return std::nullopt;
    const RetakeEntry& r = RetakeList[*index - 1];
    if (field == "Colour") return std::to_string(r.Colour);
    if (field == "Number") return std::to_string(r.Number);
    if (field == "ShownNumber") return std::to_string(r.ShownNumber);
    return std::nullopt;
  }
  if (name == "PrintTitle") return index ? std::nullopt : std::optional<std::string>(ToUtf8(PrintTitle));
  return std::nullopt;
}

}  // namespace sol
