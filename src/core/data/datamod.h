// The data module: the site database, its five tables and their data sources, and the rules
// that hang on them (a new news item is stored at once; a sent posting cannot be marked again).
//
// Every other part reaches the tables through the single instance by these names. Errors of the
// table store propagate as EDatabaseError; nothing here shows a message itself.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "core/platform/ttable.h"
#include "core/platform/undohistory.h"

namespace pagolin {

// The site database: a name, a driver and a parameter list whose "path=" line gives the folder
// of the table files.
class TDatabase {
 public:
  std::string DatabaseName = "Pagolin";
  std::string DriverName = "STANDARD";
  std::vector<std::string> Params;

  // REQUIRES: a "path=" line. Throws EDatabaseError when it is missing or names no folder.
  void Open();
  void Close() { connected_ = false; }
  bool Connected() const { return connected_; }
  // The folder of the "path=" line, with its trailing delimiter ("" when there is none).
  std::string Path() const;

 private:
  bool connected_ = false;
};

class TDataModule2 {
 public:
  // siteFolder: the folder that holds the table files (the program's folder, or --site DIR).
  // Nothing is opened until DataModule2Create.
  explicit TDataModule2(std::string siteFolder);
  TDataModule2(const TDataModule2&) = delete;
  TDataModule2& operator=(const TDataModule2&) = delete;

  // Sets the path parameter, opens the database, then the tables in the order news, products,
  // postings, codes, links. An error stops there (later tables stay closed) and propagates.
  void DataModule2Create();

  // Empties the tables whose flag is set, in the order products, news, links, postings: close,
  // empty, open. Codes are never emptied. An error stops there; tables emptied stay empty, and
  // their undo histories are forgotten.
  void ClearTables(bool products, bool news, bool links, bool postings);

  // State change of dsNews: a record that has just entered the insert state is stored at once
  // with the current date and time and put into the edit state.
  void dsNewsStateChange(TDataSource& sender);
  // Data change of dsNewsPost: on a whole-record notification, EnableSendBox(true) exactly
  // when "Date sent" of the current record is empty.
  void dsNewsPostDataChange(TDataSource& sender, const TField* field);

  // The five tables in the order products, news, links, codes, postings.
  std::vector<TTable*> Tables() { return {&tblProducts, &tblNews, &tblLinks, &tblCodes, &tblNewsPost}; }

  // Set by the main window: enables or disables the postings' send check box.
  std::function<void(bool enabled)> EnableSendBox;

  TDatabase Database1;
  TTable tblProducts;
  TTable tblNews;
  TTable tblLinks;
  TTable tblCodes;
  TTable tblNewsPost;
  TDataSource dsProducts;
  TDataSource dsNews;
  TDataSource dsLinks;
  TDataSource dsCodes;
  TDataSource dsNewsPost;

  // One undo history per table for the run: its cancelled edits and deleted records, named by
  // the field that names a record.
  TUndoHistory undoProducts{tblProducts, "Name"};
  TUndoHistory undoNews{tblNews, "News Title 1"};
  TUndoHistory undoLinks{tblLinks, "Name"};
  TUndoHistory undoCodes{tblCodes, "Name"};
  TUndoHistory undoNewsPost{tblNewsPost, "Subject"};
  // The history of one of the five tables (nullptr for any other).
  TUndoHistory* UndoHistoryOf(const TTable& table);

 private:
  std::string siteFolder_;
};

}  // namespace pagolin
