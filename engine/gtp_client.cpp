#include "engine/gtp_client.h"

#include <chrono>

namespace sol {

GtpClient::GtpClient(std::unique_ptr<ChildProcess> process, int timeoutMs)
    : process_(std::move(process)), timeoutMs_(timeoutMs) {}

GtpClient::~GtpClient() { Quit(); }

GtpAnswer GtpClient::Fail(GtpAnswer::Status status, Str why) {
  process_.reset();
  reader_.Clear();
  return {status, {}, std::move(why)};
}

GtpAnswer GtpClient::Ask(std::string_view command) {
  if (!process_) return {GtpAnswer::Status::Failed, {}, u"エンジンは止まっています。"};
  stopping_ = false;
  const int id = nextId_++;
  if (!process_->Write(gtp::Command(id, command)))
    return Fail(GtpAnswer::Status::Failed, u"エンジンが終了していました。");
  using Clock = std::chrono::steady_clock;
  const Clock::time_point deadline = Clock::now() + std::chrono::milliseconds(timeoutMs_);
  for (;;) {
    while (std::optional<gtp::Reply> reply = reader_.Next()) {
      // A reply to an earlier command that was given up is passed over.
      if (reply->id && *reply->id != id) continue;
      if (reply->success) return {GtpAnswer::Status::Ok, reply->text, {}};
      return {GtpAnswer::Status::Refused, reply->text, FromUtf8(reply->text)};
    }
    if (!reader_.Fault().empty())
      return Fail(GtpAnswer::Status::Failed,
                  u"エンジンの出力が GTP の応答ではありません（" + FromUtf8(reader_.Fault().substr(0, 60)) + u"）。");
    if (stopping_) return Fail(GtpAnswer::Status::Stopped, u"エンジンの考慮を中止しました。");
    const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now()).count();
    if (left <= 0)
      return Fail(GtpAnswer::Status::Failed,
                  u"エンジンが" + Num(timeoutMs_ / 1000) + u"秒たっても答えないため、止めました。");
    const std::string got = process_->Read(static_cast<int>(left));
    if (!got.empty()) {
      reader_.Feed(got);
      continue;
    }
    if (!process_->Running()) return Fail(GtpAnswer::Status::Failed, u"エンジンが途中で終了しました。");
  }
}

void GtpClient::Stop() {
  stopping_ = true;
  if (process_) process_->Interrupt();
}

void GtpClient::Quit() {
  if (!process_) return;
  if (process_->Running() && process_->Write(gtp::Command(nextId_++, "quit"))) {
    // A short wait for the engine to say goodbye; the process is ended either way.
    for (int i = 0; i < 5 && process_->Running(); ++i) {
      reader_.Feed(process_->Read(100));
      if (reader_.Next()) break;
    }
  }
  process_.reset();
  reader_.Clear();
}

}  // namespace sol
