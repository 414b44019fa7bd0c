#!/usr/bin/python3
"""The news feeds and the sitemap of `pagolin --build`, read back by a real feed library
(feedparser) and a strict XML parser (lxml), on a site made by pagolin-newsite whose news rows
are written straight into its SQLite file.

usage: check_feeds.py PAGOLIN PAGOLIN_NEWSITE
"""
import calendar
import os
import re
import shutil
import sqlite3
import subprocess
import sys
import tempfile
import time
import unittest

try:
    import feedparser
    import lxml.etree
    import lxml.html
except ImportError as missing:  # the test environment lacks a package
    sys.exit(f"{missing}: install python3-feedparser and python3-lxml (scripts/setup test does)")

PROGRAM, NEWSITE = sys.argv[1], sys.argv[2]
ATOM = "{http://www.w3.org/2005/Atom}"
SITEMAP = "{http://www.sitemaps.org/schemas/sitemap/0.9}"
SITE_URL = "https://www.example.com/our site"  # typed without its final "/"
FOLDER_URL = "https://www.example.com/our%20site/"

# Local times in a zone with summer time, so that the conversion to UTC is seen at work.
os.environ["TZ"] = "Europe/Berlin"
time.tzset()

# Characters XML cannot carry: the feed drops them, the page keeps them.
FORBIDDEN = re.compile("[\x00-\x08\x0b\x0c\x0e-\x1f\x7f]")

# Texts that XML and HTML treat specially, control characters and Windows-1252 letters (the
# page keeps them in the code page, the feed in UTF-8).
NASTY_TITLE = "AT&T <b>bold?</b> ]]> ctrl\x01\x0b end \u20ac\u0160\u0153\u0178 M\u00fcller"
NASTY_PLAIN = "Fish & Chips <hot>\r\n]]> x\x02y\x1f \u20ac \u0160 \u0153 \u0178 \u00fc %COMPANY%"
NASTY_RTF = ("{\\rtf1\\ansi{\\fonttbl{\\f0\\fnil Arial;}}{\\colortbl\\red0\\green0\\blue0;\\red255\\green0"
             "\\blue0;}\\pard\\plain\\f0\\fs20 R\\'e9sum\\'e9 \\cf1 red\\cf0  & <b> \u20ac ]]>\\par }")


def run_build(site):
    done = subprocess.run([PROGRAM, "--build", "--site", site], capture_output=True, text=True,
                          env=dict(os.environ, QT_QPA_PLATFORM="offscreen"))
    if done.returncode != 0:
        raise AssertionError(f"pagolin --build failed: {done.stderr}")
    return done.stdout


def write_settings(site, site_url):
    with open(os.path.join(site, "pagolin.ini"), "w", newline="") as ini:
        ini.write(f"[Settings]\r\nSiteURL={site_url}\r\n[Identification]\r\nOrganization=Elmwood & Sons\r\n")


def news_dates():
    """Date texts of the included news: newest first, a summer and a winter half."""
    return ([f"2025-07-{30 - 2 * i:02d} {10 + i % 3:02d}:15:00" for i in range(12)] +
            [f"2025-01-{28 - 2 * i:02d} 08:45:00" for i in range(11)])


def make_site(folder):
    site = os.path.join(folder, "site")
    subprocess.run([NEWSITE, site], check=True, capture_output=True)
    write_settings(site, SITE_URL)
    with sqlite3.connect(os.path.join(site, "codes.db")) as codes:
        codes.execute("UPDATE codes SET Code = ? WHERE Name = 'News'",
                      ("<!--ITEM-->%NEWSTITLE%<!--BODY-->%NEWSBODY%<!--END-->",))
    rows = []
    for i, date in enumerate(news_dates()):
        title1, body1, body2 = f"Item {i}", f"Text {i} & more", f"Text {i} auf Deutsch"
        if i == 1:
            title1, body1, body2 = NASTY_TITLE, NASTY_PLAIN, NASTY_RTF
        rows.append((date, title1, f"Eintrag {i}", body1, body2, 1))
    rows.append(("2025-08-01 12:00:00", "Hidden", "Versteckt", "no", "nein", 0))  # newest, excluded
    rows.append(("2025-07-31 12:00:00", "Unset", "Offen", "no", "nein", None))   # Include empty
    with sqlite3.connect(os.path.join(site, "news.db")) as news:
        news.executemany('INSERT INTO news ("Date", "News Title 1", "News Title 2", "News Body 1", '
                         '"News Body 2", "Include") VALUES (?, ?, ?, ?, ?, ?)', rows)
    return site


def utc_of(date_text):
    return time.gmtime(time.mktime(time.strptime(date_text, "%Y-%m-%d %H:%M:%S")))


def read(path):
    with open(path, "rb") as f:
        return f.read()


def page_rows(site, language):
    """(title HTML, body HTML) of each news row of a language page, in page order, with the
    characters the feed cannot carry removed."""
    text = read(os.path.join(site, f"index{language}.htm")).decode("cp1252").replace("\r\n", "\n")
    return [(FORBIDDEN.sub("", t), FORBIDDEN.sub("", b))
            for t, b in re.findall(r"<!--ITEM-->(.*?)<!--BODY-->(.*?)<!--END-->", text, re.S)]


def visible(html):
    return lxml.html.fromstring(f"<div>{html}</div>").text_content()


