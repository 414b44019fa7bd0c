// The Qt side of the code-page edge: core texts are Windows-1252 byte strings.
#pragma once

#include <QString>
#include <string>
#include <string_view>

namespace pagolin {

QString ToQ(std::string_view ansi);
std::string FromQ(const QString& text);  // characters outside Windows-1252 become "?"
// An editor's text (lines ending in LF) as a stored text, whose lines end in CR LF.
std::string FromQLines(const QString& text);

// The rich-text model keeps its text in UTF-16, as QString does: copied unit for unit.
QString ToQ(std::u16string_view utf16);
std::u16string FromQUtf16(QStringView text);

}  // namespace pagolin
