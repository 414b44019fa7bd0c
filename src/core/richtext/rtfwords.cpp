#include "core/richtext/rtfwords.h"

#include <unordered_map>

namespace pagolin::rtf {
namespace {

using Table = std::unordered_map<std::string_view, TWord>;

// The word lists stay packed as written:
// clang-format off
Table MakeTable() {
  Table t = {
      {"fonttbl", TWord::FontTable},
      {"colortbl", TWord::ColorTable},
      {"pn", TWord::ListProps},
      {"nesttableprops", TWord::TableProps},
      {"deff", TWord::DefaultFont},
      {"plain", TWord::Plain},
      {"b", TWord::Bold},
      {"i", TWord::Italic},
      {"ulnone", TWord::UnderlineNone},
      {"f", TWord::Font},
      {"fs", TWord::FontSize},
      {"cf", TWord::Color},
      {"v", TWord::Hidden},
      {"pard", TWord::ParagraphDefault},
      {"ql", TWord::AlignLeft},
      {"qc", TWord::AlignCenter},
      {"qr", TWord::AlignRight},
      {"qj", TWord::AlignJustify},
      {"intbl", TWord::InTable},
      {"pnlvlblt", TWord::ListLevel},
      {"pnlvlbody", TWord::ListLevel},
      {"pnlvl", TWord::ListLevel},
      {"ls", TWord::ListNumber},
      {"par", TWord::Paragraph},
      {"line", TWord::Paragraph},
      {"page", TWord::SoftBreak},
      {"sect", TWord::SoftBreak},
      {"column", TWord::SoftBreak},
      {"cell", TWord::Cell},
      {"nestcell", TWord::Cell},
      {"row", TWord::Row},
      {"nestrow", TWord::Row},
      {"tab", TWord::Tab},
      {"lquote", TWord::LeftQuote},
      {"rquote", TWord::RightQuote},
      {"ldblquote", TWord::LeftDoubleQuote},
      {"rdblquote", TWord::RightDoubleQuote},
      {"emdash", TWord::EmDash},
      {"endash", TWord::EnDash},
      {"bullet", TWord::BulletChar},
      {"emspace", TWord::Space},
      {"enspace", TWord::Space},
      {"qmspace", TWord::Space},
      {"u", TWord::Unicode},
      {"uc", TWord::UnicodeSkip},
      {"bin", TWord::Binary},
  };
  for (std::string_view w : {"ul", "uld", "uldash", "uldashd", "uldashdd", "uldb", "ulhwave",
                             "ulldash", "ulth", "ulthd", "ulthdash", "ulthdashd", "ulthdashdd",
                             "ulthldash", "ululdbwave", "ulw", "ulwave"})
    t.emplace(w, TWord::Underline);
  // Text that is not part of the document's body. Destinations marked with \* are skipped
  // anyway when not known; these are skipped also where a writer leaves the mark out.
  for (std::string_view w :
       {"info", "stylesheet", "pict", "header", "headerl", "headerr", "headerf", "footer",
        "footerl", "footerr", "footerf", "footnote", "annotation", "object", "objdata",
        "objclass", "pntext", "listtext", "nonesttables", "xe", "tc", "txe", "rxe",
        "private", "template", "listtable", "listoverridetable", "revtbl", "filetbl",
        "rsidtbl", "nonshppict", "shpinst", "shprslt", "shptxt", "datafield", "themedata",
        "colorschememapping", "latentstyles", "generator", "ftnsep", "ftnsepc", "ftncn",
        "aftnsep", "aftnsepc", "aftncn", "atnid", "atnauthor", "atndate", "atnref", "bkmkstart",
        "bkmkend", "userprops", "docvar", "pgdsctbl", "xmlnstbl", "mmathPr", "fldtype",
        "author", "operator", "title", "subject", "keywords", "comment", "doccomm", "company",
        "creatim", "revtim", "printim", "buptim", "do"})
    t.emplace(w, TWord::SkippedDestination);
  t.emplace("fldinst", TWord::FieldInstruction);
  t.emplace("fldrslt", TWord::FieldResult);
  return t;
}
// clang-format on

}  // namespace

TWord LookupWord(std::string_view letters) {
  static const Table table = MakeTable();
  // No word of the table is longer; a long word costs no hashing.
  if (letters.size() > 20) return TWord::Unknown;
  const auto it = table.find(letters);
  return it == table.end() ? TWord::Unknown : it->second;
}

}  // namespace pagolin::rtf
