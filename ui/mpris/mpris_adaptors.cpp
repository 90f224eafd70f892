#include "ui/mpris/mpris_adaptors.h"

#include "ui/mpris/mpris.h"

namespace rv::ui {

MprisApplicationAdaptor::MprisApplicationAdaptor(MprisRoot* root)
    : QDBusAbstractAdaptor(root), mpris_(root->mpris) {}

void MprisApplicationAdaptor::Raise() { mpris_.raise(); }
void MprisApplicationAdaptor::Quit() { mpris_.quit(); }

MprisPlayerAdaptor::MprisPlayerAdaptor(MprisRoot* root)
    : QDBusAbstractAdaptor(root), mpris_(root->mpris) {
  setAutoRelaySignals(false);
}

QString MprisPlayerAdaptor::playbackStatus() const { return mpris_.playbackStatus(); }
QString MprisPlayerAdaptor::loopStatus() const { return mpris_.loopStatus(); }
void MprisPlayerAdaptor::setLoopStatus(const QString& status) { mpris_.setLoopStatus(status); }
QVariantMap MprisPlayerAdaptor::metadata() const { return mpris_.metadata(); }
double MprisPlayerAdaptor::volume() const { return mpris_.volume(); }
void MprisPlayerAdaptor::setVolume(double volume) { mpris_.setVolume(volume); }
qlonglong MprisPlayerAdaptor::position() const { return mpris_.position(); }
bool MprisPlayerAdaptor::canGoNext() const { return mpris_.canGoNext(); }
bool MprisPlayerAdaptor::canGoPrevious() const { return mpris_.canGoPrevious(); }
bool MprisPlayerAdaptor::canPlay() const { return mpris_.canPlay(); }
bool MprisPlayerAdaptor::canSeek() const { return mpris_.canSeek(); }

void MprisPlayerAdaptor::Next() { mpris_.next(); }
void MprisPlayerAdaptor::Previous() { mpris_.previous(); }
void MprisPlayerAdaptor::Pause() { mpris_.pause(); }
void MprisPlayerAdaptor::PlayPause() { mpris_.playPause(); }
void MprisPlayerAdaptor::Stop() { mpris_.stop(); }
void MprisPlayerAdaptor::Play() { mpris_.play(); }

void MprisPlayerAdaptor::Seek(qlonglong offset) {
  mpris_.seek(offset);
  emit Seeked(mpris_.position());
}

void MprisPlayerAdaptor::SetPosition(const QDBusObjectPath& trackId, qlonglong position) {
  mpris_.setPosition(trackId.path(), position);
  emit Seeked(mpris_.position());
}

void MprisPlayerAdaptor::OpenUri(const QString&) {
  // Movies reach the playlist through the player's own commands only.
}

}  // namespace rv::ui
