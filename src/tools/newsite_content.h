// What a new site starts with: the starter codes (every section and row template the page
// builder fetches by name, and a few variables) and, on request, a small bilingual sample.
// Each row is a list of field name -> value as text, in the table's own terms: a logical is
// "1" or "0", a date-time is the stored text "YYYY-MM-DD HH:MM:SS". Texts are UTF-8.
#pragma once

#include <stdexcept>
#include <string>
#include <utility>
#include <vector>

namespace pagolin {

// What went wrong while a site folder was prepared; the message names the file.
class ENewSiteError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

struct TNewSiteRow {
  std::vector<std::pair<std::string, std::string>> fields;
};

std::vector<TNewSiteRow> StarterCodes();    // rows of "codes.db"
std::vector<TNewSiteRow> SampleProducts();  // rows of "product.DB"
std::vector<TNewSiteRow> SampleNews();      // rows of "news.db"
std::vector<TNewSiteRow> SampleLinks();     // rows of "links.db"
std::vector<TNewSiteRow> SamplePostings();  // rows of "newspost.db"

// The files the sample rows name (screenshots, link images, downloads): file name and bytes,
// to be written into the site folder, which is the output folder of a new site's settings.
std::vector<std::pair<std::string, std::string>> SampleFiles();
// Writes SampleFiles() into folder (with its trailing delimiter), each file whole; throws
// ENewSiteError naming the file that could not be written.
void WriteSampleFiles(const std::string& folder);

}  // namespace pagolin
