#pragma once
// The desktop's media-player interface (MPRIS 2 on the D-Bus session bus): media keys and "now
// playing" widgets drive the player through the same menu commands as the user, and see its
// state. Every property is read from the model when asked. Changes are announced by comparing
// with what was last announced: after each command a client sends, and once per tick for the
// changes the player makes by itself (several within one tick coalesce, as MPRIS allows).

#include <QObject>
#include <QString>
#include <QVariantMap>
#include <functional>
#include <memory>
#include <optional>

#include "ui/runner.h"

namespace rv {
class MainForm;
class FlashControl;
}  // namespace rv

namespace rv::ui {

class MprisRoot;

class Mpris {
 public:
  static constexpr const char* kServiceName = "org.mpris.MediaPlayer2.reelvista";
  static constexpr const char* kObjectPath = "/org/mpris/MediaPlayer2";

  Mpris(MainForm& form, Runner run);
  ~Mpris();

  // Null when there is no session bus (or the name cannot be had): the player runs without it,
  // silently.
  static std::unique_ptr<Mpris> connectToSessionBus(MainForm& form, Runner run);

  // Brings the main window to the front (Raise); without it Raise only shows the window.
  std::function<void()> raiseWindow;

  // Sends PropertiesChanged for whatever changed since the last poll.
  void poll();

  // ---- org.mpris.MediaPlayer2 -----------------------------------------------------------
  void raise();
  void quit();

  // ---- org.mpris.MediaPlayer2.Player ----------------------------------------------------
  QString playbackStatus() const;  // Playing, Paused, Stopped
  QString loopStatus() const;      // None, Track, Playlist
  void setLoopStatus(const QString& status);
  QVariantMap metadata() const;
  double volume() const;
  void setVolume(double volume);
  qint64 position() const;  // microseconds
  bool canGoNext() const;
  bool canGoPrevious() const;
  bool canPlay() const;
  bool canSeek() const;

  void play();
  void pause();
  void playPause();
  void stop();
  void next();
  void previous();
  void seek(qint64 offsetUs);
  void setPosition(const QString& trackId, qint64 positionUs);

  // The frame rate the movie's clock runs at (12 when the control cannot say).
  double frameRate() const;
  QString trackId() const;

 private:
  FlashControl* movieControl() const;                 // the control that holds the movie, or null
  void change(const std::function<void()>& command);  // runs a client's command, then polls
  void goToTime(qint64 positionUs);
  QVariantMap changedProperties();

  MainForm& form_;
  Runner run_;
  std::unique_ptr<MprisRoot> root_;
  QVariantMap last_;
};

}  // namespace rv::ui
