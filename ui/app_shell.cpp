#include "ui/app_shell.h"

#include <QApplication>
#include <QFontMetrics>
#include <cstdio>
#include <cstdlib>

#include "app/dispatch.h"
#include "app/errors.h"
#include "platform/config_home.h"
#include "ui/engine_factory.h"
#include "ui/input_filter.h"
#include "ui/main_window.h"
#include "ui/model_colors.h"
#include "ui/mpris/mpris.h"
#include "ui/options_window.h"
#include "ui/side_windows.h"
#include "ui/skin_pictures.h"
#include "ui/tool_bar_window.h"

namespace rv::ui {
namespace {

int playlistTextWidth(const std::string& text) {
  static const QFontMetrics metrics(playlistFont());
  return metrics.horizontalAdvance(QString::fromStdString(text));
}

[[noreturn]] void endProcessNow() {
  // A fatal condition: the message has been shown; nothing is saved and nothing more runs.
  std::fflush(nullptr);
  std::_Exit(EXIT_FAILURE);
}

}  // namespace

AppShell::AppShell(std::string programDir, std::unique_ptr<Mixer> mixer, std::string programPath)
    : programDir_(std::move(programDir)),
      mixer_(mixer ? std::move(mixer) : makeSystemMixer()),
      flashFactory_(makeEngineFlashFactory()),
      associations_(makeXdgAssociations(programPath.empty() ? programDir_ + "reelvista"
                                                            : std::move(programPath))) {
  run_ = [this](const std::function<void()>& event) { return runEvent(event); };
  main_ = std::make_unique<MainWindow>(
      [this]() -> MainForm* { return program_ && started_ ? &program_->mainForm() : nullptr; },
      run_);
  dialogs_.setParent(main_.get());

  Services services;
  services.dialogs = &dialogs_;
  services.mixer = mixer_.get();
  services.desktop = &desktop_;
  services.flashFactory = flashFactory_.get();
  services.window = main_.get();
  services.textWidth = &playlistTextWidth;
  services.pictures = &SkinPictures::instance();
  services.associations = associations_.get();
  program_ = std::make_unique<Program>(programDir_, services);
  program_->setConfigDir(configDirectory(programDir_));
}

AppShell::~AppShell() {
  if (filter_) qApp->removeEventFilter(filter_.get());
  timer_.stop();
}

bool AppShell::runEvent(const std::function<void()>& event) {
  if (!program_ || !started_) {
    try {
      event();
      return true;
    } catch (...) {
      return false;
    }
  }
  try {
    return dispatch(program_->mainForm(), event);
  } catch (const FatalExit&) {
    endProcessNow();
  } catch (...) {
    return false;  // the dispatch point lets nothing else through; never into Qt's loop
  }
}

void AppShell::start(const std::vector<std::string>& args) {
  // The form exists from the first moment of start-up on, and its start-up shows the window.
  started_ = true;
  program_->start(args);

  Program& p = *program_;
  about_ = std::make_unique<AboutWindow>(p.aboutBox(), run_);
  p.aboutBox().window = about_.get();
  options_ = std::make_unique<OptionsWindow>(p.optionsDialog(), main_.get(), run_);
  p.optionsDialog().window = options_.get();
  toolBar_ = std::make_unique<ToolBarWindow>(p.toolBar(), run_);
  p.toolBar().window = toolBar_.get();

  filter_ = std::make_unique<InputFilter>(*main_, [this] { syncAll(); });
  filter_->takeKeysOf(toolBar_.get());
  qApp->installEventFilter(filter_.get());
  mpris_ = Mpris::connectToSessionBus(p.mainForm(), run_);
  if (mpris_) {
    mpris_->raiseWindow = [this] {
      if (main_->isMinimized()) main_->showNormal();
      main_->raise();
      main_->activateWindow();
    };
  }

  QObject::connect(&timer_, &QTimer::timeout, [this] { tick(); });
  timer_.setTimerType(Qt::PreciseTimer);
  timer_.start(10);
  syncAll();
}

void AppShell::tick() {
  MainForm& form = program_->mainForm();
  // A box opened inside a tick runs its own loop; the tick waits until it is answered.
  if (!form.inTick) run_([&form] { form.Timer1Timer(); });
  syncAll();
  if (mpris_) mpris_->poll();
}

void AppShell::syncAll() {
  if (!started_) return;
  main_->syncFromModel();
  if (about_) about_->syncFromModel();
  if (options_) options_->syncFromModel();
  if (toolBar_) toolBar_->syncFromModel();
}

}  // namespace rv::ui
