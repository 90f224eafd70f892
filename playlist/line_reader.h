#pragma once
// Reads a file line by line without a length limit. A line ends at LF; every CR is dropped
// (the CR of CR LF, and a lone CR).

#include <string>

namespace rv {

class LineReader {
 public:
  explicit LineReader(const std::string& path);  // AppError when it cannot be opened
  ~LineReader();
  LineReader(const LineReader&) = delete;
  LineReader& operator=(const LineReader&) = delete;

  // The next line into `line`; false at the end of the file (then `line` is empty).
  bool next(std::string& line);

 private:
  bool fill();
  std::string path_;
  int fd_ = -1;
  std::string buf_;
  size_t pos_ = 0, end_ = 0;
  bool eof_ = false;
};

}  // namespace rv
