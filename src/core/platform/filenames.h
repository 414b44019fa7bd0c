// File-name helpers. The delimiter is the platform's ("/" here); where a folder part ends
// at "backslash or colon" on Windows, it ends at the delimiter here. File names are the file
// system's bytes (UTF-8 here); texts of the program are UTF-8 too, but a name on disk need
// not be well-formed: PathText makes one into text for a message.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace pagolin {

#ifdef _WIN32
inline constexpr char PathDelim = '\\';
inline constexpr std::string_view PathSeparators = "\\:";
#else
inline constexpr char PathDelim = '/';
inline constexpr std::string_view PathSeparators = "/";
#endif

// Everything up to and including the last delimiter ("" when there is none).
std::string ExtractFilePath(std::string_view fileName);
// Everything after the last delimiter.
std::string ExtractFileName(std::string_view fileName);
// The extension with its dot ("" when the name part has none).
std::string ExtractFileExt(std::string_view fileName);
// Replaces the extension of the name part (or appends one); ext includes its dot.
std::string ChangeFileExt(std::string_view fileName, std::string_view ext);
std::string IncludeTrailingPathDelimiter(std::string_view path);
// A relative path made full against the working folder (once, when a program is given it).
std::string AbsolutePath(std::string_view path);
std::string ExcludeTrailingPathDelimiter(std::string_view path);

bool FileExists(const std::string& fileName);  // a regular file (not a folder)
bool DirectoryExists(const std::string& dirName);
// Size in bytes, -1 when the file cannot be read.
std::int64_t FileSizeOf(const std::string& fileName);

// The folder of the running executable, with its trailing delimiter.
std::string ProgramFolder();
// The file name of the running executable without its extension ("pagolin").
std::string ProgramName();

// A file name as text, for messages: each broken UTF-8 piece becomes U+FFFD.
std::string PathText(std::string_view path);
// Text as a file name: the text of a table field or the settings, in the file system's bytes
// (the same bytes here).
std::string TextPath(std::string_view text);

// Writes a whole file or nothing: a temporary file beside the target (its name followed by
// ".tmp" and digits), then a rename. Returns false and fills error (a readable reason that
// names the file, or the folder when that does not exist) when it cannot.
bool WriteFileAtomically(const std::string& fileName, std::string_view contents, std::string& error);
// Reads a whole regular file (never waits on a pipe or a device); false and a reason when it
// cannot. ReadFileStart reads at most maxBytes from its start.
bool ReadWholeFile(const std::string& fileName, std::string& contents, std::string& error);
bool ReadFileStart(const std::string& fileName, size_t maxBytes, std::string& contents, std::string& error);
// Removes what WriteFileAtomically left of fileName when it was stopped: the regular files
// named fileName + ".tmp" + digits, and nothing else.
void RemoveTemporaryFilesOf(const std::string& fileName);

}  // namespace pagolin
