// The program's identity: shown in the caption, the about box and the application object.
#pragma once

namespace pagolin {

inline constexpr char kAppName[] = "Pagolin";        // the application's component name
inline constexpr char kAppTitle[] = "Pagolin Pro";    // window caption and application title
inline constexpr char kAppVersion[] = "1.12";
inline constexpr char kHelpFile[] = "Pagolin.html";   // installed beside the program

}  // namespace pagolin
