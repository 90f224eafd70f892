// Switching skins with a movie playing, median on this machine: from the click on a skin's entry
// to the window drawn with the new skin (pictures decoded, outline set, the movie control
// renewed and playing on at its frame). Alternates between the shipped Default and Compact
// skins on an offscreen window. With a directory argument it also saves a picture of each skin,
// with and without the playlist panel, as NAME.png and NAME-list.png there.
#include <QApplication>
#include <QImage>
#include <QRegion>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "app/dispatch.h"
#include "app/main_form.h"
#include "playback/engine_flash_control.h"
#include "tests/shell/fakes/shell_rig.h"
#include "ui/main_window.h"
#include "ui/skin_pictures.h"

namespace {

using Clock = std::chrono::steady_clock;

double median(std::vector<double> v) {
  std::sort(v.begin(), v.end());
  return v[v.size() / 2];
}

}  // namespace

int main(int argc, char** argv) {
  qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  const std::string shipped = RV_PROGRAM_DIR;
  if (!std::filesystem::exists(shipped + "/skin/Default") ||
      !std::filesystem::exists(shipped + "/demo/demo.swf")) {
    std::fprintf(stderr, "build rv_program_dir first\n");
    return 1;
  }
  rv::test::ShellRig rig;
  std::filesystem::copy(shipped + "/skin", rig.dir.path("skin"),
                        std::filesystem::copy_options::recursive);
  std::filesystem::copy(shipped + "/demo/demo.swf", rig.dir.path("demo.swf"));
  rv::EngineFlashFactory engines;
  rv::Services services = rig.services();
  services.flashFactory = &engines;
  services.pictures = &rv::ui::SkinPictures::instance();
  rv::MainForm form(rig.dir.path(), services);
  rv::ui::MainWindow window([&] { return &form; },
                            [&](const std::function<void()>& e) { return rv::dispatch(form, e); });
  rv::dispatch(form, [&] { form.changeskinini(); });
  window.show();
  rv::dispatch(form, [&] { form.playflash(rig.dir.path("demo.swf")); });

  std::vector<rv::MenuItem*> skins;
  for (rv::MenuItem* i : form.item("skin").children)
    if (i->caption == "Default" || i->caption == "Compact") skins.push_back(i);
  if (skins.size() != 2) return 1;

  std::vector<double> ms;
  for (int round = 0; round < 41; ++round) {
    rv::MenuItem* target = skins[static_cast<size_t>(round % 2)];
    const auto t0 = Clock::now();
    rv::dispatch(form, [&] { target->click(); });
    window.syncFromModel();
    window.repaint();
    QCoreApplication::processEvents();
    ms.push_back(std::chrono::duration<double, std::milli>(Clock::now() - t0).count());
    for (int f = 0; f < 3; ++f) {
      form.Flash1->play();
      QCoreApplication::processEvents();
    }
  }
  if (argc > 1) {
    for (rv::MenuItem* skin : skins) {
      for (bool list : {false, true}) {
        rv::dispatch(form, [&] {
          skin->click();
          list ? form.listbtnonClick() : form.listbtnoffClick();
        });
        window.syncFromModel();
        QCoreApplication::processEvents();
        const std::string file =
            std::string(argv[1]) + "/" + skin->caption + (list ? "-list" : "") + ".png";
        QImage shot = window.grab().toImage().convertToFormat(QImage::Format_ARGB32);
        // Outside the outline the desktop shows through.
        const QRegion outline = window.mask();
        for (int y = 0; y < shot.height(); ++y)
          for (int x = 0; x < shot.width(); ++x)
            if (!outline.isEmpty() && !outline.contains(QPoint(x, y))) shot.setPixel(x, y, 0);
        shot.save(QString::fromStdString(file));
      }
    }
  }
  std::printf("skin switch with a movie playing: median %.2f ms (min %.2f, max %.2f, %zu runs)\n",
              median(ms), *std::min_element(ms.begin(), ms.end()),
              *std::max_element(ms.begin(), ms.end()), ms.size());
  std::printf("movie at frame %d, %s\n", form.Flash1->frameNum(),
              form.Flash1->isPlaying() ? "playing" : "stopped");
  return 0;
}
