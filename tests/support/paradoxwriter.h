// Old tables for the import tests and benchmarks, written by pxlib itself: alpha, memo,
// logical, timestamp and date fields, a memo file, and a code page of choice in the header.
#pragma once

extern "C" {
#include <paradox.h>
}

#include <cmath>
#include <cstdlib>
#include <cstring>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

#include "core/platform/datetime.h"

namespace pagolin::testing {

struct TPxFieldSpec {
  std::string name;
  int type;    // pxfAlpha, pxfMemoBLOb, pxfLogical, pxfTimestamp, pxfDate
  int length;  // bytes in the record: alpha 1-255, memo leader + 10, logical 1, timestamp 8, date 4
};

// One value per field, nullopt for an empty one: alpha and memo their bytes (in the table's
// code page, alpha without zero bytes), logical "1" or "0", timestamp and date the stored
// text "YYYY-MM-DD HH:MM:SS".
using TPxRecord = std::vector<std::optional<std::string>>;

// Writes the table fileName and, when memoFile is not "", its memo file; throws
// std::runtime_error when pxlib fails.
inline void WriteParadoxTable(const std::string& fileName, const std::string& memoFile, int codePage,
                              const std::vector<TPxFieldSpec>& fields,
                              const std::vector<TPxRecord>& records) {
  pxdoc_t* doc = PX_new();
  // pxlib owns the field list and its names from here on and frees them with the table.
  auto* list = static_cast<pxfield_t*>(std::calloc(fields.size(), sizeof(pxfield_t)));
  int recordSize = 0;
  for (std::size_t i = 0; i < fields.size(); ++i) {
    list[i].px_fname = strdup(fields[i].name.c_str());
    list[i].px_ftype = static_cast<char>(fields[i].type);
    list[i].px_flen = fields[i].length;
    recordSize += fields[i].length;
  }
  if (PX_create_file(doc, list, static_cast<int>(fields.size()), fileName.c_str(), pxfFileTypNonIndexDB) < 0)
    throw std::runtime_error("pxlib cannot create " + fileName);
  doc->px_head->px_doscodepage = codePage;
  PX_set_tablename(doc, "table");  // writes the header again, now with the code page
  if (!memoFile.empty() && PX_create_blob_file(PX_new_blob(doc), memoFile.c_str()) < 0)
    throw std::runtime_error("pxlib cannot create " + memoFile);
  std::string record(static_cast<std::size_t>(recordSize), '\0');
  for (const TPxRecord& values : records) {
    std::fill(record.begin(), record.end(), '\0');
    char* data = record.data();
    for (std::size_t i = 0; i < fields.size(); data += fields[i].length, ++i) {
      if (!values.at(i)) continue;
      std::string v = *values[i];
      switch (fields[i].type) {
        case pxfAlpha: PX_put_data_alpha(doc, data, fields[i].length, v.data()); break;
        case pxfMemoBLOb:
          if (PX_put_data_blob(doc, data, fields[i].length, v.data(), static_cast<int>(v.size())) < 0)
            throw std::runtime_error("pxlib cannot write a memo of " + fileName);
          break;
        case pxfLogical: PX_put_data_byte(doc, data, 1, static_cast<char>(v == "1")); break;
        case pxfTimestamp:
        case pxfDate: {
          TDateTime dt = 0;
          if (!StorageTextToDateTime(v, dt)) throw std::runtime_error("bad date " + v);
          const double days = dt + 693594.0;  // 1 January of the year 1 is day 1
          if (fields[i].type == pxfDate)
            PX_put_data_long(doc, data, 4, static_cast<int>(std::floor(days)));
          else
            PX_put_data_double(doc, data, 8, std::round(days * 86400000.0));
          break;
        }
        default: throw std::runtime_error("no such field type in the test writer");
      }
    }
    if (PX_put_record(doc, record.data()) < 0)
      throw std::runtime_error("pxlib cannot write a record of " + fileName);
  }
  PX_close(doc);
  PX_delete(doc);
}

}  // namespace pagolin::testing
