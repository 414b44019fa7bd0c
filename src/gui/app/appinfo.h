// The program's identity: shown in the caption, the about box and the application object.
// Version, home page, e-mail address, desktop id and licence come from the build (the top-level
// CMakeLists.txt), which also writes them into the desktop entry, the metadata and the man pages.
#pragma once

namespace pagolin {

inline constexpr char kAppName[] = "Pagolin";       // the application's component name
inline constexpr char kAppTitle[] = "Pagolin Pro";  // window caption and application title
inline constexpr char kAppVersion[] = PAGOLIN_VERSION;
inline constexpr char kPublisherHomepage[] = PAGOLIN_HOMEPAGE;
inline constexpr char kPublisherEmail[] = PAGOLIN_EMAIL;
inline constexpr char kDesktopId[] = PAGOLIN_APP_ID;  // the desktop entry's name without ".desktop"
inline constexpr char kLicense[] = PAGOLIN_LICENSE;  // SPDX identifier
inline constexpr char kHelpFile[] = "Pagolin.html";   // the help's contents page

}  // namespace pagolin
