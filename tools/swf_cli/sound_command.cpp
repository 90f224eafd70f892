#include <vector>

#include "commands.h"
#include "option_parsing.h"
#include "swf/player/player.h"
#include "swf/sound/sound_engine.h"
#include "swf/sound/wav_file.h"

namespace rvswf {

int soundCommand(const std::vector<std::string>& args) {
  std::string file, out;
  int frames = 10;
  for (size_t i = 0; i < args.size(); ++i) {
    const std::string& a = args[i];
    auto value = [&]() -> const std::string& {
      if (i + 1 >= args.size()) throw UsageError(a + " needs a value");
      return args[++i];
    };
    if (a == "-o")
      out = value();
    else if (a == "--frames")
      frames = parsePositive(value(), "frame count", 1000000);
    else if (file.empty() && (a.empty() || a[0] != '-'))
      file = a;
    else
      throw UsageError("unexpected argument '" + a + "'");
  }
  if (file.empty() || out.empty()) throw UsageError("sound needs FILE and -o OUT.wav");
  std::vector<int16_t> samples;
  swf::Player player;
  player.onAudio = [&](const float* stereo, size_t n) {
    swf::sound::appendPcm16({stereo, n * 2}, samples);
  };
  player.load(loadNamed(file), file);
  // The first frame's interval and `frames` more.
  for (int i = 0; i <= frames; ++i) player.advance(1000.0 / player.frameRate());
  swf::sound::writeWavFile(out, samples, swf::sound::kOutputRate, 2);
  return 0;
}

}  // namespace rvswf
