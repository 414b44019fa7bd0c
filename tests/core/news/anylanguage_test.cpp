// Text in any language through every way in and out: generated texts with characters from every
// Unicode plane go into a table field, a rich text, the settings file, a page, a feed and a news
// article, and what comes out is read back by Python's own codecs, HTML, XML, e-mail and SQLite
// readers. Nothing may be lost or changed.
#include <gtest/gtest.h>

#include <random>

#include "core/news/mailnews.h"
#include "core/pages/pagebuilder.h"
#include "core/platform/inifile.h"
#include "core/platform/utf8.h"
#include "core/richtext/rtfwriter.h"
#include "support/pythonref.h"
#include "support/testsite.h"

namespace pagolin {
namespace {

using testing::PythonMap;
using testing::TBuildSite;

// Characters a person may type into a one-line field: every plane, no controls, and none of
// the few the ways treat on purpose (markup and variable characters, which the pages pass or
// escape as HTML; U+00A8, whose entity the pages have always written as "&die;").
char32_t TypedCharacter(std::mt19937& rng) {
  for (;;) {
    const char32_t plane = std::uniform_int_distribution<char32_t>(0, 16)(rng);
    char32_t u = (plane << 16) | std::uniform_int_distribution<char32_t>(0, 0xFFFF)(rng);
    if (rng() % 3 == 0) u = std::uniform_int_distribution<char32_t>(0x20, 0x2FF)(rng);
    const bool control = u < 0x20 || (u >= 0x7F && u <= 0x9F);
    const bool surrogate = u >= 0xD800 && u <= 0xDFFF;
    if (control || surrogate || (u & 0xFFFE) == 0xFFFE ||
        std::u32string_view(U"<>&%\"'\\{}\u00A8").find(u) != std::u32string_view::npos)
      continue;
    return u;
  }
}

// A text of letters and blanks around such characters, starting and ending with a letter (the
// settings file trims values at their ends).
std::string GeneratedText(std::mt19937& rng) {
  std::string text = "A";
  const int length = 4 + static_cast<int>(rng() % 16);
  for (int k = 0; k < length; ++k) AppendUtf8(text, rng() % 5 == 0 ? U' ' : TypedCharacter(rng));
  return text + "z";
}

constexpr const char* kReaders = R"(
import sqlite3, xml.etree.ElementTree as ET
def parts(b):
    return b.decode('utf-8').split('\n')
def page(path):
    return html.unescape(open(path, 'rb').read().decode('cp1252'))
def found(haystack, texts):
    missing = [t for t in texts if t not in haystack]
    return ('missing ' + repr(missing[:3])).encode() if missing else b'ok'
def check(b):
    kind, path, *texts = parts(b)
    if kind == 'page':
        return found(page(path), texts)
    if kind == 'feed':
        root = ET.parse(path).getroot()
        shown = ' '.join(html.unescape(e.text or '') for e in root.iter() if e.tag.split('}')[-1] in ('title', 'content'))
        return found(shown, texts)
    if kind == 'table':
        rows = sqlite3.connect(path).execute('SELECT "Name", "Description 1" FROM product').fetchall()
        return found(' | '.join(v for row in rows for v in row if v), texts)
    if kind == 'settings':
        data = open(path, 'rb').read()
        text = data[3:].decode('utf-8') if data.startswith(codecs.BOM_UTF8) else data.decode('cp1252')
        return found(text, ['Name=' + t for t in texts])
    if kind == 'article':
        msg = email.message_from_bytes(open(path, 'rb').read(), policy=email.policy.default)
        got = [str(msg['Subject']), msg.get_content().replace('\r\n', '\n').rstrip('\n')]
        return b'ok' if got == [texts[0], texts[0]] else ('got ' + repr(got)).encode()
    return b'unknown'
)";

std::string Joined(const std::vector<std::string>& parts) {
  std::string out;
  for (const std::string& p : parts) out += (out.empty() ? "" : "\n") + p;
  return out;
}

TEST(AnyLanguage, EveryCharacterComesOutOfEveryWayAsItWentIn) {
  std::mt19937 rng(25);
  std::vector<std::string> names, rich, titles;
  for (int i = 0; i < 12; ++i) {
    names.push_back(GeneratedText(rng));
    rich.push_back(GeneratedText(rng));
    titles.push_back(GeneratedText(rng));
  }
  TBuildSite site;
  site.AddCode("Body", "<BODY>");
  site.AddCode("Body Stop", "</BODY>");
  site.AddCode("Product", "<P>%NAME%|%DESCRIPTION%</P>", "Data");
  site.AddCode("News", "<N>%NEWSTITLE%|%NEWSBODY%</N>", "Data");
  for (int i = 0; i < 12; ++i) {
    // The rich text as the rich editor stores it: bold runs around the text.
    TRichDoc doc = PlainTextDoc(rich[static_cast<size_t>(i)]);
    doc.Paragraphs[0].Runs[0].Format.Bold = i % 2 == 0;
    site.AddProduct(names[static_cast<size_t>(i)], "", "", "", WriteRtf(doc), "");
    site.AddNews("2026-01-0" + std::to_string(1 + i % 9) + " 10:00:00", titles[static_cast<size_t>(i)], "x",
                 WriteRtf(doc), "x");
  }
  // Read back from the table as the program reads it.
  TTable& products = site.Data().tblProducts;
  std::vector<std::string> readBack;
  for (products.First(); !products.Eof(); products.Next())
    readBack.push_back(products.FieldByName("Name").AsString());
  std::vector<std::string> sortedNames = names, sortedBack = readBack;
  std::sort(sortedNames.begin(), sortedNames.end());
  std::sort(sortedBack.begin(), sortedBack.end());
  EXPECT_EQ(sortedBack, sortedNames);

  site.Settings().SiteURL = "https://www.example.com/";
  TPageBuilder builder(site.Data(), site.Settings());
  builder.BuildPages();

  const std::string ini = site.Site() + "any.ini";
  {
    TIniFile file(ini);
    for (size_t i = 0; i < names.size(); ++i) file.WriteString("S" + std::to_string(i), "Name", names[i]);
    std::string error;
    ASSERT_TRUE(file.UpdateFile(error)) << error;
  }
  TIniFile again(ini);
  for (size_t i = 0; i < names.size(); ++i)
    EXPECT_EQ(again.ReadString("S" + std::to_string(i), "Name", ""), names[i]);

  std::vector<std::string> checks = {
      Joined({"page", site.Site() + "index1.htm"}) + "\n" + Joined(names) + "\n" + Joined(rich),
      Joined({"feed", site.Site() + "index1.xml"}) + "\n" + Joined(titles) + "\n" + Joined(rich),
      Joined({"table", site.Site() + "product.DB"}) + "\n" + Joined(names),
      Joined({"settings", ini}) + "\n" + Joined(names),
  };
  for (size_t i = 0; i < 4; ++i) {
    T_MailNews article;
    article.From = "a@example.com";
    article.Subject = titles[i];
    article.Body = {titles[i] + "\r\n"};
    article.Send();
    std::string bytes;
    for (const std::string& line : article.Composed()) bytes += line + "\r\n";
    const std::string file = site.Site() + "article" + std::to_string(i);
    testing::WriteBytes(file, bytes);
    checks.push_back(Joined({"article", file, titles[i]}));
  }
  const std::vector<std::string> verdicts = PythonMap(kReaders, "check(b)", checks);
  ASSERT_EQ(verdicts.size(), checks.size());
  for (size_t i = 0; i < checks.size(); ++i)
    EXPECT_EQ(verdicts[i], "ok") << checks[i].substr(0, checks[i].find('\n'));
}

}  // namespace
}  // namespace pagolin
