#include "core/pages/uploadarchive.h"

#include <zip.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <memory>

#include "core/data/settings.h"
#include "core/platform/filenames.h"

namespace pagolin {
namespace {

std::string ZipError(zip_t* archive) { return zip_strerror(archive); }

// Closes what was left open on the way out of an error (discarding it: nothing is written).
struct TZipDiscard {
  void operator()(zip_t* archive) const { zip_discard(archive); }
};

}  // namespace

bool WriteUploadArchive(const std::vector<TSiteFile>& files, const std::string& archive, std::string& error) {
  error.clear();
  const std::string shown = "\"" + PathText(archive) + "\"";
  RemoveTemporaryFilesOf(archive);
  const std::string temporary = archive + ".tmp1";
  int code = 0;
  std::unique_ptr<zip_t, TZipDiscard> zip(zip_open(temporary.c_str(), ZIP_CREATE | ZIP_TRUNCATE, &code));
  if (!zip) {
    zip_error_t reason;
    zip_error_init_with_code(&reason, code);
    error = "The upload archive " + shown + " cannot be written: " + zip_error_strerror(&reason);
    zip_error_fini(&reason);
    return false;
  }
  for (const TSiteFile& file : files) {
    zip_source_t* source = zip_source_file(zip.get(), file.Path.c_str(), 0, -1);
    if (!source ||
        zip_file_add(zip.get(), file.Name.c_str(), source, ZIP_FL_ENC_GUESS | ZIP_FL_OVERWRITE) < 0) {
      error = "The upload archive " + shown + " cannot take \"" + PathText(file.Path) +
              "\": " + ZipError(zip.get());
      if (source) zip_source_free(source);
      return false;
    }
  }
  // The files are read now; an empty archive is written too (libzip would skip it).
  if (files.empty()) {
    zip.reset();
    static const char kEmptyZip[22] = {'P', 'K', 5, 6};
    return WriteFileAtomically(archive, std::string_view(kEmptyZip, sizeof kEmptyZip), error);
  }
  if (zip_close(zip.get()) != 0) {
    error = "The upload archive " + shown + " cannot be written: " + ZipError(zip.get());
    std::remove(temporary.c_str());
    return false;
  }
  zip.release();
  if (std::rename(temporary.c_str(), archive.c_str()) != 0) {
    error = "The upload archive " + shown + " cannot be replaced: " + std::strerror(errno);
    std::remove(temporary.c_str());
    return false;
  }
  return true;
}

bool UpdateUploadArchive(const std::vector<std::string>& fileList, const TSettings& settings,
                         std::string& error) {
  error.clear();
  const std::string archive = settings.ArchiveFileName();
  if (settings.IsFTPUpload() || archive.empty()) return true;
  return WriteUploadArchive(PresentFiles(fileList, settings), archive, error);
}

}  // namespace pagolin
