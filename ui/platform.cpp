#include "ui/platform.h"

namespace sol {

ProcessStart Platform::StartProcess(const std::vector<std::string>&, const std::string&) {
  return {nullptr, u"この環境では外部のプログラムを起動できません。"};
}

}  // namespace sol
