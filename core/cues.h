// The two sound cues and the set-up of a window's wave player.
#pragma once

#include "ui/mmcontrol.h"

namespace sol {

inline const Str ConfirmCueFile = u"c:\\Windows\\Media\\Chord.wav";
inline const Str EndCueFile = u"c:\\Windows\\Media\\Ding.wav";

constexpr int EndCue = 1;

// The main board's player holds the end cue until its first cue is played.
void SetUpPlayer(MMControl& player, bool holdEndCue);
// Kind 1 plays the end cue, any other kind the confirmation cue.
void PlayCue(MMControl& player, int kind);

}  // namespace sol
