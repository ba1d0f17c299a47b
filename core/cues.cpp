#include "core/cues.h"

namespace sol {

void SetUpPlayer(MMControl& player, bool holdEndCue) {
  if (holdEndCue) player.SetFileName(EndCueFile);
}

void PlayCue(MMControl& player, int kind) {
  player.SetFileName(ConfirmCueFile);
  if (kind == EndCue) player.SetFileName(EndCueFile);
  player.Play();
}

}  // namespace sol
