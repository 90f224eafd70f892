// Adding a batch of 10,000 movies to a list of 10,000 with "Check homonymy" on.
#include <cstdio>
#include <string>
#include <vector>

#include "bench/playlist_timing.h"
#include "tests/shell/fakes/shell_rig.h"

int main() {
  rv::test::ShellRig rig;
  std::vector<std::string> listed, batch;
  for (int i = 0; i < 10000; ++i)
    listed.push_back("/home/user/movies/old/movie" + std::to_string(i) + ".swf");
  batch.push_back(rig.dir.movie("new/first.swf"));
  for (int i = 1; i < 10000; ++i)
    batch.push_back(rig.dir.path("new/movie" + std::to_string(i) + ".swf"));
  // A hundred of the batch are listed already; the fake dialog answers Yes at once.
  for (int i = 1; i <= 100; ++i) listed[i * 50] = batch[i * 50];

  std::unique_ptr<rv::MainForm> form;
  auto setup = [&] {
    form = rig.form();
    form->autochecksameitem = true;
    form->listItem("autochecksameitem").checked = true;
    form->flashlist.items = listed;
  };
  double ms = rv::bench::medianMs(
      11, [&] { form->addBatch(batch); }, setup);
  std::printf("entries after: %zu, questions: %zu\n", form->flashlist.items.size(),
              rig.dialogs.questions.size() / 11);
  rv::bench::report("batch of 10,000 onto 10,000, Check homonymy on", ms);

  double sorted = rv::bench::medianMs(
      11, [&] { form->addBatch(batch); },
      [&] {
        setup();
        form->listItem("autosort").click();
      });
  rv::bench::report("the same with Sort list on", sorted);
  return 0;
}
