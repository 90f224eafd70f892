#pragma once
// The two MPRIS interfaces as Qt D-Bus adaptors over one object; each call goes to Mpris.

#include <QDBusAbstractAdaptor>
#include <QDBusObjectPath>
#include <QStringList>
#include <QVariantMap>

namespace rv::ui {

class Mpris;

class MprisRoot : public QObject {
  Q_OBJECT
 public:
  explicit MprisRoot(Mpris& mpris) : mpris(mpris) {}
  Mpris& mpris;
};

class MprisApplicationAdaptor : public QDBusAbstractAdaptor {
  Q_OBJECT
  Q_CLASSINFO("D-Bus Interface", "org.mpris.MediaPlayer2")
  Q_PROPERTY(bool CanQuit READ canQuit)
  Q_PROPERTY(bool CanRaise READ canRaise)
  Q_PROPERTY(bool HasTrackList READ hasTrackList)
  Q_PROPERTY(QString Identity READ identity)
  Q_PROPERTY(QString DesktopEntry READ desktopEntry)
  Q_PROPERTY(QStringList SupportedUriSchemes READ supportedUriSchemes)
  Q_PROPERTY(QStringList SupportedMimeTypes READ supportedMimeTypes)

 public:
  explicit MprisApplicationAdaptor(MprisRoot* root);
  bool canQuit() const { return true; }
  bool canRaise() const { return true; }
  bool hasTrackList() const { return false; }
  QString identity() const { return QStringLiteral("Reelvista"); }
  QString desktopEntry() const { return QStringLiteral("reelvista"); }
  QStringList supportedUriSchemes() const { return {QStringLiteral("file")}; }
  QStringList supportedMimeTypes() const {
    return {QStringLiteral("application/x-shockwave-flash"),
            QStringLiteral("application/vnd.adobe.flash.movie")};
  }

 public Q_SLOTS:
  void Raise();
  void Quit();

 private:
  Mpris& mpris_;
};

class MprisPlayerAdaptor : public QDBusAbstractAdaptor {
  Q_OBJECT
  Q_CLASSINFO("D-Bus Interface", "org.mpris.MediaPlayer2.Player")
  Q_PROPERTY(QString PlaybackStatus READ playbackStatus)
  Q_PROPERTY(QString LoopStatus READ loopStatus WRITE setLoopStatus)
  Q_PROPERTY(double Rate READ rate WRITE setRate)
  Q_PROPERTY(QVariantMap Metadata READ metadata)
  Q_PROPERTY(double Volume READ volume WRITE setVolume)
  Q_PROPERTY(qlonglong Position READ position)
  Q_PROPERTY(double MinimumRate READ rate)
  Q_PROPERTY(double MaximumRate READ rate)
  Q_PROPERTY(bool CanGoNext READ canGoNext)
  Q_PROPERTY(bool CanGoPrevious READ canGoPrevious)
  Q_PROPERTY(bool CanPlay READ canPlay)
  Q_PROPERTY(bool CanPause READ canPlay)
  Q_PROPERTY(bool CanSeek READ canSeek)
  Q_PROPERTY(bool CanControl READ canControl)

 public:
  explicit MprisPlayerAdaptor(MprisRoot* root);
  QString playbackStatus() const;
  QString loopStatus() const;
  void setLoopStatus(const QString& status);
  double rate() const { return 1.0; }
  void setRate(double) {}  // movies play at their own rate only
  QVariantMap metadata() const;
  double volume() const;
  void setVolume(double volume);
  qlonglong position() const;
  bool canGoNext() const;
  bool canGoPrevious() const;
  bool canPlay() const;
  bool canSeek() const;
  bool canControl() const { return true; }

 public Q_SLOTS:
  void Next();
  void Previous();
  void Pause();
  void PlayPause();
  void Stop();
  void Play();
  void Seek(qlonglong offset);
  void SetPosition(const QDBusObjectPath& trackId, qlonglong position);
  void OpenUri(const QString& uri);

 Q_SIGNALS:
  void Seeked(qlonglong position);

 private:
  Mpris& mpris_;
};

}  // namespace rv::ui
