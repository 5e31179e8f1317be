// A stand-in for MainWindow's controls: 编辑框2 holds whatever the test puts there (including
// bytes no line edit would accept from the keyboard) and the log and pictures are recorded.
#pragma once

#include <map>
#include <vector>

#include "controls/controls.h"

namespace quorvane::query_test {

class FakeControls : public Controls {
 public:
  Text ReadContent(EditBox box) const override {
    auto found = contents.find(box);
    return found == contents.end() ? Text() : found->second;
  }
  void WriteContent(EditBox box, const Text& text) override { contents[box] = text; }
  void WriteDisabled(Button, bool) override {}
  void WriteCaption(Button, const Text&) override {}
  void WritePicture(PictureBox box, const Bytes& picture) override {
    pictures.push_back({box, picture});
  }
  void AppendLog(const Text& line) override {
    contents[EditBox::编辑框1] = ReadContent(EditBox::编辑框1) + line;
  }

  struct PictureWrite {
    PictureBox box;
    Bytes picture;
  };
  std::map<EditBox, Text> contents;
  std::vector<PictureWrite> pictures;
};

}  // namespace quorvane::query_test
