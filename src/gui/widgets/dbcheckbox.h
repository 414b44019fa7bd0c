// TDBCheckBox: a check box on a logical field of the current record; NULL reads unchecked.
// A click by the person puts the data set into the edit state and writes the field at once
// (nothing is posted); Click() then fires.
#pragma once

#include <QCheckBox>
#include "gui/widgets/dbbinding.h"

namespace pagolin {

class TDBCheckBox : public QCheckBox, public TDBFieldProperties {
  Q_OBJECT

 public:
  explicit TDBCheckBox(QWidget* parent = nullptr) : TDBCheckBox(QString(), parent) {}
  TDBCheckBox(const QString& caption, QWidget* parent);

 signals:
  void Click();  // OnClick: the person changed the box
};

}  // namespace pagolin
