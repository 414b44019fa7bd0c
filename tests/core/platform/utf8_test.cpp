#include "core/platform/utf8.h"

#include <gtest/gtest.h>

#include <random>

#include "core/platform/codepage.h"
#include "support/pythonref.h"

namespace pagolin {
namespace {

using testing::PythonMap;

// Characters from every plane (surrogates excluded), each as UTF-32LE bytes for Python.
char32_t AnyCharacter(std::mt19937& rng) {
  const char32_t plane = std::uniform_int_distribution<char32_t>(0, 16)(rng);
  for (;;) {
    char32_t u = (plane << 16) | std::uniform_int_distribution<char32_t>(0, 0xFFFF)(rng);
    if (plane == 0 && rng() % 2) u = std::uniform_int_distribution<char32_t>(0x20, 0x17F)(rng);
    if (u < 0xD800 || u > 0xDFFF) return u;
  }
}

// Byte strings that are mostly UTF-8 with broken pieces among them: the forms a strict
// decoder must refuse (overlong, surrogates, past U+10FFFF, cut off, stray bytes).
std::vector<std::string> BrokenCorpus() {
  std::vector<std::string> corpus = {"\xC0\xAF",
                                     "\xC0\x80",
                                     "\xC1\xBF",
                                     "\xE0\x80\xAF",
                                     "\xE0\x9F\xBF",
                                     "\xED\xA0\x80",
                                     "\xED\xBF\xBF",
                                     "\xF0\x80\x80\xAF",
                                     "\xF0\x8F\xBF\xBF",
                                     "\xF4\x90\x80\x80",
                                     "\xF5\x80\x80\x80",
                                     "\xFF",
                                     "\xE2\x82",
                                     "x\xE2\x82y",
                                     "\xF0\x9F\x98",
                                     "\x80\x80",
                                     "a\xC3",
                                     "\xEF\xBF\xBF\xF4\x8F\xBF\xBF"};
  std::mt19937 rng(25);
  for (int n = 0; n < 400; ++n) {
    std::string s;
    const int pieces = static_cast<int>(rng() % 12);
    for (int k = 0; k < pieces; ++k) {
      switch (rng() % 4) {
        case 0: s += static_cast<char>('a' + rng() % 26); break;
        case 1: AppendUtf8(s, AnyCharacter(rng)); break;
        case 2: s += static_cast<char>(0x80 + rng() % 0x80); break;
        default: {
          std::string c;
          AppendUtf8(c, AnyCharacter(rng));
          s += c.substr(0, 1 + rng() % c.size());  // maybe cut off
        }
      }
    }
    corpus.push_back(s);
  }
  return corpus;
}

std::vector<std::u32string> TextCorpus() {
  std::mt19937 rng(2025);
  std::vector<std::u32string> texts;
  for (int n = 0; n < 300; ++n) {
    std::u32string t;
    const int length = static_cast<int>(rng() % 20);
    for (int k = 0; k < length; ++k) t += AnyCharacter(rng);
    texts.push_back(t);
  }
  return texts;
}

std::string Utf32Bytes(const std::u32string& t) {
  std::string b;
  for (char32_t u : t)
    for (int k = 0; k < 4; ++k) b += static_cast<char>((u >> (8 * k)) & 0xFF);
  return b;
}

TEST(Utf8, DecodesStrictlyAsPythonDoes) {
  const std::vector<std::string> corpus = BrokenCorpus();
  const auto expected = PythonMap("", "b.decode('utf-8', 'replace').encode('utf-8')", corpus);
  ASSERT_EQ(expected.size(), corpus.size());
  for (size_t i = 0; i < corpus.size(); ++i) {
    EXPECT_EQ(ValidUtf8(corpus[i]), expected[i]) << testing::ToHex(corpus[i]);
    EXPECT_EQ(IsValidUtf8(corpus[i]), expected[i] == corpus[i]) << testing::ToHex(corpus[i]);
  }
  EXPECT_EQ(ValidUtf8("\xC0\xAF"), "\xEF\xBF\xBD\xEF\xBF\xBD");  // never "/"
  EXPECT_EQ(Utf8ToAnsi("\xC0\x80"), "??");                       // never a NUL byte
}

TEST(Utf8, EncodesEveryPlaneAsPythonDoes) {
  std::vector<std::string> utf32;
  for (const std::u32string& t : TextCorpus()) utf32.push_back(Utf32Bytes(t));
  const auto utf8 = PythonMap("", "b.decode('utf-32-le').encode('utf-8')", utf32);
  const auto utf16 = PythonMap("", "b.decode('utf-32-le').encode('utf-16-le')", utf32);
  const std::vector<std::u32string> texts = TextCorpus();
  for (size_t i = 0; i < texts.size(); ++i) {
    std::string mine;
    for (char32_t u : texts[i]) AppendUtf8(mine, u);
    ASSERT_EQ(mine, utf8[i]);
    EXPECT_EQ(Utf8Length(mine), texts[i].size());
    const std::u16string wide = Utf8ToUtf16(mine);
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(wide.data()), wide.size() * 2), utf16[i]);
    EXPECT_EQ(Utf16ToUtf8(wide), mine);
  }
}

// The page form and the settings file form against Python's Windows-1252 codec; the five
// bytes it leaves undefined stand for the C1 controls of the same value, as here.
constexpr const char* kCodePagePrelude =
    "undefined = {0x81, 0x8D, 0x8F, 0x90, 0x9D}\n"
    "def refs(e):\n"
    "    c = e.object[e.start]\n"
    "    out = bytes([ord(c)]) if ord(c) in undefined else ('&#%d;' % ord(c)).encode()\n"
    "    return (out, e.start + 1)\n"
    "codecs.register_error('refs', refs)\n"
    "def fromfile(b):\n"
    "    if b.startswith(codecs.BOM_UTF8): return b[3:].decode('utf-8')\n"
    "    return ''.join(chr(x) if x in undefined else bytes([x]).decode('cp1252') for x in b)\n";

TEST(CodePage, PagesAndSettingsFilesKeepEveryCharacterAsPythonReadsThem) {
  std::vector<std::string> texts;
  for (const std::u32string& t : TextCorpus()) {
    std::string s;
    for (char32_t u : t) AppendUtf8(s, u);
    texts.push_back(s);
  }
  texts.push_back("Gr\xC3\xBC\xC3\x9F \xE2\x82\xAC");  // held by the code page
  texts.push_back("\xC3\x83\xC2\xA9");                 // whose code-page bytes read as UTF-8
  const auto pages = PythonMap(kCodePagePrelude, "b.decode('utf-8').encode('cp1252', 'refs')", texts);
  std::vector<std::string> files;
  for (const std::string& t : texts) files.push_back(Utf8ToTextFile(t));
  const auto read = PythonMap(kCodePagePrelude, "fromfile(b).encode('utf-8')", files);
  for (size_t i = 0; i < texts.size(); ++i) {
    EXPECT_EQ(Utf8ToAnsiRefs(texts[i]), pages[i]) << texts[i];
    EXPECT_EQ(read[i], texts[i]) << testing::ToHex(files[i]);
    EXPECT_EQ(TextFileToUtf8(files[i]), texts[i]) << testing::ToHex(files[i]);
  }
  EXPECT_EQ(Utf8ToTextFile("Gr\xC3\xBC\xC3\x9F"), "Gr\xFC\xDF");  // as files have always been
  EXPECT_EQ(TextFileToUtf8("Gr\xFC\xDF"), "Gr\xC3\xBC\xC3\x9F");  // an old site's file
}

}  // namespace
}  // namespace pagolin
