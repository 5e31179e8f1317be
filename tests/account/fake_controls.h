// A stand-in for the window that records every control access in order, so a test can assert
// the exact sequence a workflow produced (for instance that a rejection logs before it touches
// the button, and success the other way round).
#pragma once

#include <map>
#include <string>
#include <vector>

#include "controls/controls.h"

namespace quorvane::testing {

class FakeControls : public Controls {
 public:
  // One access, written as "<what> <control> <value>"; texts and bytes as they are.
  std::vector<std::string> calls;
  std::map<EditBox, Text> contents;
  std::string log;

  Text ReadContent(EditBox box) const override {
    auto found = contents.find(box);
    return found == contents.end() ? Text() : found->second;
  }
  void WriteContent(EditBox box, const Text& text) override {
    contents[box] = text;
    calls.push_back("content " + Name(box) + " " + text.str());
  }
  void WriteDisabled(Button button, bool disabled) override {
    calls.push_back("disabled " + Name(button) + (disabled ? " true" : " false"));
  }
  void WriteCaption(Button button, const Text& caption) override {
    calls.push_back("caption " + Name(button) + " " + caption.str());
  }
  void WritePicture(PictureBox box, const Bytes& picture) override {
    calls.push_back("picture " + Name(box) + " " + picture.str());
  }
  void AppendLog(const Text& line) override {
    log += line.str();
    calls.push_back("log " + line.str());
  }

 private:
  static std::string Name(EditBox box) { return "box" + std::to_string(static_cast<int>(box) + 1); }
  static std::string Name(Button button) {
    return "button" + std::to_string(static_cast<int>(button) + 1);
  }
  static std::string Name(PictureBox box) {
    return "picture" + std::to_string(static_cast<int>(box) + 1);
  }
};

}  // namespace quorvane::testing
