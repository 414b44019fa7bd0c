// TFontDialog: the font dialog of the rich editor's popup menu. Face, style, size and underline
// come from Qt's font chooser; the colour is one of the sixteen standard colours, or
// "Automatic" for the text's default colour.
#pragma once

#include <QColor>
#include <QDialog>
#include <QFont>

#include <optional>

class QComboBox;
class QFontDialog;

namespace pagolin {

class TFontDialog : public QDialog {
  Q_OBJECT

 public:
  explicit TFontDialog(QWidget* parent = nullptr);

  QFont Font() const;
  void SetFont(const QFont& font);
  // None: "Automatic". A colour that is not among the standard ones is added to the list.
  std::optional<QColor> Color() const;
  void SetColor(const std::optional<QColor>& color);

  // Shows the dialog modally; true when the user confirmed it.
  bool Execute();

 private:
  QFontDialog* chooser_;
  QComboBox* color_;
};

}  // namespace pagolin
