// For the data-aware control tests: a site made by pagolin-newsite in a temporary folder, open
// in a data module; message hooks that record every text shown and answer questions as told
// (messagerecorder.h);
// the table files read back byte for byte or through a connection of their own.
#pragma once

#include <QProcess>
#include <QTemporaryDir>
#include <QTest>
#include <fstream>
#include <iterator>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

#include "core/data/datamod.h"
#include "core/platform/filenames.h"
#include "core/platform/hooks.h"
#include "core/platform/sqlitedb.h"
#include "gui/components/qtext.h"
#include "support/messagerecorder.h"

namespace pagolin::test {

// Prepares the sample site in folder with pagolin-newsite; false when the tool failed.
inline bool PrepareSampleSite(const QString& folder) {
  QProcess tool;
  tool.start(QStringLiteral(PAGOLIN_NEWSITE), {folder, QStringLiteral("--sample")});
  return tool.waitForFinished(30000) && tool.exitStatus() == QProcess::NormalExit && tool.exitCode() == 0;
}

// The recorder's messages, errors, questions and answer are the site's.
class TDBTestSite : public TMessageRecorder {
 public:
  explicit TDBTestSite(bool sample = true) {
    if (!dir_.isValid()) throw std::runtime_error("no temporary folder");
    QStringList args{dir_.path()};
    if (sample) args << QStringLiteral("--sample");
    QProcess tool;
    tool.start(QStringLiteral(PAGOLIN_NEWSITE), args);
    if (!tool.waitForFinished(30000) || tool.exitCode() != 0)
      throw std::runtime_error("pagolin-newsite failed");
    folder_ = IncludeTrailingPathDelimiter(FromQ(dir_.path()));
    data_ = std::make_unique<TDataModule2>(folder_);
    data_->DataModule2Create();
  }
  TDBTestSite(const TDBTestSite&) = delete;
  TDBTestSite& operator=(const TDBTestSite&) = delete;

  TDataModule2& Data() { return *data_; }
  std::string File(const std::string& name) const { return folder_ + name; }

  std::string Bytes(const std::string& name) const {
    std::ifstream in(File(name), std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
  }
  // The first column of the first row of a query on a table file, "<null>" or "<none>".
  std::string Scalar(const std::string& name, const std::string& sql) const {
    TSqliteDb db;
    if (db.Open(File(name), SQLITE_OPEN_READONLY) != SQLITE_OK) return "<no file>";
    TSqliteStmt stmt;
    if (stmt.Prepare(db.Handle(), sql) != SQLITE_OK) return "<bad sql: " + db.ErrorMessage() + ">";
    return stmt.Step() == SQLITE_ROW ? stmt.ColumnText(0).value_or("<null>") : "<none>";
  }
  void Sql(const std::string& name, const std::string& sql) const {
    TSqliteDb db;
    if (db.Open(File(name), SQLITE_OPEN_READWRITE) != SQLITE_OK || db.Exec(sql) != SQLITE_OK)
      throw std::runtime_error("sql failed: " + sql);
  }

 private:
  QTemporaryDir dir_;
  std::string folder_;
  std::unique_ptr<TDataModule2> data_;
};

// Types text key by key as a keyboard does: each key goes to the widget that has the focus
// then (w when none has), so a cell editor that opens on the first key gets the rest.
inline void TypeKeys(QWidget* w, const std::string& text) {
  for (char c : text) {
    QWidget* focus = QApplication::focusWidget();
    QTest::keyClick(focus ? focus : w, c);
  }
}

}  // namespace pagolin::test
