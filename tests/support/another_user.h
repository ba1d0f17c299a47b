// A check run in a child process as the unprivileged user when the tests
// run as root (whom file permissions do not bind), else as this user.
#pragma once

#include <grp.h>
#include <sys/wait.h>
#include <unistd.h>

#include <functional>
#include <string>

namespace sol::testing {

constexpr uid_t Nobody = 65534;

// What `check` returns ("" = all well) comes back from the child.
inline std::string AsAnotherUser(const std::function<std::string()>& check) {
  int out[2];
  if (pipe(out) != 0) return "no pipe";
  const pid_t child = fork();
  if (child == 0) {
    close(out[0]);
    std::string result;
    if (geteuid() == 0 && (setgroups(0, nullptr) != 0 || setgid(Nobody) != 0 || setuid(Nobody) != 0))
      result = "cannot become nobody";
    else
      result = check();
    if (write(out[1], result.data(), result.size()) < 0) _exit(3);
    _exit(0);
  }
  close(out[1]);
  std::string result;
  char buf[256];
  for (ssize_t n; (n = read(out[0], buf, sizeof buf)) > 0;) result.append(buf, static_cast<size_t>(n));
  close(out[0]);
  int status = 0;
  waitpid(child, &status, 0);
  return result;
}

}  // namespace sol::testing
