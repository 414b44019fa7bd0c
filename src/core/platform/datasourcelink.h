// TDataSourceLink: a control's registration with a data source, ended by whichever goes first:
// the link (its destructor unregisters) or the data source (the link then forgets it).
#pragma once

#include <functional>

#include "core/platform/ttable.h"

namespace pagolin {

class TDataSourceLink {
 public:
  TDataSourceLink() = default;
  ~TDataSourceLink() { Disconnect(); }
  TDataSourceLink(const TDataSourceLink&) = delete;
  TDataSourceLink& operator=(const TDataSourceLink&) = delete;

  // Listens to source (nullptr: to none) instead of the one before; gone runs when the data
  // source is destroyed while listened to (Source() is then nullptr).
  void Connect(TDataSource* source, std::function<void(TDataEvent event, const TField* field)> event,
               std::function<void()> gone) {
    Disconnect();
    source_ = source;
    if (!source_) return;
    handle_ = source_->AddLink(std::move(event), [this, gone = std::move(gone)] {
      source_ = nullptr;
      handle_ = 0;
      if (gone) gone();
    });
  }
  void Disconnect() {
    if (source_ && handle_) source_->RemoveLink(handle_);
    source_ = nullptr;
    handle_ = 0;
  }
  TDataSource* Source() const { return source_; }

 private:
  TDataSource* source_ = nullptr;
  int handle_ = 0;
};

}  // namespace pagolin
