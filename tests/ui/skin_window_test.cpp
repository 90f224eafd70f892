// The shipped Default skin on a real window: its outline becomes the window's mask and its
// pictures are what the window shows; the picture reader refuses what it cannot show.
#include <gtest/gtest.h>

#include <QBuffer>
#include <QImage>
#include <QImageWriter>
#include <filesystem>

#include "app/dispatch.h"
#include "skins/region_file.h"
#include "tests/shell/fakes/shell_rig.h"
#include "tests/ui/qt_test_app.h"
#include "ui/main_window.h"
#include "ui/skin_pictures.h"

namespace rv::test {
namespace {

namespace fs = std::filesystem;

const std::string kShippedSkins = std::string(RV_PROGRAM_DIR) + "/skin/";

class SkinWindowTest : public ::testing::Test {
 protected:
  void SetUp() override {
    qtApp();
    if (!fs::exists(kShippedSkins + "Default/skin.ini"))
      GTEST_SKIP() << "the program directory has no skins yet (build rv_program_dir)";
    fs::copy(kShippedSkins, rig.dir.path("skin"), fs::copy_options::recursive);
    Services services = rig.services();
    services.pictures = &ui::SkinPictures::instance();
    form = std::make_unique<MainForm>(rig.dir.path(), services);
    window = std::make_unique<ui::MainWindow>(
        [this] { return form.get(); },
        [this](const std::function<void()>& e) { return dispatch(*form, e); });
    ASSERT_TRUE(dispatch(*form, [&] { form->changeskinini(); }));
    window->show();
    processUntil([&] { return window->isVisible(); });
    window->syncFromModel();
  }

  QRegion regionOf(const std::string& file) {
    QRegion region;
    const auto content = readRegionFile(rig.dir.path("skin/Default/" + file));
    if (!content) return region;
    for (const RegionRect& r : content->rects)
      region += QRect(r.left, r.top, r.right - r.left, r.bottom - r.top);
    return region;
  }

  ShellRig rig;
  std::unique_ptr<MainForm> form;
  std::unique_ptr<ui::MainWindow> window;
};

TEST_F(SkinWindowTest, DefaultSkinShapesAndPaintsTheWindow) {
  EXPECT_TRUE(rig.dialogs.messages.empty());
  const QRegion outline = regionOf("rgn1.rgn");
  EXPECT_EQ(window->mask(), outline);
  EXPECT_FALSE(outline.contains(QPoint(0, 0)));  // a shaped corner
  EXPECT_TRUE(outline.contains(QPoint(252, 190)));

  // What the window draws is the skin's background where no other control lies.
  const QImage shown = window->grab().toImage();
  const QImage background(QString::fromStdString(rig.dir.path("skin/Default/main.bmp")));
  ASSERT_FALSE(background.isNull());
  EXPECT_EQ(shown.size(), background.size());
  for (QPoint p : {QPoint(250, 10), QPoint(100, 340), QPoint(500, 200)})
    EXPECT_EQ(shown.pixel(p), background.pixel(p)) << p.x() << "," << p.y();

  // Every spot lies on a drawn button: the background is not the plain body colour there.
  for (const char* spot : {"play", "stop", "open", "opendir", "listbtnon", "vc1", "vc5",
                           "windowsmin", "windowsmax", "exit"}) {
    const Control& c = form->ctl(spot);
    const QPoint inside(c.left + c.width / 2, c.top + c.height * 3 / 4);
    EXPECT_NE(background.pixel(inside), background.pixel(c.left + c.width / 2, c.top - 2)) << spot;
  }

  dispatch(*form, [&] { form->listbtnonClick(); });
  window->syncFromModel();
  EXPECT_EQ(window->mask(), regionOf("rgn2.rgn"));
  EXPECT_EQ(window->width(), 675);
}

TEST(SkinPicturesTest, ReadsBmpPngAndIconsAndRefusesTheRest) {
  qtApp();
  TempProgramDir dir;
  QImage image(7, 5, QImage::Format_RGB32);
  image.fill(Qt::red);
  for (const char* format : {"bmp", "png", "ico"}) {
    SCOPED_TRACE(format);
    const std::string path = dir.path(std::string("p.") + format);
    ASSERT_TRUE(image.save(QString::fromStdString(path), format));
    const auto size =
        ui::SkinPictures::instance().load(path, format[0] == 'b'   ? PictureFormat::Bmp
                                                : format[0] == 'p' ? PictureFormat::Png
                                                                   : PictureFormat::Ico);
    EXPECT_EQ(size.width, 7);
    EXPECT_EQ(size.height, 5);
  }
  // A bitmap header that promises 20000 x 20000 pixels (refused, never allocated), and a text
  // named like a bitmap.
  std::string huge = "BM" + std::string(12, '\0');
  huge[10] = 54;  // where the pixels would start
  std::string info(40, '\0');
  auto put = [&info](int at, uint32_t v) {
    for (int i = 0; i < 4; ++i) info[at + i] = static_cast<char>(v >> (8 * i));
  };
  put(0, 40);
  put(4, 20000);
  put(8, 20000);
  info[12] = 1;
  info[14] = 24;
  dir.write("huge.bmp", huge + info);
  dir.write("text.bmp", "just text");
  for (const auto& [file, says] : {std::pair{"huge.bmp", "huge.bmp"},
                                   {"text.bmp", "cannot be read"},
                                   {"missing.bmp", "missing"}}) {
    SCOPED_TRACE(file);
    try {
      ui::SkinPictures::instance().load(dir.path(file), PictureFormat::Bmp);
      ADD_FAILURE() << "accepted";
    } catch (const AppError& e) {
      EXPECT_NE(std::string(e.what()).find(says), std::string::npos) << e.what();
    }
  }
}

}  // namespace
}  // namespace rv::test
