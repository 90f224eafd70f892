#pragma once
// The heart of the same-path check: a path already listed is added again only when "Check
// homonymy" is off or the user says Yes.

#include <string>

#include "app/main_form.h"

namespace rv {

bool admitEntry(MainForm& form, const std::string& path, bool alreadyListed);

}  // namespace rv
