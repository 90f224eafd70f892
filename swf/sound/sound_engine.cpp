#include "swf/sound/sound_engine.h"

#include <algorithm>
#include <cctype>
#include <functional>
#include <utility>

#include "swf/movie/raw_character.h"
#include "swf/movie/tag_codes.h"

namespace swf::sound {
namespace {

// Mixed in pieces of this many frames so the scratch buffers stay small.
constexpr size_t kMixChunk = 512;

bool sameText(const std::string& a, const std::string& b) {
  return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
           return std::tolower(static_cast<unsigned char>(x)) ==
                  std::tolower(static_cast<unsigned char>(y));
         });
}

}  // namespace

void SoundEngine::addMovie(std::shared_ptr<const Movie> movie) {
  if (movie && std::find(movies_.begin(), movies_.end(), movie) == movies_.end())
    movies_.push_back(std::move(movie));
}

void SoundEngine::clear() {
  voices_.clear();
  streams_.clear();
  indexes_.clear();
  transforms_.clear();
  clips_.clear();
  finished_.clear();
  started_.clear();
  movies_.clear();
  paused_ = false;
}

namespace {

const RawCharacter* soundIn(const Movie& m, uint16_t id) {
  auto* raw = dynamic_cast<const RawCharacter*>(m.character(id).get());
  return raw && raw->kind() == CharacterKind::Sound && raw->tagCode == tag::DefineSound ? raw
                                                                                        : nullptr;
}

}  // namespace

std::shared_ptr<SoundClip> SoundEngine::clip(uint16_t soundId, const Movie* in) {
  const Movie* from = nullptr;
  const RawCharacter* raw = nullptr;
  for (const auto& m : movies_) {
    if (in && m.get() != in) continue;
    if ((raw = soundIn(*m, soundId))) {
      from = m.get();
      break;
    }
  }
  if (!raw) return nullptr;
  auto& c = clips_[{from, soundId}];
  if (!c) c = std::make_shared<SoundClip>(raw->body, from->data);
  return c;
}

const Movie* SoundEngine::movieHolding(std::span<const uint8_t> bytes) const {
  for (const auto& m : movies_) {
    const auto& d = *m->data;
    std::less<const uint8_t*> before;  // a total order across unrelated buffers
    if (!d.empty() && !before(bytes.data(), d.data()) && before(bytes.data(), d.data() + d.size()))
      return m.get();
  }
  return nullptr;
}

uint16_t SoundEngine::exportedSound(const std::string& name) const {
  for (const auto& m : movies_)
    for (const auto& [exported, id] : m->exports)
      if (sameText(exported, name)) return id;
  return 0;
}

SoundEngine::VoiceId SoundEngine::start(uint16_t soundId, const SoundInfo& info, const void* owner,
                                        double offsetSeconds, const Movie* in) {
  if (info.stop) {
    stopSound(soundId);
    return 0;
  }
  if (info.noMultiple)
    for (const Voice& v : voices_)
      if (v.soundId == soundId) return 0;
  auto c = clip(soundId, in);
  if (!c) return 0;
  if (started_.size() < 256 &&
      std::find(started_.begin(), started_.end(), soundId) == started_.end())
    started_.push_back(soundId);
  return add(soundId, std::move(c), info, owner, offsetSeconds);
}

SoundEngine::VoiceId SoundEngine::start(std::shared_ptr<SoundClip> clip, const SoundInfo& info,
                                        const void* owner, double offsetSeconds) {
  return clip ? add(0, std::move(clip), info, owner, offsetSeconds) : 0;
}

SoundEngine::VoiceId SoundEngine::add(uint16_t soundId, std::shared_ptr<SoundClip> clip,
                                      const SoundInfo& info, const void* owner,
                                      double offsetSeconds) {
  if (voices_.size() >= kMaxVoices) voices_.erase(voices_.begin());
  VoiceId id = nextId_++;
  voices_.push_back(
      {id, soundId, owner,
       std::make_unique<EventVoice>(std::move(clip), info, kOutputRate, offsetSeconds)});
  return id;
}

void SoundEngine::startTag(int code, std::span<const uint8_t> body, const void* owner) {
  auto t = readStartSound(code, body);
  if (!t) return;
  uint16_t id = code == tag::StartSound2 ? exportedSound(t->className) : t->soundId;
  // The sound of the movie the tag is in: movies loaded into levels reuse ids.
  if (id) start(id, t->info, owner, 0, movieHolding(body));
}

