// The Qt side of the text edge: core texts are UTF-8, Qt's are UTF-16.
#pragma once

#include <QString>
#include <string>
#include <string_view>

namespace pagolin {

QString ToQ(std::string_view text);      // a broken UTF-8 piece becomes U+FFFD
std::string FromQ(const QString& text);  // a lone surrogate becomes U+FFFD
// An editor's text (lines ending in LF) as a stored text, whose lines end in CR LF.
std::string FromQLines(const QString& text);

// The rich-text model keeps its text in UTF-16, as QString does: copied unit for unit.
QString ToQ(std::u16string_view utf16);
std::u16string FromQUtf16(QStringView text);

}  // namespace pagolin
