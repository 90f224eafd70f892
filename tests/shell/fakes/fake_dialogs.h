#pragma once
// Dialogs that answer from queues and record what was asked, in order.

#include <deque>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "app/dialogs.h"

namespace rv::test {

class FakeDialogs : public Dialogs {
 public:
  // Everything shown, in order: "message: ...", "information: ...", "question: ...",
  // "input: <title>", "open", "save", "folder: <title>".
  std::vector<std::string> log;
  std::vector<std::string> messages, informations, questions;

  std::deque<bool> answers;  // for question(); when empty, defaultAnswer
  bool defaultAnswer = true;
  // Runs while a question is open, before it is answered (a modal loop keeps the timer going).
  std::function<void(const std::string&)> whileQuestionOpen;

  struct InputRequest {
    std::string title, prompt, initial;
  };
  std::vector<InputRequest> inputRequests;
  std::deque<std::optional<std::string>> inputs;  // when empty: Cancel

  std::vector<FileDialogRequest> openRequests, saveRequests;
  std::deque<std::optional<FileDialogResult>> openResults, saveResults;  // empty: Cancel

  std::vector<std::string> folderTitles;
  std::deque<std::optional<std::string>> folders;  // empty: Cancel

  void message(const std::string& text) override {
    log.push_back("message: " + text);
    messages.push_back(text);
  }
  void information(const std::string& text) override {
    log.push_back("information: " + text);
    informations.push_back(text);
  }
  bool question(const std::string& text) override {
    log.push_back("question: " + text);
    questions.push_back(text);
    if (whileQuestionOpen) whileQuestionOpen(text);
    if (answers.empty()) return defaultAnswer;
    bool a = answers.front();
    answers.pop_front();
    return a;
  }
  std::optional<std::string> inputBox(const std::string& title, const std::string& prompt,
                                      const std::string& initial) override {
    log.push_back("input: " + title);
    inputRequests.push_back({title, prompt, initial});
    return pop(inputs);
  }
  std::optional<FileDialogResult> openFile(const FileDialogRequest& request) override {
    log.push_back("open");
    openRequests.push_back(request);
    return pop(openResults);
  }
  std::optional<FileDialogResult> saveFile(const FileDialogRequest& request) override {
    log.push_back("save");
    saveRequests.push_back(request);
    return pop(saveResults);
  }
  std::optional<std::string> browseFolder(const std::string& title) override {
    log.push_back("folder: " + title);
    folderTitles.push_back(title);
    return pop(folders);
  }

 private:
  template <class T>
  static std::optional<T> pop(std::deque<std::optional<T>>& q) {
    if (q.empty()) return std::nullopt;
    auto v = q.front();
    q.pop_front();
    return v;
  }
};

}  // namespace rv::test