class SiteFeeds(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        cls.folder = tempfile.mkdtemp(prefix="pagolin-feeds-")
        cls.site = make_site(cls.folder)
        cls.listing = run_build(cls.site)

    @classmethod
    def tearDownClass(cls):
        shutil.rmtree(cls.folder, ignore_errors=True)

    def copy_of_site(self, name):
        return shutil.copytree(self.site, os.path.join(self.folder, name))

    def feed(self, language, site=None):
        raw = read(os.path.join(site or self.site, f"index{language}.xml"))
        parsed = feedparser.parse(raw)
        self.assertFalse(parsed.bozo, parsed.get("bozo_exception"))
        return raw, parsed

    def test_feeds_hold_the_newest_twenty_included_news_with_their_dates(self):
        included = news_dates()
        for language in (1, 2):
            raw, parsed = self.feed(language)
            root = lxml.etree.fromstring(raw)  # strict: any XML fault raises
            self.assertEqual(root.tag, ATOM + "feed")
            self.assertTrue(raw.startswith(b'<?xml version="1.0" encoding="utf-8"?>\r\n'))
            raw.decode("utf-8")
            self.assertEqual(parsed.version, "atom10")
            self.assertEqual(parsed.feed.link, f"{FOLDER_URL}index{language}.htm")
            self.assertEqual(parsed.feed.title, "Elmwood & Sons - " + ("English", "Deutsch")[language - 1])
            self.assertEqual(len(parsed.entries), 20)
            self.assertEqual([e.updated_parsed[:6] for e in parsed.entries],
                             [utc_of(d)[:6] for d in included[:20]])
            self.assertEqual(parsed.feed.updated_parsed, parsed.entries[0].updated_parsed)
            self.assertNotIn("Hidden", raw.decode("utf-8"))
            self.assertNotIn("Unset", raw.decode("utf-8"))
            ids = [e.id for e in parsed.entries]
            self.assertEqual(len(set(ids)), 20)
            self.assertTrue(all(i.startswith("tag:www.example.com,2000:/our%20site/news/") for i in ids), ids)
            self.assertTrue(all(e.link == f"{FOLDER_URL}index{language}.htm" for e in parsed.entries))
        self.assertFalse(set(e.id for e in self.feed(1)[1].entries) & set(e.id for e in self.feed(2)[1].entries))

    def test_entries_show_the_news_as_the_page_does(self):
        for language in (1, 2):
            rows = page_rows(self.site, language)
            self.assertEqual(len(rows), 23)
            root = lxml.etree.fromstring(self.feed(language)[0])
            entries = [(e.findtext(ATOM + "title"), e.findtext(ATOM + "content")) for e in root.iter(ATOM + "entry")]
            self.assertEqual(entries, rows[:20])
        # What a reader shows of the nasty texts: every character but the control characters.
        parsed = self.feed(1)[1]
        self.assertEqual(visible(parsed.entries[1].title), FORBIDDEN.sub("", NASTY_TITLE))
        self.assertEqual(visible(parsed.entries[1].content[0].value),
                         FORBIDDEN.sub("", NASTY_PLAIN.replace("\r\n", "")).replace("%COMPANY%", "Elmwood Software"))
        self.assertEqual(visible(self.feed(2)[1].entries[1].content[0].value), "R\u00e9sum\u00e9 red & <b> \u20ac ]]>")

    def test_ids_stay_the_same_across_builds_and_edits(self):
        site = self.copy_of_site("edited")
        before = read(os.path.join(site, "index1.xml"))
        run_build(site)
        self.assertEqual(read(os.path.join(site, "index1.xml")), before)  # an unchanged site, an unchanged feed
        ids = [e.id for e in self.feed(1, site)[1].entries]
        with sqlite3.connect(os.path.join(site, "news.db")) as news:
            news.execute('UPDATE news SET "News Title 1" = ?, "News Body 1" = ? WHERE "News Title 1" = ?',
                         ("Item 5, corrected", "Edited text", "Item 5"))
            news.execute('INSERT INTO news ("Date", "News Title 1", "News Body 1", "Include") '
                         "VALUES ('2025-07-31 09:00:00', 'Fresh', 'New', 1)")
        run_build(site)
        after = self.feed(1, site)[1].entries
        self.assertEqual(after[0].title, "Fresh")
        self.assertEqual([e.id for e in after[1:]], ids[:19])  # the oldest one made room
        self.assertNotIn(after[0].id, ids)
        self.assertEqual((after[6].id, after[6].title, visible(after[6].content[0].value)),
                         (ids[5], "Item 5, corrected", "Edited text"))

    def test_sitemap_lists_the_title_page_and_the_language_pages(self):
        root = lxml.etree.fromstring(read(os.path.join(self.site, "sitemap.xml")))
        self.assertEqual(root.tag, SITEMAP + "urlset")
        self.assertEqual([loc.text for loc in root.iter(SITEMAP + "loc")],
                         [FOLDER_URL + name for name in ("index.htm", "index1.htm", "index2.htm")])
        for name in ("index1.xml", "index2.xml", "sitemap.xml"):
            self.assertIn(f"\u2713 {name}\n", self.listing)

    def test_without_a_site_address_no_feed_is_written(self):
        site = self.copy_of_site("plain")
        for name in ("index1.xml", "index2.xml", "sitemap.xml"):
            os.remove(os.path.join(site, name))
        write_settings(site, "  ")
        listing = run_build(site)
        self.assertNotIn(".xml", listing)
        self.assertEqual(sorted(n for n in os.listdir(site) if n.endswith(".xml")), [])
        self.assertNotIn(b"application/atom+xml", read(os.path.join(site, "index1.htm")))


if __name__ == "__main__":
    unittest.main(argv=sys.argv[:1], verbosity=2)
