// The player's use of projectors: extracting the movie beside the projector, and listing it.
#include "app/main_form.h"
#include "playlist/path_text.h"
#include "playlist/projector.h"

namespace rv {

bool MainForm::exetoswf(const std::string& exe, const std::string& target) {
  switch (extractProjectorMovie(exe, target)) {
    case ProjectorResult::Written:
      return true;
    case ProjectorResult::Missing:
      return false;
    case ProjectorResult::NotProjector:
      services.dialogs->message("The file is not a Flash_Exe file.");
      return false;
  }
  return false;
}

std::string addFromProjector(MainForm& form, const std::string& exe) {
  std::string target = withExtension(exe, ".swf");
  if (!form.exetoswf(exe, target)) return {};
  form.checksameitem(target);
  return target;
}

}  // namespace rv
