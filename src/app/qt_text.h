// The one border between the program's code-page-936 texts and the toolkit's QString. Every
// text that a control shows or gives back crosses here, so no other file converts.
#pragma once

#include <string_view>

#include "text/text.h"

class QString;

namespace quorvane {

// The text as the toolkit shows it. Bytes that code page 936 does not define show as U+FFFD.
QString ToQString(const Text& text);
// What a control holds, as code-page-936 text. A character code page 936 cannot hold becomes
// "?"; the text ends before the first U+0000, as every Text does.
Text ToText(const QString& string);

// For the multi-line box, whose document knows only line breaks, not the bytes that made
// them: CR LF, a lone CR and a lone LF each become one line break.
QString ToQStringLines(const Text& text);
// The multi-line box's content with every line break given back as CR LF.
Text ToTextLines(const QString& string);

// A caption or label written in the UTF-8 source, for the toolkit.
QString Caption(std::string_view utf8);

}  // namespace quorvane