void SoundEngine::stopVoice(VoiceId v) {
  std::erase_if(voices_, [v](const Voice& x) { return x.id == v; });
}

void SoundEngine::stopSound(uint16_t soundId) {
  std::erase_if(voices_, [soundId](const Voice& x) { return x.soundId == soundId; });
}

void SoundEngine::stopSound(uint16_t soundId, const void* owner) {
  std::erase_if(voices_, [&](const Voice& x) { return x.soundId == soundId && x.owner == owner; });
}

void SoundEngine::stopOwner(const void* owner) {
  std::erase_if(voices_, [owner](const Voice& x) { return x.owner == owner; });
}

void SoundEngine::stopAll() {
  voices_.clear();
  for (auto& [_, s] : streams_) s.clear();
}

bool SoundEngine::isPlaying(VoiceId v) const {
  return std::any_of(voices_.begin(), voices_.end(), [v](const Voice& x) { return x.id == v; });
}

double SoundEngine::positionSeconds(VoiceId v) const {
  for (const Voice& x : voices_)
    if (x.id == v) return x.voice->positionSeconds();
  return 0;
}

double SoundEngine::durationSeconds(uint16_t soundId) {
  auto c = clip(soundId);
  return c ? c->durationSeconds() : 0;
}

std::vector<SoundEngine::VoiceId> SoundEngine::takeFinished() {
  return std::exchange(finished_, {});
}

bool SoundEngine::takeFinished(VoiceId v) {
  auto it = std::find(finished_.begin(), finished_.end(), v);
  if (it == finished_.end()) return false;
  finished_.erase(it);
  return true;
}

void SoundEngine::setTransform(const void* owner, const SoundTransform& t) {
  transforms_[owner] = t;
}

SoundTransform SoundEngine::transform(const void* owner) const {
  auto it = transforms_.find(owner);
  return it == transforms_.end() ? SoundTransform{} : it->second;
}

void SoundEngine::ownerGone(const void* owner) {
  if (!owner) return;
  streams_.erase(owner);
  transforms_.erase(owner);
  for (Voice& v : voices_)
    if (v.owner == owner) v.owner = nullptr;
}

ChannelMatrix SoundEngine::gainFor(const void* owner) const {
  ChannelMatrix global = ChannelMatrix::of(transform(nullptr));
  if (!owner) return global;
  auto it = transforms_.find(owner);
  return it == transforms_.end() ? global : ChannelMatrix::of(it->second).then(global);
}

const StreamIndex& SoundEngine::indexFor(const Timeline& tl) {
  auto it = indexes_.find(&tl);
  if (it == indexes_.end()) it = indexes_.emplace(&tl, indexStream(tl)).first;
  return it->second;
}

void SoundEngine::streamFrame(const void* timeline, const Timeline& tl, int frame,
                              bool continuous) {
  const StreamIndex& idx = indexFor(tl);
  if (!idx.any()) return;
  auto it = streams_.find(timeline);
  if (it == streams_.end()) it = streams_.try_emplace(timeline, double(kOutputRate)).first;
  it->second.enterFrame(idx, frame, continuous);
}

void SoundEngine::streamPlaying(const void* timeline, bool on) {
  auto it = streams_.find(timeline);
  if (it != streams_.end()) it->second.setPlaying(on);
}

bool SoundEngine::streamActive(const void* timeline) const {
  auto it = streams_.find(timeline);
  return it != streams_.end() && it->second.active() && it->second.playing();
}

double SoundEngine::streamOutputLeft(const void* timeline) const {
  auto it = streams_.find(timeline);
  return it == streams_.end() ? 0 : it->second.outputLeft();
}

void SoundEngine::mix(float* out, size_t frames) {
  std::fill(out, out + frames * 2, 0.0f);
  if (paused_) return;
  for (size_t done = 0; done < frames; done += kMixChunk) {
    size_t n = std::min(kMixChunk, frames - done);
    float* o = out + done * 2;
    for (auto& [owner, s] : streams_) {
      ChannelMatrix g = gainFor(owner);
      s.mixInto(o, n, g.ll, g.lr, g.rl, g.rr);
    }
    for (Voice& v : voices_) {
      ChannelMatrix g = gainFor(v.owner);
      if (!v.voice->mixInto(o, n, g.ll, g.lr, g.rl, g.rr)) {
        if (finished_.size() >= kMaxFinished) finished_.erase(finished_.begin());
        finished_.push_back(v.id);
      }
    }
    std::erase_if(voices_, [](const Voice& v) { return v.voice->finished(); });
  }
}

}  // namespace swf::sound
