#pragma once
// What a script's address names on this machine. Movies play from local files with no network,
// as the original player did without one: relative addresses and file: URLs name files beside
// the loading movie; web addresses (http:, https:) and other schemes name nothing.

#include <string>

namespace swf {

// The file `url` names for the movie at `moviePath`; empty when it names none.
std::string localFileFor(const std::string& moviePath, std::string url);
// The address a movie loaded from `url` reports, asked for by the movie at `baseUrl`
// ("file:///dir/movie.swf"): `url` as written when it is absolute, else beside that movie.
std::string addressRelativeTo(const std::string& baseUrl, const std::string& url);
// The number of a "_levelN" target (any case); -1 for other names.
int levelTargetNumber(const std::string& name);
// Whether `url` is one a desktop would open in a browser or mail program.
bool isWebAddress(const std::string& url);

}  // namespace swf
