#include "gui/widgets/richtextbridge.h"

#include "gui/components/qtext.h"

#include <QHash>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextList>

#include <algorithm>

namespace pagolin {
namespace {

Qt::Alignment ToQt(TParaAlignment alignment) {
  switch (alignment) {
    case TParaAlignment::Center: return Qt::AlignHCenter;
    case TParaAlignment::Right: return Qt::AlignRight;
    default: return Qt::AlignLeft;
  }
}

TParaAlignment FromQt(Qt::Alignment alignment) {
  if (alignment & Qt::AlignHCenter) return TParaAlignment::Center;
  if (alignment & (Qt::AlignRight | Qt::AlignTrailing)) return TParaAlignment::Right;
  return TParaAlignment::Left;
}

QTextCharFormat ToQt(const TRunFormat& f) {
  QTextCharFormat format;
  format.setFontFamilies(QStringList{ToQ(f.Face)});
  format.setFontPointSize(f.Size);
  format.setFontWeight(f.Bold ? QFont::Bold : QFont::Normal);
  format.setFontItalic(f.Italic);
  format.setFontUnderline(f.Underline);
  if (f.Color) format.setForeground(QColor(f.Color->Red, f.Color->Green, f.Color->Blue));
  return format;
}

TRunFormat FromQt(const QTextCharFormat& format, const QFont& base) {
  TRunFormat f;
  // Pasted HTML may name the face in the older single-family property.
  QStringList families = format.fontFamilies().toStringList();
  if (families.isEmpty() && format.hasProperty(QTextFormat::FontFamily))
    families = QStringList{format.property(QTextFormat::FontFamily).toString()};
  f.Face = CleanFaceName(FromQ(families.isEmpty() ? base.family() : families.first()));
  const double points = format.fontPointSize() > 0 ? format.fontPointSize() : base.pointSizeF();
  f.Size = std::clamp(points > 0 ? qRound(points) : 10, kMinFontSize, kMaxFontSize);
  f.Bold = format.fontWeight() > QFont::Medium;
  f.Italic = format.fontItalic();
  f.Underline = format.fontUnderline();
  if (format.foreground().style() != Qt::NoBrush) {
    const QColor c = format.foreground().color();
    f.Color = TRgb{static_cast<std::uint8_t>(c.red()), static_cast<std::uint8_t>(c.green()),
                   static_cast<std::uint8_t>(c.blue())};
  }
  return f;
}

}  // namespace

void LoadRichDoc(QTextDocument& target, const TRichDoc& doc) {
  target.setUndoRedoEnabled(false);  // also clears the history
  target.clear();
  QTextCursor cursor(&target);
  cursor.beginEditBlock();
  QTextList* list = nullptr;
  // Runs of a document mostly repeat a few formats; building each once saves the time.
  const TRunFormat* lastFormat = nullptr;
  QTextCharFormat lastQtFormat;
  for (const TRichParagraph& p : doc.Paragraphs) {
    QTextBlockFormat block;
    block.setAlignment(ToQt(p.Alignment));
    const bool first = &p == &doc.Paragraphs.front();
    if (first)
      cursor.setBlockFormat(block);
    else
      cursor.insertBlock(block);
    if (p.Bullet) {
      const bool continues = !first && (&p - 1)->Bullet && list;
      if (continues)
        list->add(cursor.block());
      else
        list = cursor.createList(QTextListFormat::ListDisc);
    }
    for (const TRichRun& run : p.Runs) {
      if (!lastFormat || !(*lastFormat == run.Format)) {
        lastQtFormat = ToQt(run.Format);
        lastFormat = &run.Format;
      }
      cursor.insertText(ToQ(run.Text), lastQtFormat);
    }
  }
  cursor.endEditBlock();
  target.setUndoRedoEnabled(true);
  target.setModified(false);
}

TRichDoc SaveRichDoc(const QTextDocument& source) {
  TRichDoc doc;
  const QFont base = source.defaultFont();
  QHash<int, TRunFormat> formats;  // by the document's format index
  for (QTextBlock block = source.begin(); block.isValid(); block = block.next()) {
    TRichParagraph paragraph;
    paragraph.Alignment = FromQt(block.blockFormat().alignment());
    paragraph.Bullet = block.textList() != nullptr;
    for (QTextBlock::iterator it = block.begin(); !it.atEnd(); ++it) {
      const QTextFragment fragment = it.fragment();
      auto format = formats.find(fragment.charFormatIndex());
      if (format == formats.end())
        format = formats.insert(fragment.charFormatIndex(), FromQt(fragment.charFormat(), base));
      const QString text = fragment.text();
      qsizetype start = 0;
      for (qsizetype i = 0; i <= text.size(); ++i) {
        if (i < text.size() && text[i] != QChar::LineSeparator) continue;
        std::u16string part = FromQUtf16(QStringView(text).mid(start, i - start));
        std::erase(part, u'\uFFFC');
        AppendRun(paragraph, part, *format);
        if (i < text.size()) {
          doc.Paragraphs.push_back(paragraph);
          paragraph.Runs.clear();
        }
        start = i + 1;
      }
    }
    doc.Paragraphs.push_back(std::move(paragraph));
  }
  return doc;
}

}  // namespace pagolin
