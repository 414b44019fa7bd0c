// The rich texts the rich-text tests run over: the word-processor, converter and rich editor
// files of tests/data/richtext (each with the plain text a person reads in it, in a .txt file
// beside it), the converter's worked examples, and every rich text of the sample site.
// Tests that use it compile src/tools/newsite_content.cpp and define PAGOLIN_TEST_DATA.
#pragma once

#include "core/platform/codepage.h"
#include "tools/newsite_content.h"

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

namespace pagolin::test {

struct TCorpusText {
  std::string name;
  std::string rtf;
  std::string text;  // the expected plain text; empty when the corpus does not give it
};

inline std::string ReadCorpusFile(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

inline std::vector<TCorpusText> RichTextCorpus() {
  namespace fs = std::filesystem;
  const fs::path data(PAGOLIN_TEST_DATA);
  std::vector<TCorpusText> corpus;
  for (const auto& entry : fs::directory_iterator(data / "richtext")) {
    if (entry.path().extension() != ".rtf") continue;
    fs::path text = entry.path();
    text.replace_extension(".txt");
    corpus.push_back({entry.path().filename().string(), ReadCorpusFile(entry.path()),
                      fs::exists(text) ? TextFileToUtf8(ReadCorpusFile(text)) : std::string()});
  }
  for (const char* example : {"worked_colors", "worked_bullets"})
    corpus.push_back({example, ReadCorpusFile(data / "rtf2html" / example / "input.rtf"), ""});
  for (const auto& rows : {SampleProducts(), SampleNews(), SampleLinks()})
    for (const TNewSiteRow& row : rows)
      for (const auto& [field, value] : row.fields)
        if (value.starts_with("{\\rtf")) corpus.push_back({"sample " + field, value, ""});
  std::sort(corpus.begin(), corpus.end(),
            [](const TCorpusText& a, const TCorpusText& b) { return a.name < b.name; });
  return corpus;
}

}  // namespace pagolin::test
