#include "app/about_box.h"

#include <sys/stat.h>

#include "app/errors.h"
#include "app/window_host.h"

namespace rv {

AboutBox::AboutBox(std::string programDir, FlashFactory& factory)
    : programDir_(std::move(programDir)) {
  Flash3 = factory.create("Flash3");
  Flash3->name = "Flash3";
  Flash3->setBounds(0, 0, kWidth, kHeight);
  Flash3->onFSCommand = [this](const std::string& command, const std::string& args) {
    Flash3FSCommand(command, args);
  };
}

void AboutBox::FormCreate() {
  struct stat st {};
  const std::string path = moviePath();
  if (stat(path.c_str(), &st) != 0 || S_ISDIR(st.st_mode))
    throw FatalExit{"Config file was destroyed! Program must terminate."};
  Flash3->setMovie(path);
}

void AboutBox::show() {
  visible = true;
  if (window) window->show();
}

void AboutBox::hide() {
  visible = false;
  if (window) window->hide();
}

void AboutBox::Flash3FSCommand(const std::string& command, const std::string&) {
  if (command == "aboutexit") hide();
}

}  // namespace rv
