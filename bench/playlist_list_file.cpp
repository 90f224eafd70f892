// A list of 100,000 entries: reading its list file, the persisted playlist, checklistwidth.
//   bench_playlist_list_file [ENTRIES [RUNS]]   (100,000 entries, 11 runs each by default)
// Ends with the process's peak resident memory, which the largest lists are measured for.
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>
#include <vector>

#include "bench/playlist_timing.h"
#include "playlist/list_file.h"
#include "tests/shell/fakes/shell_rig.h"

namespace {

long peakRssKb() {
  std::ifstream status("/proc/self/status");
  for (std::string line; std::getline(status, line);)
    if (line.rfind("VmHWM:", 0) == 0) return std::atol(line.c_str() + 6);
  std::printf("peak resident memory %ld kB\n", peakRssKb());
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  const int count = argc > 1 ? std::atoi(argv[1]) : 100000;
  const int runs = argc > 2 ? std::atoi(argv[2]) : 11;
  rv::test::ShellRig rig;
  std::vector<std::string> entries;
  for (int i = 0; i < count; ++i)
    entries.push_back("/home/user/Movies/collection " + std::to_string(i % 97) + "/movie number " +
                      std::to_string(i) + ".swf");
  rig.dir.write("big.flt", rv::formatListFile(rv::PlayModeWord::Default, entries));
  rig.dir.write("config/listfile.flt", rv::formatListFile(std::nullopt, entries));
  entries = {};
  std::printf("%d entries, medians of %d runs\n", count, runs);

  std::unique_ptr<rv::MainForm> form;
  auto fresh = [&] { form = rig.form(); };
  rv::bench::report("openflt", rv::bench::medianMs(
                                   runs, [&] { form->openflt(rig.dir.path("big.flt")); }, fresh));
  rv::bench::report("openflt, Sort list on",
                    rv::bench::medianMs(
                        runs, [&] { form->openflt(rig.dir.path("big.flt")); },
                        [&] {
                          fresh();
                          form->setListSorted(true);
                        }));
  rv::bench::report("persisted playlist read", rv::bench::medianMs(
                                                   runs, [&] { rv::readListFile(*form); }, fresh));
  rv::bench::report("persisted playlist write",
                    rv::bench::medianMs(runs, [&] { rv::writeListFile(*form); }));
  form->flashlist.width = 145;
  // The shell rig measures 6 pixels a byte; the program measures with the list's real font.
  rv::bench::report("checklistwidth", rv::bench::medianMs(runs, [&] { form->checklistwidth(); }));
  rv::bench::report("read + checklistwidth (the start-up's share)", rv::bench::medianMs(
                                                                        runs,
                                                                        [&] {
                                                                          rv::readListFile(*form);
                                                                          form->checklistwidth();
                                                                        },
                                                                        fresh));
  std::printf("peak resident memory %ld kB\n", peakRssKb());
  return 0;
}
