#pragma once
// The three ways an event can end early. The one dispatch point (app/dispatch.h) sorts them out.

#include <stdexcept>
#include <string>

namespace rv {

// Any unexpected failure of a handler: the application error handler unloads the movies and
// reports "Can not play <name>!".
struct AppError : std::runtime_error {
  using std::runtime_error::runtime_error;
};

// Ends the current event without any report (used after a list advance).
struct SilentAbort {};

// A condition the program cannot run on: the message is shown, then the process ends without
// saving anything.
struct FatalExit {
  std::string message;
};

}  // namespace rv
