// First, minimal content so the tool can be built and tested; the full starter codes and the
// bilingual sample replace it.
#include "newsite_content.h"

namespace pagolin {

std::vector<TNewSiteRow> StarterCodes() {
  return {
      {{{"Name", "Head"}, {"Type", "Section"}, {"Code", "<!DOCTYPE html>\r\n<html>\r\n<head>\r\n<title>%COMPANY%</title>\r\n</head>"}, {"Description 1", "Start of every page"}, {"Description 2", "Anfang jeder Seite"}}},
      {{{"Name", "COMPANY"}, {"Type", "Variable"}, {"Code", ""}, {"Description 1", "Example Software"}, {"Description 2", "Firmenname"}}},
  };
}

std::vector<TNewSiteRow> SampleProducts() {
  return {{{{"Name", "Example Product"}, {"Category", "Application"}, {"Download Area Filename", "example.zip"}, {"Screenshot", "example.gif"}, {"Description 1", "{\\rtf1\\ansi An example.\\par }"}, {"Description 2", "{\\rtf1\\ansi Ein Beispiel.\\par }"}, {"Include", "1"}}}};
}

std::vector<TNewSiteRow> SampleNews() {
  return {{{{"Date", "2026-01-15 10:00:00"}, {"News Title 1", "Example released"}, {"News Title 2", "Beispiel erschienen"}, {"News Body 1", "{\\rtf1\\ansi Now available.\\par }"}, {"News Body 2", "{\\rtf1\\ansi Jetzt erh\\'e4ltlich.\\par }"}, {"Include", "1"}}}};
}

std::vector<TNewSiteRow> SampleLinks() {
  return {{{{"Category", "Internet"}, {"Name", "Example"}, {"URL", "https://example.com/"}, {"Image", ""}, {"Description 1", "{\\rtf1\\ansi An example link.\\par }"}, {"Description 2", "{\\rtf1\\ansi Ein Beispiel-Link.\\par }"}, {"Include", "1"}}}};
}

std::vector<TNewSiteRow> SamplePostings() {
  return {{{{"Send", "0"}, {"Subject", "Example released"}, {"Newsgroups", "example.test"}, {"Body", "Now available.\r\n"}}}};
}

}  // namespace pagolin
