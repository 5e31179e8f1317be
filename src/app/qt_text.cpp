#include "app/qt_text.h"

#include <QString>
#include <string>

#include "text/encoding.h"

namespace quorvane {

QString ToQString(const Text& text) {
  const std::string utf8 = GbkToUtf8(text.view());
  return QString::fromUtf8(utf8.data(), static_cast<qsizetype>(utf8.size()));
}

Text ToText(const QString& string) {
  const QByteArray utf8 = string.toUtf8();
  return Utf8ToGbk(Bytes(utf8.constData(), static_cast<size_t>(utf8.size())));
}

QString ToQStringLines(const Text& text) {
  QString string = ToQString(text);
  // CR LF first, so that its CR is not taken for a line break of its own.
  string.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
  string.replace(QLatin1Char('\r'), QLatin1Char('\n'));
  return string;
}

Text ToTextLines(const QString& string) {
  QString withCrLf = string;
  withCrLf.replace(QLatin1Char('\n'), QStringLiteral("\r\n"));
  return ToText(withCrLf);
}

QString Caption(std::string_view utf8) {
  return QString::fromUtf8(utf8.data(), static_cast<qsizetype>(utf8.size()));
}

}  // namespace quorvane
