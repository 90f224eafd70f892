// MP3 through libmpg123 in feed mode: bytes go in as they come, whole frames come out, and the
// bit reservoir carries across stream blocks. Every rate of MPEG 1, 2 and 2.5 is accepted.
#include <mpg123.h>

#include <mutex>

#include "swf/sound/packet_decoder.h"

namespace swf::sound {
namespace {

// The library keeps no more than this of what we fed and did not read; fed in slices so a lying
// frame header cannot make it hold the whole movie.
constexpr size_t kFeedSlice = 16384;

class Mp3Decoder : public PacketDecoder {
 public:
  explicit Mp3Decoder(const SoundFormat& f) : PacketDecoder(f) { open(); }
  ~Mp3Decoder() override { close(); }

  void reset() override {
    close();
    open();
  }

  void decode(std::span<const uint8_t> p, std::vector<int16_t>& out) override {
    if (!mh_) return;
    while (!p.empty()) {
      size_t n = std::min(p.size(), kFeedSlice);
      if (mpg123_feed(mh_, p.data(), n) != MPG123_OK) return;
      p = p.subspan(n);
      drain(out);
    }
  }

 private:
  void open() {
    static std::once_flag once;
    std::call_once(once, [] { mpg123_init(); });
    int err = 0;
    mh_ = mpg123_new(nullptr, &err);
    if (!mh_) return;
    mpg123_param(mh_, MPG123_ADD_FLAGS, MPG123_QUIET, 0);
    // Samples stay at the stream's own rate and channel count; we convert later.
    mpg123_format_none(mh_);
    const long* rates = nullptr;
    size_t count = 0;
    mpg123_rates(&rates, &count);
    for (size_t i = 0; i < count; ++i)
      mpg123_format(mh_, rates[i], MPG123_MONO | MPG123_STEREO, MPG123_ENC_SIGNED_16);
    if (mpg123_open_feed(mh_) != MPG123_OK) close();
  }

  void close() {
    if (mh_) mpg123_delete(mh_);
    mh_ = nullptr;
    from_ = 0;
  }

  void drain(std::vector<int16_t>& out) {
    int16_t buf[4608];
    for (int guard = 0; guard < 100000; ++guard) {
      size_t done = 0;
      int rc = mpg123_read(mh_, buf, sizeof buf, &done);
      if (rc == MPG123_NEW_FORMAT) {
        long rate = 0;
        int ch = 0, enc = 0;
        mpg123_getformat(mh_, &rate, &ch, &enc);
        if (rate > 0) rate_ = double(rate);
        from_ = ch;
      }
      if (done > 0 && from_ > 0)
        appendConverted(buf, done / sizeof(int16_t) / size_t(from_), from_, out);
      if (rc == MPG123_NEED_MORE || rc == MPG123_DONE) return;
      // A hard error leaves the rest of this packet; the next one may resynchronise.
      if (rc != MPG123_OK && rc != MPG123_NEW_FORMAT) return;
    }
  }

  mpg123_handle* mh_ = nullptr;
  int from_ = 0;  // channels of the decoded frames
};

}  // namespace

std::unique_ptr<PacketDecoder> makeMp3Decoder(const SoundFormat& f) {
  return std::make_unique<Mp3Decoder>(f);
}

}  // namespace swf::sound
