// The wave-audio player of a window. It holds a file name and plays
// whatever file it holds at that moment.
#pragma once

#include <string>

#include "ui/platform.h"

namespace sol {

class MMControl : public Control {
 public:
  MMControl(std::string name, Platform& platform) : Control(std::move(name)), platform_(platform) {}

  const Str& FileName() const { return fileName_; }
  void SetFileName(const Str& f) { fileName_ = f; }
  void Play() { platform_.PlayWave(fileName_); }

 private:
  Platform& platform_;
  Str fileName_;
};

}  // namespace sol
