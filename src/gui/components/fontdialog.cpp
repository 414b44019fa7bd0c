#include "gui/components/fontdialog.h"

#include "gui/components/qtext.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QFontDialog>
#include <QFormLayout>
#include <QPixmap>
#include <QVBoxLayout>

namespace pagolin {
namespace {

// The sixteen colours of the standard font dialog, in its order.
struct TNamedColor {
  const char* name;
  QRgb rgb;
};
constexpr TNamedColor kColors[] = {
    {"Black", 0x000000},  {"Maroon", 0x800000},  {"Green", 0x008000}, {"Olive", 0x808000},
    {"Navy", 0x000080},   {"Purple", 0x800080},  {"Teal", 0x008080},  {"Gray", 0x808080},
    {"Silver", 0xC0C0C0}, {"Red", 0xFF0000},     {"Lime", 0x00FF00},  {"Yellow", 0xFFFF00},
    {"Blue", 0x0000FF},   {"Fuchsia", 0xFF00FF}, {"Aqua", 0x00FFFF},  {"White", 0xFFFFFF},
};

QPixmap Swatch(const QColor& color) {
  QPixmap swatch(16, 12);
  swatch.fill(color);
  return swatch;
}

}  // namespace

TFontDialog::TFontDialog(QWidget* parent) : QDialog(parent) {
  setWindowTitle(ToQ("Font"));
  chooser_ = new QFontDialog(this);
  chooser_->setObjectName(ToQ("fontChooser"));
  chooser_->setOptions(QFontDialog::NoButtons | QFontDialog::DontUseNativeDialog);
  chooser_->setWindowFlags(Qt::Widget);  // a part of this dialog, not a window of its own
  chooser_->setSizeGripEnabled(false);

  color_ = new QComboBox(this);
  color_->setObjectName(ToQ("cbxColor"));
  color_->addItem(ToQ("Automatic"));
  for (const TNamedColor& c : kColors) color_->addItem(Swatch(QColor(c.rgb)), ToQ(c.name), QColor(c.rgb));

  auto* colorRow = new QFormLayout;
  colorRow->addRow(ToQ("&Color:"), color_);
  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
  connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
  connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

  auto* layout = new QVBoxLayout(this);
  layout->addWidget(chooser_);
  layout->addLayout(colorRow);
  layout->addWidget(buttons);
}

QFont TFontDialog::Font() const { return chooser_->currentFont(); }

void TFontDialog::SetFont(const QFont& font) { chooser_->setCurrentFont(font); }

std::optional<QColor> TFontDialog::Color() const {
  const QVariant chosen = color_->currentData();
  if (!chosen.isValid()) return std::nullopt;
  return chosen.value<QColor>();
}

void TFontDialog::SetColor(const std::optional<QColor>& color) {
  if (!color) {
    color_->setCurrentIndex(0);
    return;
  }
  int index = color_->findData(*color);
  if (index < 0) {
    color_->addItem(Swatch(*color), color->name(QColor::HexRgb).toUpper(), *color);
    index = color_->count() - 1;
  }
  color_->setCurrentIndex(index);
}

bool TFontDialog::Execute() { return exec() == QDialog::Accepted; }

}  // namespace pagolin
