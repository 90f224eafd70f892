#include "app/program.h"

#include "app/dispatch.h"

namespace rv {

Program::Program(std::string programDir, Services services)
    : programDir_(std::move(programDir)), services_(services) {
  if (!programDir_.empty() && programDir_.back() != '/') programDir_ += '/';
  configDir_ = programDir_ + "config/";
}

Program::~Program() {
  // The main window holds plain pointers to the others.
  if (mainForm_) {
    mainForm_->aboutBox = nullptr;
    mainForm_->options = nullptr;
    mainForm_->toolBar = nullptr;
  }
}

void Program::start(const std::vector<std::string>& args) {
  mainForm_ = std::make_unique<MainForm>(programDir_, services_);
  MainForm& form = *mainForm_;
  form.configDir = configDir_;
  // An error in start-up ends start-up there; the window is shown all the same.
  if (!dispatch(form, [&] { form.FormCreate(args); })) {
    form.shown = true;
    if (services_.window) services_.window->show();
  }

  aboutBox_ = std::make_unique<AboutBox>(programDir_, *services_.flashFactory);
  form.aboutBox = aboutBox_.get();
  dispatch(form, [&] { aboutBox_->FormCreate(); });

  options_ = std::make_unique<OptionsDialog>(form.configPath(), *services_.dialogs,
                                             services_.associations);
  form.options = options_.get();

  dispatch(form, [&] { toolBar_ = std::make_unique<ToolBar>(configDir_); });
  if (!toolBar_) toolBar_ = std::make_unique<ToolBar>(configDir_);
  toolBar_->form = &form;
  form.toolBar = toolBar_.get();
}

}  // namespace rv
