// A stand-in for the window's controls. The edit boxes hold whatever the test puts there
// (bytes no line edit would take from the keyboard included), the log is appended to 编辑框1
// as the window's log box does, and every write is recorded in order, so a test can assert
// the exact sequence a workflow produced (for instance that a rejection logs before it touches
// the button, and success the other way round).
#pragma once

#include <map>
#include <string>
#include <vector>

#include "controls/controls.h"

namespace quorvane::test_support {

class FakeControls : public Controls {
 public:
  struct PictureWrite {
    PictureBox box;
    Bytes picture;
  };

  // One write, as "<what> <control> <value>" with texts and bytes as they are: "content box4 ",
  // "disabled button1 true", "caption button1 …", "picture picture2 …", "log …".
  std::vector<std::string> calls;
  std::map<EditBox, Text> contents;
  std::vector<PictureWrite> pictures;

  Text ReadContent(EditBox box) const override;
  void WriteContent(EditBox box, const Text& text) override;
  void WriteDisabled(Button button, bool disabled) override;
  void WriteCaption(Button button, const Text& caption) override;
  void WritePicture(PictureBox box, const Bytes& picture) override;
  void AppendLog(const Text& line) override;
};

}  // namespace quorvane::test_support
