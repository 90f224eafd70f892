#include "ui/mpris/mpris.h"

#include <unistd.h>

#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusObjectPath>
#include <QFile>
#include <QUrl>
#include <algorithm>
#include <array>
#include <cmath>

#include "app/main_form.h"
#include "swf/player/player.h"
#include "ui/flash_engine_bridge.h"
#include "ui/mpris/mpris_adaptors.h"

namespace rv::ui {
namespace {

constexpr double kDefaultRate = 12.0;
constexpr std::array<int, 5> kPresetLevels{5000, 15000, 30000, 45000, 65535};
const QString kNoTrack = QStringLiteral("/org/mpris/MediaPlayer2/TrackList/NoTrack");
const QString kPlayerInterface = QStringLiteral("org.mpris.MediaPlayer2.Player");

}  // namespace

Mpris::Mpris(MainForm& form, Runner run) : form_(form), run_(std::move(run)) {}
Mpris::~Mpris() = default;

std::unique_ptr<Mpris> Mpris::connectToSessionBus(MainForm& form, Runner run) {
  if (qEnvironmentVariableIsEmpty("DBUS_SESSION_BUS_ADDRESS")) return nullptr;
  QDBusConnection bus = QDBusConnection::sessionBus();
  if (!bus.isConnected()) return nullptr;
  auto mpris = std::make_unique<Mpris>(form, std::move(run));
  mpris->root_ = std::make_unique<MprisRoot>(*mpris);
  new MprisApplicationAdaptor(mpris->root_.get());
  new MprisPlayerAdaptor(mpris->root_.get());
  if (!bus.registerObject(QString::fromLatin1(kObjectPath), mpris->root_.get())) return nullptr;
  // A second player running at once takes an instance name, as the interface allows.
  const QString name = QString::fromLatin1(kServiceName);
  if (!bus.registerService(name) &&
      !bus.registerService(name + QStringLiteral(".instance") + QString::number(getpid()))) {
    bus.unregisterObject(QString::fromLatin1(kObjectPath));
    return nullptr;
  }
  mpris->last_ = mpris->changedProperties();
  return mpris;
}

FlashControl* Mpris::movieControl() const {
  if (!form_.Flash1 || !form_.Flash2) return nullptr;
  FlashControl& c = form_.visibleFlash();
  return c.hasMovie() ? &c : nullptr;
}

double Mpris::frameRate() const {
  const swf::Player* p = playerOf(movieControl());
  const double rate = p && p->loaded() ? p->frameRate() : 0.0;
  return rate > 0.0 ? rate : kDefaultRate;
}

QString Mpris::trackId() const {
  if (!movieControl() || form_.fileindex < 0) return kNoTrack;
  return QStringLiteral("/org/reelvista/track/") + QString::number(form_.fileindex);
}

// ---- properties ------------------------------------------------------------------------------

QString Mpris::playbackStatus() const {
  if (!movieControl()) return QStringLiteral("Stopped");
  return form_.item("playstop").checked ? QStringLiteral("Playing") : QStringLiteral("Paused");
}

QString Mpris::loopStatus() const {
  if (form_.item("flashloop").checked) return QStringLiteral("Track");
  if (form_.item("listloop").checked) return QStringLiteral("Playlist");
  return QStringLiteral("None");
}

void Mpris::setLoopStatus(const QString& status) {
  // Through the menu items, so their rules hold (disabled before the first movie, one loop at
  // a time, the play mode derived again).
  change([&] {
    MenuItem& movie = form_.item("flashloop");
    MenuItem& list = form_.item("listloop");
    if (status == QLatin1String("None")) {
      if (movie.checked) movie.invoke();
      if (list.checked) list.invoke();
    } else if (status == QLatin1String("Track")) {
      if (!movie.checked) movie.invoke();
    } else if (status == QLatin1String("Playlist")) {
      if (!list.checked) list.invoke();
    }
  });
}

QVariantMap Mpris::metadata() const {
  QVariantMap m;
  m.insert(QStringLiteral("mpris:trackid"), QVariant::fromValue(QDBusObjectPath(trackId())));
  FlashControl* c = movieControl();
  if (!c) return m;
  const std::string path = c->movie();
  m.insert(QStringLiteral("xesam:title"), QString::fromStdString(MainForm::displayName(path)));
  m.insert(QStringLiteral("xesam:url"),
           QUrl::fromLocalFile(QFile::decodeName(path.c_str())).toString(QUrl::FullyEncoded));
  const int total = c->totalFrames();
  if (total > 0)
    m.insert(QStringLiteral("mpris:length"),
             static_cast<qlonglong>(std::llround(total / frameRate() * 1e6)));
  return m;
}

double Mpris::volume() const {
  for (int n = 1; n <= 5; ++n) {
    auto it = form_.controls.find("v" + std::to_string(n));
    if (it != form_.controls.end() && it->second.visible)
      return kPresetLevels[static_cast<size_t>(n - 1)] / 65535.0;
  }
  if (form_.services.mixer) return (form_.services.mixer->volume() >> 16) / 65535.0;
  return 1.0;
}

void Mpris::setVolume(double volume) {
  const double level = std::clamp(volume, 0.0, 1.0) * 65535.0;
  int nearest = 1;
  for (int n = 2; n <= 5; ++n)
    if (std::abs(kPresetLevels[static_cast<size_t>(n - 1)] - level) <
        std::abs(kPresetLevels[static_cast<size_t>(nearest - 1)] - level))
      nearest = n;
  change([&] { form_.vcClick(nearest); });
}

qint64 Mpris::position() const {
  FlashControl* c = movieControl();
  if (!c) return 0;
  return static_cast<qint64>(std::llround(c->currentFrame() / frameRate() * 1e6));
}

bool Mpris::canGoNext() const { return form_.item("nextmovie").enabled; }
bool Mpris::canGoPrevious() const { return form_.item("lastmovie").enabled; }
bool Mpris::canPlay() const { return movieControl() && form_.item("playstop").enabled; }
bool Mpris::canSeek() const { return movieControl() != nullptr; }

// ---- methods ---------------------------------------------------------------------------------

void Mpris::raise() {
  if (raiseWindow)
    raiseWindow();
  else if (WindowHost* w = form_.services.window)
    w->show();
}

void Mpris::quit() {
  if (WindowHost* w = form_.services.window) w->close();
}

void Mpris::play() {
  if (movieControl() && !form_.item("playstop").checked)
    change([&] { form_.item("playstop").invoke(); });
}

void Mpris::pause() {
  if (movieControl() && form_.item("playstop").checked)
    change([&] { form_.item("playstop").invoke(); });
}

void Mpris::playPause() {
  if (movieControl()) change([&] { form_.item("playstop").invoke(); });
}

void Mpris::stop() { pause(); }

void Mpris::next() {
  change([&] { form_.item("nextmovie").invoke(); });
}

void Mpris::previous() {
  change([&] { form_.item("lastmovie").invoke(); });
}

void Mpris::goToTime(qint64 positionUs) {
  FlashControl* c = movieControl();
  if (!c || c->totalFrames() <= 0) return;
  const long long frame =
      std::llround(static_cast<double>(std::max<qint64>(0, positionUs)) * frameRate() / 1e6);
  // Only frames inside the movie: the control refuses others, which would unload the movie.
  const int target = static_cast<int>(std::clamp<long long>(frame, 0, c->totalFrames() - 1));
  change([&] {
    c->setFrameNum(target);
    if (form_.flashpaused)
      c->stop();
    else
      c->play();
  });
}

void Mpris::seek(qint64 offsetUs) { goToTime(position() + offsetUs); }

void Mpris::setPosition(const QString& id, qint64 positionUs) {
  if (id != trackId() || positionUs < 0) return;
  goToTime(positionUs);
}

// ---- change notification --------------------------------------------------------------------

void Mpris::change(const std::function<void()>& command) {
  run_(command);
  // What a client's own call changed is announced before its reply, so a client sees every
  // state it caused, in order, however briefly it lasted; other changes wait for the tick.
  poll();
}

QVariantMap Mpris::changedProperties() {
  QVariantMap now;
  now.insert(QStringLiteral("PlaybackStatus"), playbackStatus());
  now.insert(QStringLiteral("LoopStatus"), loopStatus());
  now.insert(QStringLiteral("Metadata"), metadata());
  now.insert(QStringLiteral("Volume"), volume());
  now.insert(QStringLiteral("CanGoNext"), canGoNext());
  now.insert(QStringLiteral("CanGoPrevious"), canGoPrevious());
  now.insert(QStringLiteral("CanPlay"), canPlay());
  now.insert(QStringLiteral("CanPause"), canPlay());
  now.insert(QStringLiteral("CanSeek"), canSeek());
  return now;
}

void Mpris::poll() {
  if (!root_) return;
  QVariantMap now = changedProperties();
  QVariantMap changed;
  for (auto it = now.cbegin(); it != now.cend(); ++it)
    if (last_.value(it.key()) != it.value()) changed.insert(it.key(), it.value());
  last_ = std::move(now);
  if (changed.isEmpty()) return;
  QDBusMessage signal = QDBusMessage::createSignal(
      QString::fromLatin1(kObjectPath), QStringLiteral("org.freedesktop.DBus.Properties"),
      QStringLiteral("PropertiesChanged"));
  signal << kPlayerInterface << changed << QStringList();
  QDBusConnection::sessionBus().send(signal);
}

}  // namespace rv::ui
