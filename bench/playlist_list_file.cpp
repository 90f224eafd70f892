// A list of 100,000 entries: reading its list file, the persisted playlist, checklistwidth.
#include <cstdio>
#include <string>
#include <vector>

#include "bench/playlist_timing.h"
#include "playlist/list_file.h"
#include "tests/shell/fakes/shell_rig.h"

int main() {
  rv::test::ShellRig rig;
  std::vector<std::string> entries;
  for (int i = 0; i < 100000; ++i)
    entries.push_back("/home/user/Movies/collection " + std::to_string(i % 97) + "/movie number " +
                      std::to_string(i) + ".swf");
  rig.dir.write("big.flt", rv::formatListFile(rv::PlayModeWord::Default, entries));
  rig.dir.write("config/listfile.flt", rv::formatListFile(std::nullopt, entries));

  std::unique_ptr<rv::MainForm> form;
  auto fresh = [&] { form = rig.form(); };
  rv::bench::report("openflt, 100,000 entries",
                    rv::bench::medianMs(
                        11, [&] { form->openflt(rig.dir.path("big.flt")); }, fresh));
  rv::bench::report("openflt, 100,000 entries, Sort list on",
                    rv::bench::medianMs(
                        11, [&] { form->openflt(rig.dir.path("big.flt")); },
                        [&] {
                          fresh();
                          form->setListSorted(true);
                        }));
  rv::bench::report("persisted playlist read, 100,000 entries",
                    rv::bench::medianMs(
                        11, [&] { rv::readListFile(*form); }, fresh));
  rv::bench::report("persisted playlist write, 100,000 entries",
                    rv::bench::medianMs(11, [&] { rv::writeListFile(*form); }));
  form->flashlist.width = 145;
  // The shell rig measures 6 pixels a byte; the program measures with the list's real font.
  rv::bench::report("checklistwidth, 100,000 entries",
                    rv::bench::medianMs(11, [&] { form->checklistwidth(); }));
  rv::bench::report("read + checklistwidth (the start-up's share)", rv::bench::medianMs(
                                                                        11,
                                                                        [&] {
                                                                          rv::readListFile(*form);
                                                                          form->checklistwidth();
                                                                        },
                                                                        fresh));
  return 0;
}
