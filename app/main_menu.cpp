// The main window's pop-up menu flash1pop: items, captions, shortcuts and first states.
#include "app/main_form.h"

namespace rv {

void MainForm::buildMainMenu() {
  Menu& m = flash1pop;
  auto bind = [](MenuItem& item, auto handler) -> MenuItem& {
    item.onClick = handler;
    return item;
  };

  bind(m.add(nullptr, "flashopenfile", "Open...", "Ctrl+O"), [this] { flashopenfileClick(); });
  bind(m.add(nullptr, "flashopendir", "Open directory...", "Ctrl+D"),
       [this] { flashopendirClick(); });
  bind(m.add(nullptr, "IE2", "Search IE cache", "F3"), [this] { IE2Click(); });
  m.addSeparator(nullptr);

  bind(m.add(nullptr, "alwaysonthetop", "Always on top", "Ctrl+T"),
       [this] { alwaysonthetopClick(); });
  MenuItem& view = m.add(nullptr, "N9", "View");
  bind(m.add(&view, "normalview", "Normal", "Ctrl+N"), [this] { normalviewClick(); }).checked =
      true;
  bind(m.add(&view, "easyview", "Main window only", "Ctrl+E"), [this] { easyviewClick(); });
  bind(m.add(&view, "fullscreen", "Full screen", "Ctrl+F"), [this] { fullscreenClick(); });
  MenuItem& skin = m.add(nullptr, "skin", "Skins");
  bind(m.add(&skin, "downloadskin", "Download more skins"), [this] { downloadskinClick(); });
  m.addSeparator(&skin);
  m.addSeparator(nullptr);

  MenuItem& showall =
      bind(m.add(nullptr, "showall", "Show all", "Ctrl+A"), [this] { showallClick(); });
  showall.checked = true;
  showall.enabled = false;
  MenuItem& scale = m.add(nullptr, "scale", "Zoom");
  scale.enabled = false;
  bind(m.add(&scale, "zoomin", "Zoom out"), [this] { zoominClick(); }).enabled = false;
  bind(m.add(&scale, "zoomout", "Zoom in"), [this] { zoomoutClick(); });
  bind(m.add(&scale, "n100", "100%"), [this] { n100Click(); });
  m.addSeparator(nullptr);

  MenuItem& quality = m.add(nullptr, "quality", "Quality");
  quality.enabled = false;
  bind(m.add(&quality, "low", "Low"), [this] { lowClick(); });
  bind(m.add(&quality, "high", "High"), [this] { highClick(); }).checked = true;
  m.addSeparator(nullptr);

  MenuItem& playstop =
      bind(m.add(nullptr, "playstop", "Play", "Ctrl+P"), [this] { playstopClick(); });
  playstop.checked = true;
  playstop.enabled = false;
  bind(m.add(nullptr, "autoplay", "Auto play", "Ctrl+U"), [this] { autoplayClick(); }).enabled =
      false;
  bind(m.add(nullptr, "lastmovie", "Previous  movie"), [this] { lastmovieClick(); }).enabled =
      false;
  bind(m.add(nullptr, "nextmovie", "Next movie"), [this] { nextmovieClick(); }).enabled = false;
  MenuItem& flashloop =
      bind(m.add(nullptr, "flashloop", "Movie loop", "Ctrl+L"), [this] { flashloopClick(); });
  flashloop.checked = true;
  flashloop.enabled = false;
  bind(m.add(nullptr, "listloop", "List loop", "Ctrl+S"), [this] { listloopClick(); }).enabled =
      false;
  MenuItem& playmode = m.add(nullptr, "playmode", "Play mode");
  playmode.enabled = false;
  bind(m.add(&playmode, "default", "Default"), [this] { defaultClick(); }).checked = true;
  bind(m.add(&playmode, "gameboy", "Game boy"), [this] { gameboyClick(); });
  bind(m.add(&playmode, "mtv_movie", "MTV_Flash"), [this] { mtv_movieClick(); });
  bind(m.add(&playmode, "mtv_list", "MTV_List"), [this] { mtv_listClick(); });
  m.addSeparator(nullptr);

  bind(m.add(nullptr, "rewind", "Rewind", "Ctrl+R"), [this] { rewindClick(); }).enabled = false;
  bind(m.add(nullptr, "stepup", "Forward"), [this] { stepupClick(); }).enabled = false;
  bind(m.add(nullptr, "stepback", "Back"), [this] { stepbackClick(); }).enabled = false;
  bind(m.add(nullptr, "playframe", "Go to Frame..."), [this] { playframeClick(); }).enabled = false;
  m.addSeparator(nullptr);

  bind(m.add(nullptr, "option1", "Option..."), [this] { option1Click(); });
  bind(m.add(nullptr, "help", "Help...", "F1"), [this] { helpClick(); });
  bind(m.add(nullptr, "about", "About..."), [this] { aboutClick(); });
  bind(m.add(nullptr, "quit", "Exit", "Ctrl+X"), [this] { quitClick(); });
}

}  // namespace rv
