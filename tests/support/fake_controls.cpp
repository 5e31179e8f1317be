#include "support/fake_controls.h"

namespace quorvane::test_support {
namespace {

std::string Name(EditBox box) { return "box" + std::to_string(static_cast<int>(box) + 1); }
std::string Name(Button button) { return "button" + std::to_string(static_cast<int>(button) + 1); }
std::string Name(PictureBox box) { return "picture" + std::to_string(static_cast<int>(box) + 1); }

}  // namespace

Text FakeControls::ReadContent(EditBox box) const {
  auto found = contents.find(box);
  return found == contents.end() ? Text() : found->second;
}

void FakeControls::WriteContent(EditBox box, const Text& text) {
  contents[box] = text;
  calls.push_back("content " + Name(box) + " " + text.str());
}

void FakeControls::WriteDisabled(Button button, bool disabled) {
  calls.push_back("disabled " + Name(button) + (disabled ? " true" : " false"));
}

void FakeControls::WriteCaption(Button button, const Text& caption) {
  calls.push_back("caption " + Name(button) + " " + caption.str());
}

void FakeControls::WritePicture(PictureBox box, const Bytes& picture) {
  pictures.push_back({box, picture});
  calls.push_back("picture " + Name(box) + " " + picture.str());
}

void FakeControls::AppendLog(const Text& line) {
  contents[EditBox::编辑框1] = ReadContent(EditBox::编辑框1) + line;
  calls.push_back("log " + line.str());
}

}  // namespace quorvane::test_support
