#include "core/news/headertext.h"

#include <gtest/gtest.h>

#include <string>

#include "core/platform/codepage.h"

namespace pagolin {
namespace {

// Decodes the Q-encoded words of a header value back into bytes, the way a reader does
// (blanks and folds between two encoded words vanish).
std::string DecodeForTest(const std::string& value) {
  std::string out, pendingBlanks;
  bool lastWasEncoded = false;
  std::size_t i = 0;
  while (i < value.size()) {
    if (value.compare(i, 2, "\r\n") == 0) {
      i += 2;
      continue;
    }
    if (value[i] == ' ') {
      pendingBlanks += ' ';
      ++i;
      continue;
    }
    const std::size_t end = value.find(' ', i);
    std::string word = value.substr(i, end == std::string::npos ? std::string::npos : end - i);
    if (const std::size_t crlf = word.find("\r\n"); crlf != std::string::npos) word.resize(crlf);
    i += word.size();
    const std::string prefix = "=?windows-1252?Q?";
    const bool encoded = word.rfind(prefix, 0) == 0 && word.size() >= prefix.size() + 2 &&
                         word.compare(word.size() - 2, 2, "?=") == 0;
    if (!(encoded && lastWasEncoded)) out += pendingBlanks;
    pendingBlanks.clear();
    if (encoded) {
      const std::string text = word.substr(prefix.size(), word.size() - prefix.size() - 2);
      for (std::size_t k = 0; k < text.size(); ++k) {
        if (text[k] == '_') {
          out += ' ';
        } else if (text[k] == '=') {
          out += static_cast<char>(std::stoi(text.substr(k + 1, 2), nullptr, 16));
          k += 2;
        } else {
          out += text[k];
        }
      }
    } else {
      out += word;
    }
    lastWasEncoded = encoded;
  }
  return out + pendingBlanks;
}

TEST(HeaderText, LineBreaksInValuesBecomeBlanks) {
  EXPECT_EQ(CleanHeaderValue("a\r\nBcc: x\ry\nz"), "a  Bcc: x y z");
  EXPECT_EQ(CleanHeaderValue("plain"), "plain");
}

TEST(HeaderText, AsciiValuesStayExactlyAsTheyAre) {
  const std::string value = "New version 2.0 (beta) = better? _yes_ \"quoted\"";
  EXPECT_EQ(EncodeHeaderValue(value, 9), value);
  EXPECT_FALSE(HasHighBytes(value));
}

TEST(HeaderText, WordsWithHighBytesBecomeEncodedWords) {
  EXPECT_EQ(EncodeHeaderValue("Neue Version für Sie", 9), "Neue Version =?windows-1252?Q?f=FCr?= Sie");
  // Neighbouring words with high bytes share one encoded word, the blank inside as "_".
  EXPECT_EQ(EncodeHeaderValue("Grüß"
                              "e an Ärzte",
                              9),
            "=?windows-1252?Q?Gr=FC=DFe?= an =?windows-1252?Q?=C4rzte?=");
  EXPECT_EQ(EncodeHeaderValue("Ü"
                              "ber Mü"
                              "nchen",
                              9),
            "=?windows-1252?Q?=DCber_M=FCnchen?=");
  // An address keeps its plain form; only the name is encoded.
  EXPECT_EQ(EncodeHeaderValue("Jörg Müller <jm@example.test>", 6),
            "=?windows-1252?Q?J=F6rg_M=FCller?= <jm@example.test>");
  // Characters with a meaning in headers are encoded inside an encoded word.
  EXPECT_EQ(EncodeHeaderValue("été=?_", 9), "=?windows-1252?Q?=E9t=E9=3D=3F=5F?=");
}

TEST(HeaderText, LongValuesAreFoldedAndDecodeBackUnchanged) {
  std::string value;
  for (int i = 0; i < 12; ++i)
    value +=
        "Änderung ü"
        "ber alles ";
  value += "Ende";
  const std::string encoded = EncodeHeaderValue(value, 9);
  std::size_t lineStart = 0;
  bool first = true;
  for (;;) {
    const std::size_t crlf = encoded.find("\r\n", lineStart);
    const std::size_t length = (crlf == std::string::npos ? encoded.size() : crlf) - lineStart;
    EXPECT_LE(length + (first ? 9 : 0), 76u);
    if (crlf == std::string::npos) break;
    EXPECT_EQ(encoded[crlf + 2], ' ');  // a fold, never a new header line
    lineStart = crlf + 2;
    first = false;
  }
  EXPECT_FALSE(first) << "a long value must be folded";
  EXPECT_FALSE(HasHighBytes(encoded));
  EXPECT_EQ(DecodeForTest(encoded), Utf8ToAnsi(value));  // in the code page, which holds it
}

TEST(HeaderText, EveryCodePageLetterSurvivesEncoding) {
  std::string value;
  for (int c = 32; c < 256; ++c) {
    if (c != ' ') value += static_cast<char>(c);
  }
  value = "\xFF" + value;
  const std::string encoded = EncodeHeaderValue(AnsiToUtf8(value), 9);
  EXPECT_FALSE(HasHighBytes(encoded));
  EXPECT_EQ(DecodeForTest(encoded), value);
}

// Quotes and backslashes in a quoted name are escaped; a long encoded name is folded and reads
// back whole. (Plain, quoted and encoded names are read back from the news server in
// send_news_program_test.)
TEST(HeaderText, AMailboxNameIsEscapedAndFolded) {
  EXPECT_EQ(MailboxHeaderValue("Jo \"JJ\" \\ Elm", "jo@example.test", 6),
            "\"Jo \\\"JJ\\\" \\\\ Elm\" <jo@example.test>");
  std::string name;
  for (int i = 0; i < 8; ++i) name += "Müller ";
  const std::string folded = MailboxHeaderValue(name, "jo@example.test", 6);
  EXPECT_NE(folded.find("\r\n "), std::string::npos);
  EXPECT_EQ(DecodeForTest(folded.substr(0, folded.rfind(" <"))), Utf8ToAnsi(name));
  EXPECT_EQ(folded.substr(folded.rfind(" <")), " <jo@example.test>");
}

}  // namespace
}  // namespace pagolin
