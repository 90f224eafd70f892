#pragma once
// What start-up restored, so that the close saves no more than it may. A start-up that ended at
// an error never read the keys of the steps after it: the form holds their defaults, and writing
// those at close would throw away the user's stored values. So after such a start-up the close
// writes a key only when start-up read it, or when this run changed it after start-up ended;
// every other key keeps what the file holds. A start-up that ran to its end restored everything.

#include <set>
#include <string>
#include <utility>
#include <vector>

namespace rv {

// One key the close writes, with the text it writes.
struct SavedSetting {
  std::string section, key, value;
};

class StartUpRecord {
 public:
  void begin();
  void noteRead(const std::string& section, const std::string& key);
  void noteListRead() { listRead_ = true; }
  // Start-up ended at an error; `held` is what the close would write at that moment.
  void endEarly(std::vector<SavedSetting> held);
  void complete() { stage_ = Stage::Complete; }

  // Whether the close may write `setting`, given as the form holds it now.
  bool mayWrite(const SavedSetting& setting) const;
  // Whether the close may rewrite the persisted playlist: only a list that start-up read. One it
  // could not read stays as it is, whatever the list shows since.
  bool mayWriteList() const { return stage_ == Stage::Complete || listRead_; }

 private:
  enum class Stage { NotRun, Running, EndedEarly, Complete } stage_ = Stage::NotRun;
  std::set<std::pair<std::string, std::string>> read_;
  std::vector<SavedSetting> held_;
  bool listRead_ = false;
};

}  // namespace rv
