// The starter codes of a new site and the bilingual sample content.
//
// The codes make a page of plain, semantic HTML with a small embedded style sheet: rows are
// table rows (rich text from the converter keeps its font tags inside its table cell), and
// without style sheets the page still reads top to bottom.
#include "tools/newsite_content.h"

namespace pagolin {
namespace {

TNewSiteRow Code(const std::string& name, const std::string& type, const std::string& code,
                 const std::string& note1, const std::string& note2) {
  return {
      {{"Name", name}, {"Type", type}, {"Code", code}, {"Description 1", note1}, {"Description 2", note2}}};
}

// A variable: its HTML value (Code) and its plain value for postings (Description 1).
TNewSiteRow Variable(const std::string& name, const std::string& html, const std::string& plain,
                     const std::string& note) {
  return Code(name, "Variable", html, plain, note);
}

// Rich text in the form the rich editor writes; colour 1 is a brick red.
std::string Rtf(const std::string& body) {
  return "{\\rtf1\\ansi\\deff0{\\fonttbl{\\f0\\fnil\\fcharset0 Arial;}}"
         "{\\colortbl\\red0\\green0\\blue0;\\red192\\green57\\blue43;}"
         "\\pard\\plain\\f0\\fs20 " +
         body + "\\par }";
}

const char* const kStyle =
    "<STYLE TYPE=\"text/css\">\r\n"
    "body { margin: 0; background: #eef1f4; color: #24292f; font-family: \"Segoe UI\", Tahoma, Helvetica, "
    "Arial, sans-serif; font-size: 16px; line-height: 1.5; }\r\n"
    "a { color: #0b5c8a; }\r\n"
    "a:hover { color: #c2571a; }\r\n"
    "table { width: 100%; border-collapse: collapse; font-size: inherit; }\r\n"
    "td { vertical-align: top; padding: 14px 8px; border-top: 1px solid #e3e8ed; }\r\n"
    "tr:first-child td { border-top: 0; }\r\n"
    ".top { background: #1d3f58; border-bottom: 4px solid #e8833a; }\r\n"
    ".top div, .main, .foot { max-width: 900px; margin: 0 auto; }\r\n"
    ".top div { padding: 14px 33px; }\r\n"
    ".brand { color: #ffffff; font-size: 24px; font-weight: bold; text-decoration: none; }\r\n"
    ".brand:hover { color: #ffffff; }\r\n"
    ".main { margin-top: 24px; padding: 8px 32px 24px; background: #ffffff; border: 1px solid #d8dee4; "
    "border-radius: 6px; }\r\n"
    ".foot { padding: 16px 32px 40px; color: #57606a; font-size: 14px; text-align: center; }\r\n"
    "h2 { margin: 28px 0 4px; padding-bottom: 4px; border-bottom: 2px solid #e8833a; color: #1d3f58; "
    "font-size: 22px; }\r\n"
    "h2 span { color: #8a96a3; font-size: 17px; font-weight: normal; }\r\n"
    "h3 { margin: 0 0 4px; color: #1d3f58; font-size: 19px; }\r\n"
    ".desc font { font-family: inherit; font-size: inherit; }\r\n"
    ".desc font[color=\"#000000\"] { color: #24292f; }\r\n"
    ".meta { margin: 0 0 10px; color: #57606a; font-size: 14px; }\r\n"
    ".meta a { margin-right: 6px; padding: 2px 10px; border-radius: 4px; background: #e8833a; color: "
    "#ffffff; font-weight: bold; text-decoration: none; }\r\n"
    ".shot, .icon, .date { width: 1%; padding-right: 20px; }\r\n"
    ".shot img { border: 1px solid #c5ccd3; }\r\n"
    ".date { color: #57606a; font-size: 14px; white-space: nowrap; }\r\n"
    ".link { font-weight: bold; font-size: 17px; }\r\n"
    ".welcome { padding: 36px 0 20px; text-align: center; }\r\n"
    ".welcome h1 { margin: 0 0 6px; color: #1d3f58; font-size: 34px; }\r\n"
    ".lead { margin: 0; color: #57606a; font-size: 19px; }\r\n"
    ".langs a { display: inline-block; margin: 28px 8px; padding: 10px 30px; border-radius: 4px; background: "
    "#1d3f58; color: #ffffff; font-size: 18px; text-decoration: none; }\r\n"
    ".langs a:hover { background: #e8833a; }\r\n"
    ".updated { color: #8a96a3; font-size: 14px; }\r\n"
    "@media (max-width: 640px) {\r\n"
    "  .top div { padding: 12px 16px; }\r\n"
    "  .main { margin: 12px 8px 0; padding: 4px 16px 16px; }\r\n"
    "  tr { display: block; padding: 10px 0; border-top: 1px solid #e3e8ed; }\r\n"
    "  tr:first-child { border-top: 0; }\r\n"
    "  td { display: block; padding: 4px 0; border-top: 0; }\r\n"
    "  .shot, .icon, .date { width: auto; padding-right: 0; }\r\n"
    "  .shot img { max-width: 100%; height: auto; }\r\n"
    "}\r\n"
    "</STYLE>";

}  // namespace

std::vector<TNewSiteRow> StarterCodes() {
  const std::string head =
      std::string(
          "<HEAD>\r\n"
          "<META HTTP-EQUIV=\"Content-Type\" CONTENT=\"text/html; charset=windows-1252\">\r\n"
          "<META NAME=\"viewport\" CONTENT=\"width=device-width, initial-scale=1\">\r\n"
          "<TITLE>%COMPANY%</TITLE>\r\n") +
      kStyle;
  return {
      Code("Head", "Page", head, "Start of every page: character set, title and style sheet",
           "Anfang jeder Seite: Zeichensatz, Titel und Stilvorlage"),
      Code("Head Stop", "Page", "%FEEDLINK%</HEAD>",
           "End of the head of the language pages, with the link to the page's news feed",
           "Ende des Kopfes der Sprachseiten, mit dem Verweis auf den Newsfeed der Seite"),
      Code("Body", "Page",
           "<BODY>\r\n"
           "<DIV CLASS=\"top\"><DIV><A CLASS=\"brand\" HREF=\"%HOME%\">%COMPANY%</A></DIV></DIV>\r\n"
           "<DIV CLASS=\"main\">",
           "Start of the body of every page: the banner", "Anfang des Rumpfes jeder Seite: das Banner"),
      Code("Body Stop", "Page",
           "</DIV>\r\n"
           "<P CLASS=\"foot\">%COPYRIGHT% &middot; <A HREF=\"mailto:%EMAIL%\">%EMAIL%</A></P>\r\n"
           "</BODY>",
           "End of every page: the footer", "Ende jeder Seite: die Fußzeile"),
      Code(
          "Title Page", "Page",
          "<DIV CLASS=\"welcome\">\r\n"
          "<H1>%COMPANY%</H1>\r\n"
          "<P CLASS=\"lead\">%SLOGAN%</P>\r\n"
          "<P CLASS=\"langs\"><A HREF=\"%LANGUAGE1%\">English</A> <A HREF=\"%LANGUAGE2%\">Deutsch</A></P>\r\n"
          "<P CLASS=\"updated\">Last update &middot; Letzte Aktualisierung: %LASTUPDATE%</P>",
          "The title page: choice of language", "Die Titelseite: Wahl der Sprache"),
      Code("Title Page Stop", "Page", "\r\n</DIV>", "End of the title page", "Ende der Titelseite"),
      Code("News Start", "Section", "<H2>News <SPAN>&middot; Neuigkeiten</SPAN></H2>\r\n<TABLE>",
           "Before the news", "Vor den Neuigkeiten"),
      Code("News", "Data",
           "<TR><TD CLASS=\"date\">%DATE%</TD>\r\n"
           "<TD><H3>%NEWSTITLE%</H3>\r\n"
           "<DIV CLASS=\"desc\">%NEWSBODY%</DIV></TD></TR>",
           "One news item", "Eine Neuigkeit"),
      Code("News Stop", "Section", "</TABLE>", "After the news", "Nach den Neuigkeiten"),
      Code("Products", "Section", "<H2>Products <SPAN>&middot; Produkte</SPAN></H2>\r\n<TABLE>",
           "Before the products", "Vor den Produkten"),
      Code("Product", "Data",
           "<TR><TD CLASS=\"shot\">%IMAGE%</TD>\r\n"
           "<TD><H3>%NAME%</H3>\r\n"
           "<P CLASS=\"meta\"><A HREF=\"%FILENAME%\">&raquo; %FILENAME%</A>%FILESIZE% &middot; %FILEDATE% "
           "&middot; %CATEGORY%</P>\r\n"
           "<DIV CLASS=\"desc\">%DESCRIPTION%</DIV></TD></TR>",
           "One product", "Ein Produkt"),
      Code("Products Stop", "Section", "</TABLE>", "After the products", "Nach den Produkten"),
      Code("Links", "Section", "<H2>Links <SPAN>&middot; Verweise</SPAN></H2>\r\n<TABLE>", "Before the links",
           "Vor den Verweisen"),
      Code("Link", "Data",
           "<TR><TD CLASS=\"icon\">%IMAGE%</TD>\r\n"
           "<TD><A CLASS=\"link\" HREF=\"%URL%\">%NAME%</A>\r\n"
           "<DIV CLASS=\"desc\">%DESCRIPTION%</DIV></TD></TR>",
           "One link", "Ein Verweis"),
      Code("Links Stop", "Section", "</TABLE>", "After the links", "Nach den Verweisen"),
      Variable("COMPANY", "Elmwood Software", "Elmwood Software", "Name of the publisher"),
      Variable("COPYRIGHT", "&copy; 2026 Elmwood Software", "(c) 2026 Elmwood Software",
               "Copyright line of the footer"),
      Variable("EMAIL", "info@example.com", "info@example.com", "E-mail address for questions"),
      Variable("SLOGAN", "Small programs, carefully made &middot; Kleine Programme, sorgf&auml;ltig gemacht",
               "Small programs, carefully made", "The line under the name on the title page"),
      Variable("WEBSITE", "https://www.example.com/", "https://www.example.com/", "Address of the web site"),
  };
}

std::vector<TNewSiteRow> SampleProducts() {
  auto product = [](const std::string& name, const std::string& category, const std::string& file,
                    const std::string& en, const std::string& de) {
    return TNewSiteRow{{{"Name", name},
                        {"Category", category},
                        {"Download Area Filename", file + ".zip"},
                        {"Screenshot", file + ".gif"},
                        {"Description 1", Rtf(en)},
                        {"Description 2", Rtf(de)},
                        {"Include", "1"}}};
  };
  return {
      product("Quillpad", "Application", "quillpad",
              "A fast, friendly \\b text editor\\b0  for notes, letters and source code. It opens files of "
              "any size in an instant, with \\cf1 syntax colouring\\cf0  for twenty languages.\\par "
              "Free updates for every 2.x version.",
              "Ein schneller, freundlicher \\b Texteditor\\b0  f\\'fcr Notizen, Briefe und Quelltexte. Er "
              "\\'f6ffnet Dateien jeder Gr\\'f6\\'dfe im Nu, mit \\cf1 Syntaxhervorhebung\\cf0  f\\'fcr "
              "zwanzig Sprachen.\\par Kostenlose Updates f\\'fcr jede 2.x-Version."),
      product("Ledgerlite", "Application", "ledgerlite",
              "Household and club accounts without the jargon. Enter income and expenses, print a "
              "\\b clear yearly report\\b0  and export to any spreadsheet.",
              "Haushalts- und Vereinskasse ohne Fachchinesisch. Einnahmen und Ausgaben erfassen, einen "
              "\\b \\'fcbersichtlichen Jahresbericht\\b0  drucken und in jede Tabellenkalkulation "
              "exportieren."),
      product("Safehaven Backup", "Application", "safehaven",
              "Backs up your documents \\b every evening\\b0 , quietly and automatically, to a second disk "
              "or a network folder. \\cf1 Restoring takes one click.\\cf0",
              "Sichert Ihre Dokumente \\b jeden Abend\\b0 , leise und automatisch, auf eine zweite "
              "Festplatte oder einen Netzwerkordner. \\cf1 Wiederherstellen mit einem Klick.\\cf0"),
      product("Pixelgarten", "Application", "pixelgarten",
              "A small \\i paint program\\i0  for icons and web graphics, with layers, a palette editor "
              "and \\b GIF export\\b0 .",
              "Ein kleines \\i Malprogramm\\i0  f\\'fcr Symbole und Webgrafiken, mit Ebenen, "
              "Paletteneditor und \\b GIF-Export\\b0 ."),
  };
}

std::vector<TNewSiteRow> SampleNews() {
  auto news = [](const std::string& date, const std::string& title1, const std::string& title2,
                 const std::string& body1, const std::string& body2, bool include) {
    return TNewSiteRow{{{"Date", date},
                        {"News Title 1", title1},
                        {"News Title 2", title2},
                        {"News Body 1", Rtf(body1)},
                        {"News Body 2", Rtf(body2)},
                        {"Include", include ? "1" : "0"}}};
  };
  return {
      news("2026-03-10 09:30:00", "Spring offer: 20% off every licence",
           "Frühjahrsangebot: 20 % auf jede Lizenz",
           "Until \\b 30 April\\b0 , every licence costs 20% less. The discount is applied at checkout.",
           "Bis zum \\b 30. April\\b0  kostet jede Lizenz 20 % weniger. Der Rabatt wird an der Kasse "
           "abgezogen.",
           true),
      news("2026-02-20 14:00:00", "Quillpad 2.0 released", "Quillpad 2.0 erschienen",
           "The new version of the friendly text editor from %COMPANY% brings \\b tabs\\b0 , a spelling "
           "checker and \\cf1 a dark colour scheme\\cf0 . Registered users update for free.\\par "
           "Download and details: %WEBSITE%\\par Questions: %EMAIL%",
           "Die neue Version des freundlichen Texteditors von %COMPANY% bringt \\b Registerkarten\\b0 , "
           "eine Rechtschreibpr\\'fcfung und \\cf1 ein dunkles Farbschema\\cf0 . Registrierte Anwender "
           "aktualisieren kostenlos.\\par Download und Einzelheiten: %WEBSITE%\\par Fragen: %EMAIL%",
           true),
      news("2026-01-15 11:00:00", "New: Ledgerlite for clubs", "Neu: Ledgerlite für Vereine",
           "Ledgerlite now keeps the accounts of \\b clubs and societies\\b0 , with member fees and a "
           "report for the annual meeting.",
           "Ledgerlite f\\'fchrt jetzt auch die Kasse von \\b Vereinen\\b0 , mit Mitgliedsbeitr\\'e4gen "
           "und einem Bericht f\\'fcr die Jahreshauptversammlung.",
           true),
      news("2026-03-20 08:00:00", "Draft: summer plans", "Entwurf: Sommerpläne", "Not yet for the site.",
           "Noch nicht f\\'fcr die Seite.", false),
  };
}

std::vector<TNewSiteRow> SampleLinks() {
  auto link = [](const std::string& category, const std::string& name, const std::string& url,
                 const std::string& image, const std::string& en, const std::string& de) {
    return TNewSiteRow{{{"Category", category},
                        {"Name", name},
                        {"URL", url},
                        {"Image", image},
                        {"Description 1", Rtf(en)},
                        {"Description 2", Rtf(de)},
                        {"Include", "1"}}};
  };
  return {
      link("Internet", "Shareware Authors' Forum", "https://forum.example.org/", "forum.gif",
           "Where small publishers swap tips on \\b marketing\\b0  and \\b support\\b0 .",
           "Hier tauschen kleine Hersteller Tipps zu \\b Marketing\\b0  und \\b Support\\b0  aus."),
      link("Internet", "Usenet Guide", "https://usenet.example.net/", "usenet.gif",
           "A gentle introduction to newsgroups and their \\cf1 netiquette\\cf0 .",
           "Eine freundliche Einf\\'fchrung in Newsgroups und ihre \\cf1 Netiquette\\cf0 ."),
      link("Internet", "Download Mirror", "https://mirror.example.com/", "mirror.gif",
           "A fast mirror for all our programs.", "Ein schneller Spiegel f\\'fcr alle unsere Programme."),
      link("Documentation", "HTML Reference", "https://html.example.com/", "",
           "Every tag and attribute, with \\i examples\\i0 .",
           "Alle Tags und Attribute, mit \\i Beispielen\\i0 ."),
  };
}

// The postings "Copy to newsgroups" makes of the news "Quillpad 2.0 released" with the default
// newsgroups misc.test and de.test and no signatures: variables replaced by their plain values,
// the lines wrapped, not yet marked for sending.
std::vector<TNewSiteRow> SamplePostings() {
  return {
      {{{"Subject", "Quillpad 2.0 released"},
        {"Newsgroups", "misc.test"},
        {"Body",
         "The new version of the friendly text editor from Elmwood Software\r\n"
         "brings tabs, a spelling checker and a dark colour scheme.\r\n"
         "Registered users update for free.\r\n"
         "Download and details: https://www.example.com/\r\n"
         "Questions: info@example.com\r\n"}}},
      {{{"Subject", "Quillpad 2.0 erschienen"},
        {"Newsgroups", "de.test"},
        {"Body",
         "Die neue Version des freundlichen Texteditors von Elmwood Software\r\n"
         "bringt Registerkarten, eine Rechtschreibprüfung und ein dunkles\r\n"
         "Farbschema. Registrierte Anwender aktualisieren kostenlos.\r\n"
         "Download und Einzelheiten: https://www.example.com/\r\n"
         "Fragen: info@example.com\r\n"}}},
  };
}

}  // namespace pagolin
