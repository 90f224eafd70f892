#pragma once
// Projectors: a player program with one movie appended, followed by an 8-byte trailer (the
// magic number 0xFA123456 and the movie's length, both 32-bit little-endian).

#include <cstdint>
#include <string>

namespace rv {

class MainForm;

inline constexpr uint32_t kProjectorMagic = 0xFA123456;

enum class ProjectorResult {
  Written,       // the movie is in the target file
  Missing,       // no file at the projector's path
  NotProjector,  // no trailer, or a length that does not fit the file
};

// Writes the movie held by the projector `exe` to `target`, replacing what was there, in
// chunks. The target is written whole or not at all. Read and write failures raise AppError.
ProjectorResult extractProjectorMovie(const std::string& exe, const std::string& target);

// Extracts a projector's movie beside it (same name, ".swf") and adds it to the list through the
// same-path check; the extracted path, or empty when nothing was extracted.
std::string addFromProjector(MainForm& form, const std::string& exe);

}  // namespace rv
