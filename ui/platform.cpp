#include "ui/platform.h"

#include <cstdio>
#include <ctime>

namespace sol {

std::string Platform::Now() {
  const Date d = Today();
  const std::time_t now = std::time(nullptr);
  std::tm local{};
  localtime_r(&now, &local);
  char text[32];
  std::snprintf(text, sizeof text, "%04d-%02d-%02d %02d:%02d:%02d", d.year, d.month, d.day, local.tm_hour, local.tm_min,
                local.tm_sec);
  return text;
}

ProcessStart Platform::StartProcess(const std::vector<std::string>&, const std::string&) {
  return {nullptr, u"この環境では外部のプログラムを起動できません。"};
}

}  // namespace sol
