#include "core/pages/outputfile.h"

#include <filesystem>
#include <system_error>

#include "core/platform/filenames.h"
#include "core/platform/hooks.h"

namespace pagolin {

bool LiesInFolder(const std::string& fileName, const std::string& folder) {
  std::error_code ec;
  const bool same = std::filesystem::equivalent(ExtractFilePath(fileName), folder, ec);
  return !ec && same;
}

bool CopyFileWhole(const std::string& source, const std::string& target, std::string& error) {
  std::string contents;
  return ReadWholeFile(source, contents, error) && WriteFileAtomically(target, contents, error);
}

std::optional<std::string> OutputFileName(const std::string& chosen, const std::string& outputFolder) {
  const std::string name = ExtractFileName(chosen);
  if (LiesInFolder(chosen, outputFolder)) return name;
  const std::string shown = PathText(name);
  if (MessageDlg("Copy " + shown + " into the upload folder?", TMsgDlgType::mtConfirmation,
                 TMsgDlgButtons::mbYesNo) != TModalResult::mrYes) {
    return name;
  }
  const std::string target = IncludeTrailingPathDelimiter(outputFolder) + name;
  if (FileExists(target) &&
      MessageDlg("The upload folder already holds a file named " + shown + ". Replace it?",
                 TMsgDlgType::mtConfirmation, TMsgDlgButtons::mbYesNo) != TModalResult::mrYes) {
    return name;
  }
  std::string error;
  if (!CopyFileWhole(chosen, target, error)) {
    ShowError("Could not copy " + shown + " into the upload folder: " + error);
    return std::nullopt;
  }
  return name;
}

}  // namespace pagolin
