#include "gui/widgets/richtextbridge.h"

#include "gui/components/qtext.h"

#include <QHash>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextList>
#include <QTextTable>

#include <algorithm>
#include <utility>

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
  if (!f.Link.empty()) {
    format.setAnchor(true);
    format.setAnchorHref(ToQ(f.Link));
  }
  return format;
}

TRunFormat FromQt(const QTextCharFormat& format, const QFont& base) {
  TRunFormat f;
  // Pasted HTML may name the face in the older single-family property.
  QStringList families = format.fontFamilies().toStringList();
  if (families.isEmpty() && format.hasProperty(QTextFormat::FontFamily))
    families = QStringList{format.property(QTextFormat::FontFamily).toString()};
  f.Face = CleanFaceName(FromQ(families.isEmpty() ? base.family() : families.first()));
  double points = format.fontPointSize();
  // Pasted HTML sizes headings and <font size> against the text around them: the size shown.
  if (points <= 0 && format.hasProperty(QTextFormat::FontSizeAdjustment)) points = format.font().pointSizeF();
  if (points <= 0) points = base.pointSizeF();
  f.Size = std::clamp(points > 0 ? qRound(points) : 10, kMinFontSize, kMaxFontSize);
  f.Bold = format.fontWeight() > QFont::Medium;
  f.Italic = format.fontItalic();
  f.Underline = format.fontUnderline();
  if (format.foreground().style() != Qt::NoBrush) {
    const QColor c = format.foreground().color();
    f.Color = TRgb{static_cast<std::uint8_t>(c.red()), static_cast<std::uint8_t>(c.green()),
                   static_cast<std::uint8_t>(c.blue())};
  }
  // A named place (an anchor without an address) is no link.
  if (format.isAnchor() && !format.anchorHref().isEmpty()) f.Link = FromQ(format.anchorHref());
  return f;
}

bool IsNumbered(const QTextList* list) {
  switch (list->format().style()) {
    case QTextListFormat::ListDecimal:
    case QTextListFormat::ListLowerAlpha:
    case QTextListFormat::ListUpperAlpha:
    case QTextListFormat::ListLowerRoman:
    case QTextListFormat::ListUpperRoman: return true;
    default: return false;
  }
}

const QTextTable* TableOf(const QTextDocument& document, const QTextBlock& block) {
  return qobject_cast<const QTextTable*>(document.frameAt(block.position()));
}

// Whether block starts a cell of table right of the first one of its row: its text then goes
// on in the row's paragraph, after a tab.
bool ContinuesTableRow(const QTextTable* table, const QTextBlock& block) {
  if (!table) return false;
  const QTextTableCell cell = table->cellAt(block.position());
  return cell.isValid() && cell.column() > 0 && cell.firstPosition() == block.position();
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
  const bool frames = !source.rootFrame()->childFrames().isEmpty();  // tables
  QHash<int, TRunFormat> formats;                                    // by the document's format index
  const auto formatOf = [&](const QTextCharFormat& format, int index) -> const TRunFormat& {
    auto found = formats.find(index);
    if (found == formats.end()) found = formats.insert(index, FromQt(format, base));
    return *found;
  };
  const QTextTable* previousTable = nullptr;
  for (QTextBlock block = source.begin(); block.isValid(); block = block.next()) {
    const QTextTable* table = frames ? TableOf(source, block) : nullptr;
    // A document keeps an empty paragraph before and after each table: no text of its own.
    const bool afterTable = std::exchange(previousTable, table) != nullptr;
    if (frames && !table && block.length() == 1 &&
        (afterTable || (block.next().isValid() && TableOf(source, block.next()))))
      continue;
    TRichParagraph paragraph;
    if (ContinuesTableRow(table, block) && !doc.Paragraphs.empty()) {
      paragraph = std::move(doc.Paragraphs.back());
      doc.Paragraphs.pop_back();
      const TRunFormat tab =
          paragraph.Runs.empty() ? formatOf(QTextCharFormat(), -1) : paragraph.Runs.back().Format;
      AppendRun(paragraph, u"\t", tab);
    } else {
      paragraph.Alignment = FromQt(block.blockFormat().alignment());
      const QTextList* list = block.textList();
      paragraph.Bullet = list && !IsNumbered(list);
      // A numbered item keeps its number as text.
      if (list && !paragraph.Bullet)
        AppendRun(paragraph, FromQUtf16(QString(list->itemText(block) + QLatin1Char(' '))),
                  formatOf(block.charFormat(), block.charFormatIndex()));
    }
    for (QTextBlock::iterator it = block.begin(); !it.atEnd(); ++it) {
      const QTextFragment fragment = it.fragment();
      const TRunFormat& format = formatOf(fragment.charFormat(), fragment.charFormatIndex());
      const QString text = fragment.text();
      qsizetype start = 0;
      for (qsizetype i = 0; i <= text.size(); ++i) {
        if (i < text.size() && text[i] != QChar::LineSeparator) continue;
        std::u16string part = FromQUtf16(QStringView(text).mid(start, i - start));
        std::erase(part, u'\uFFFC');
        AppendRun(paragraph, part, format);
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
