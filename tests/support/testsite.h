// Helpers of the build tests: a temporary folder, files of given sizes, GIF headers.
#pragma once

#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <functional>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

#include "core/data/datamod.h"
#include "core/data/settings.h"
#include "core/platform/filenames.h"
#include "core/platform/hooks.h"

namespace pagolin::testing {

// A fresh empty folder under the system's temporary folder, removed at the end.
class TTempFolder {
 public:
  TTempFolder() {
    const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
    path_ = std::filesystem::temp_directory_path() /
            ("pagolin-build-" + std::string(info ? info->name() : "x") + "-" + std::to_string(::getpid()));
    std::filesystem::remove_all(path_);
    std::filesystem::create_directories(path_);
  }
  ~TTempFolder() {
    std::error_code ec;
    std::filesystem::permissions(path_, std::filesystem::perms::owner_all, ec);
    std::filesystem::remove_all(path_, ec);
  }
  TTempFolder(const TTempFolder&) = delete;
  TTempFolder& operator=(const TTempFolder&) = delete;
  // With the trailing delimiter.
  std::string Path() const { return IncludeTrailingPathDelimiter(path_.string()); }

 private:
  std::filesystem::path path_;
};

inline void WriteBytes(const std::string& file, const std::string& bytes) {
  std::ofstream out(file, std::ios::binary | std::ios::trunc);
  out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

// A GIF header of the given logical screen size, padded with zero bytes to totalBytes.
inline std::string GifBytes(unsigned width, unsigned height, size_t totalBytes = 13) {
  std::string b = "GIF89a";
  b += static_cast<char>(width & 0xFF);
  b += static_cast<char>(width >> 8);
  b += static_cast<char>(height & 0xFF);
  b += static_cast<char>(height >> 8);
  b += std::string(3, '\0');
  if (totalBytes > b.size()) b += std::string(totalBytes - b.size(), '\0');
  return b;
}

inline std::string ReadText(const std::string& file) {
  std::ifstream in(file, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// A site made by pagolin-newsite with every code removed, open in a data module, with default
// settings (archive method, the site folder as output folder). Rows and codes are added with
// the table interface, in UTF-8.
class TBuildSite {
 public:
  TBuildSite() : site_(folder_.Path() + "site" + PathDelim), settings_(site_) {
    const std::string cmd = std::string("'") + PAGOLIN_NEWSITE + "' '" + site_ + "' >/dev/null";
    if (std::system(cmd.c_str()) != 0) throw std::runtime_error("pagolin-newsite failed");
    data_ = std::make_unique<TDataModule2>(site_);
    data_->DataModule2Create();
    TTable& codes = data_->tblCodes;
    for (codes.First(); !codes.IsEmpty(); codes.First()) codes.Delete();
  }
  const std::string& Site() const { return site_; }
  TDataModule2& Data() { return *data_; }
  TSettings& Settings() { return settings_; }

  void AddCode(const std::string& name, const std::string& code, const std::string& type = "Section",
               const std::string& description1 = "") {
    Add(data_->tblCodes, {{"Name", name}, {"Type", type}, {"Code", code}, {"Description 1", description1}});
  }
  void AddVariable(const std::string& name, const std::string& html, const std::string& plain = "") {
    AddCode(name, html, "Variable", plain);
  }
  void AddNews(const std::string& date, const std::string& title1, const std::string& title2,
               const std::string& body1, const std::string& body2, bool include = true) {
    Add(data_->tblNews, {{"Date", date},
                         {"News Title 1", title1},
                         {"News Title 2", title2},
                         {"News Body 1", body1},
                         {"News Body 2", body2},
                         {"Include", include ? "True" : "False"}});
  }
  void AddProduct(const std::string& name, const std::string& category, const std::string& download,
                  const std::string& screenshot, const std::string& d1, const std::string& d2,
                  bool include = true) {
    Add(data_->tblProducts, {{"Name", name},
                             {"Category", category},
                             {"Download Area Filename", download},
                             {"Screenshot", screenshot},
                             {"Description 1", d1},
                             {"Description 2", d2},
                             {"Include", include ? "True" : "False"}});
  }
  void AddLink(const std::string& category, const std::string& name, const std::string& url,
               const std::string& image, const std::string& d1, const std::string& d2, bool include = true) {
    Add(data_->tblLinks, {{"Category", category},
                          {"Name", name},
                          {"URL", url},
                          {"Image", image},
                          {"Description 1", d1},
                          {"Description 2", d2},
                          {"Include", include ? "True" : "False"}});
  }
  std::string Page(const std::string& name) const { return ReadText(site_ + name); }

 private:
  static void Add(TTable& table, const std::vector<std::pair<std::string, std::string>>& fields) {
    table.Append();
    for (const auto& [name, value] : fields) {
      TField& f = table.FieldByName(name);
      if (f.Kind() == TFieldKind::fkLogical)
        f.SetAsBoolean(value == "True");
      else if (f.Kind() == TFieldKind::fkDateTime) {
        TDateTime dt = 0;
        if (!StorageTextToDateTime(value, dt)) throw std::runtime_error("bad date " + value);
        f.SetAsDateTime(dt);
      } else {
        f.SetAsString(value);
      }
    }
    table.Post();
  }

  TTempFolder folder_;
  std::string site_;
  TSettings settings_;
  std::unique_ptr<TDataModule2> data_;
};

// Records the messages shown while it lives.
class TMessageRecorder {
 public:
  TMessageRecorder() {
    TMessageHooks hooks;
    hooks.showMessage = [this](const std::string& text) { messages.push_back(text); };
    hooks.showError = [this](const std::string& text, const std::string&) { messages.push_back(text); };
    hooks.processMessages = [this] {
      if (onProcessMessages) onProcessMessages();
    };
    previous_ = SetMessageHooks(std::move(hooks));
  }
  ~TMessageRecorder() { SetMessageHooks(std::move(previous_)); }
  std::vector<std::string> messages;
  std::function<void()> onProcessMessages;

 private:
  TMessageHooks previous_;
};

}  // namespace pagolin::testing
