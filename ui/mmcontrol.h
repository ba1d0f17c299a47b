// The wave-audio player of a window. It holds a file name; the command
// "Sound" plays whatever file it holds at that moment.
#pragma once

#include <string>

#include "ui/platform.h"

namespace sol {

class MMControl : public Control {
 public:
  MMControl(std::string name, Platform& platform) : Control(std::move(name)), platform_(platform) {}

  const Str& DeviceType() const { return deviceType_; }
  void SetDeviceType(const Str& t) { deviceType_ = t; }
  const Str& FileName() const { return fileName_; }
  void SetFileName(const Str& f) { fileName_ = f; }
  // The player's boolean options (notification, waiting, shared use); they
  // change nothing in how a cue sounds here.
  bool Notify = true;
  bool Wait = true;
  bool Shareable = true;

  bool IsOpen() const { return open_; }
  // "Open", "Close" and "Sound"; anything else is ignored.
  void Command(const std::string& command) {
    if (command == "Open")
      open_ = true;
    else if (command == "Close")
      open_ = false;
    else if (command == "Sound")
      platform_.PlayWave(fileName_);
  }

 private:
  Platform& platform_;
  Str deviceType_;
  Str fileName_;
  bool open_ = false;
};

}  // namespace sol
