#include "app/start_up_record.h"

namespace rv {

void StartUpRecord::begin() {
  *this = StartUpRecord{};
  stage_ = Stage::Running;
}

void StartUpRecord::noteRead(const std::string& section, const std::string& key) {
  read_.emplace(section, key);
}

void StartUpRecord::endEarly(std::vector<SavedSetting> held) {
  stage_ = Stage::EndedEarly;
  held_ = std::move(held);
}

bool StartUpRecord::mayWrite(const SavedSetting& setting) const {
  if (stage_ == Stage::Complete) return true;
  if (stage_ != Stage::EndedEarly) return false;
  if (read_.count({setting.section, setting.key})) return true;
  // Keys the form did not hold when start-up ended (the tool bar's place, which the tool bar
  // read itself; the open dialog's directory) are written whenever they have a value.
  for (const SavedSetting& before : held_)
    if (before.section == setting.section && before.key == setting.key)
      return before.value != setting.value;
  return true;
}

}  // namespace rv
