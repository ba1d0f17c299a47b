#include "core/cues.h"

namespace sol {

void SetUpPlayer(MMControl& player, bool holdEndCue) {
  player.Command("Close");
  player.SetDeviceType(u"WaveAudio");
  if (holdEndCue) player.SetFileName(EndCueFile);
  player.Notify = false;
  player.Wait = false;
  player.Command("Open");
}

void PlayCue(MMControl& player, int kind) {
  player.SetFileName(ConfirmCueFile);
  if (kind == EndCue) player.SetFileName(EndCueFile);
  player.Shareable = false;
  player.Command("Sound");
}

}  // namespace sol
