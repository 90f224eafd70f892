#pragma once
// The one place every handler, menu command, timer tick and drop runs through. No exception gets
// past it except FatalExit, which the program entry turns into the end of the process.

#include <exception>
#include <utility>

#include "app/errors.h"
#include "app/main_form.h"

namespace rv {

// Runs `handler`. Returns true when it ran to its end, false when it ended early:
// - AppError (or any other exception): the application error handler reports it;
// - SilentAbort: the event just ends;
// - FatalExit: its message is shown and a FatalExit is thrown on to the program entry.
template <class Handler>
bool dispatch(MainForm& form, Handler&& handler) {
  bool report = false;
  try {
    std::forward<Handler>(handler)();
    return true;
  } catch (const SilentAbort&) {
  } catch (const FatalExit& fatal) {
    try {
      form.services.dialogs->message(fatal.message);
    } catch (...) {
    }
    throw FatalExit{fatal.message};
  } catch (...) {
    report = true;
  }
  if (report) {
    try {
      form.appexception();
    } catch (const FatalExit&) {
      throw;
    } catch (...) {
      // The error handler itself failed; nothing is left to tell the user.
    }
  }
  return false;
}

}  // namespace rv
