// One engine spoken to over GTP: a command sent, its reply awaited within a
// time limit. Whatever goes wrong — the program ends, prints what is not
// GTP, or does not answer in time — ends the engine for good and is said in
// the player's words; the caller's game is never touched here.
#pragma once

#include <memory>
#include <string>
#include <string_view>

#include "core/text.h"
#include "engine/gtp.h"
#include "ui/platform.h"

namespace sol {

struct GtpAnswer {
  enum class Status {
    Ok,       // '=': text is the reply
    Refused,  // '?': text is the engine's reason; the engine goes on
    Failed,   // the engine is gone; why says what happened
    Stopped,  // the player stopped the wait; the engine is gone
  };
  Status status = Status::Failed;
  std::string text;
  Str why;
  bool Ok() const { return status == Status::Ok; }
};

class GtpClient {
 public:
  GtpClient(std::unique_ptr<ChildProcess> process, int timeoutMs);
  ~GtpClient();
  GtpClient(const GtpClient&) = delete;
  GtpClient& operator=(const GtpClient&) = delete;

  // Sends one command ("play black D4") and waits for its reply.
  GtpAnswer Ask(std::string_view command);
  bool Alive() const { return process_ != nullptr; }
  // Makes an Ask in progress give up (from the window, while it waits).
  void Stop();
  // Says quit and ends the engine.
  void Quit();
  int TimeoutMs() const { return timeoutMs_; }

 private:
  GtpAnswer Fail(GtpAnswer::Status status, Str why);

  std::unique_ptr<ChildProcess> process_;
  int timeoutMs_;
  int nextId_ = 1;
  bool stopping_ = false;
  gtp::ReplyReader reader_;
};

}  // namespace sol
