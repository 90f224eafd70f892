#pragma once
// The framing of a local shared object file (".sol"): a header naming the object, then its
// properties as name + AMF0 value + one zero byte each. The values are the script side's work.

#include <cstdint>
#include <string>

namespace swf {

// The header for object `name` whose properties take `bodyLength` bytes (AMF0 encoding).
std::string solHeader(const std::string& name, uint64_t bodyLength);
// Checks the header of `file`; on success sets `name` and where the properties start.
bool readSolHeader(const std::string& file, std::string& name, size_t& bodyOffset);

}  // namespace swf
