// A child program on POSIX pipes: the platform's default way to start one.
#pragma once

#include <string>
#include <vector>

#include "core/text.h"
#include "ui/platform.h"

namespace sol {

// Starts `argv` in `folder`: standard input and output on pipes, standard
// error to /dev/null. A program that cannot be found or run is an error
// with the player's words for it.
ProcessStart StartPosixProcess(const std::vector<std::string>& argv, const std::string& folder);

// A command line split into words: blanks separate them, double or single
// quotes keep blanks inside one, a backslash takes the next character as it
// is. Empty when the line holds no word or a quote is left open.
std::vector<std::string> SplitCommandLine(const std::string& line);

}  // namespace sol
