#pragma once
// Starts a movie the fuzzer has just written in a player with a short script time limit, so one
// looping input costs milliseconds, not the player's default seconds.

#include <string>

#include "swf/author/swf_writer.h"
#include "swf/movie/movie.h"
#include "swf/player/player.h"

namespace rv::fuzz {

inline bool startMovie(swf::Player& player, swf::author::SwfWriter& movie,
                       const std::string& path) {
  std::shared_ptr<const swf::Movie> loaded;
  try {
    loaded = swf::loadMovieFromMemory(movie.finish());
  } catch (const swf::LoadError&) {
    return false;
  }
  player.setScriptTimeLimit(50);
  player.load(loaded, path);
  return true;
}

}  // namespace rv::fuzz
