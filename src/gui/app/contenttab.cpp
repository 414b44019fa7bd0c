#include "gui/app/contenttab.h"

#include <QPainter>
#include <QPixmap>
#include <algorithm>
#include <utility>

#include "core/platform/ttable.h"
#include "gui/components/hinttracker.h"

namespace pagolin {

namespace {

// The smallest height (grid above) or width (grid left) of either panel.
constexpr int kPanelMinSize = 88;

QString Name(const char* name) { return QString::fromLatin1(name); }

// The toggle's picture: a window split once across and once down.
QIcon ToggleGlyph() {
  QPixmap pm(32, 32);
  pm.fill(Qt::transparent);
  QPainter p(&pm);
  p.setRenderHint(QPainter::Antialiasing);
  p.setPen(QPen(QColor(0x30, 0x30, 0x30), 2));
  p.setBrush(QColor(0xe8, 0xf0, 0xfa));
  p.drawRect(QRectF(5, 5, 22, 22));
  p.drawLine(QPointF(5, 14), QPointF(27, 14));
  p.drawLine(QPointF(14, 14), QPointF(14, 27));
  return QIcon(pm);
}

// The key that does what a navigator button does.
QString NavigatorKey(TNavigateBtn button) {
  switch (button) {
    case TNavigateBtn::nbInsert: return QStringLiteral("Insert");
    case TNavigateBtn::nbDelete: return QStringLiteral("Ctrl+Delete");
    case TNavigateBtn::nbPost: return QStringLiteral("Ctrl+Enter");
    case TNavigateBtn::nbCancel: return QStringLiteral("Escape");
    default: return {};
  }
}

}  // namespace

TContentTab::TContentTab(const TContentTabNames& names, TDataSource& source, const char* gridHint,
                         const TNavigatorHints& hints, QWidget* parent)
    : QWidget(parent), source_(source) {
  setObjectName(Name(names.page));
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(4, 4, 4, 4);
  splitter_ = new QSplitter(Qt::Vertical, this);
  splitter_->setObjectName(Name(names.splitter));
  splitter_->setChildrenCollapsible(false);
  splitter_->setHandleWidth(6);
  layout->addWidget(splitter_);

  // Created in the order the keyboard visits them: grid, strip, editors.
  gridPanel_ = new QWidget(splitter_);
  gridPanel_->setObjectName(Name(names.gridPanel));
  gridPanel_->setMinimumSize(kPanelMinSize, kPanelMinSize);
  auto* gridLayout = new QVBoxLayout(gridPanel_);
  gridLayout->setContentsMargins(0, 0, 0, 0);
  grid_ = new TDBGrid(gridPanel_);
  grid_->setObjectName(Name(names.grid));
  SetHint(grid_, Name(gridHint));
  grid_->SetDataSource(&source);
  gridLayout->addWidget(grid_);

  editorPanel_ = new QWidget(splitter_);
  editorPanel_->setObjectName(Name(names.editorPanel));
  // An explicit minimum lets the panel be narrower than its strip, which is then cut off at
  // the right, rather than forcing the window wider.
  editorPanel_->setMinimumSize(kPanelMinSize, kPanelMinSize);
  editors_ = new QVBoxLayout(editorPanel_);
  editors_->setContentsMargins(0, 0, 0, 0);
  editors_->setSpacing(4);
  strip_ = new TFlowLayout(nullptr, 6);
  editors_->addLayout(strip_);

  toggle_ = new QToolButton(editorPanel_);
  toggle_->setObjectName(Name(names.toggle));
  toggle_->setIcon(ToggleGlyph());
  toggle_->setAutoRaise(true);
  SetHint(toggle_, QStringLiteral("Toggle orientation"));
  connect(toggle_, &QToolButton::clicked, this, &TContentTab::ToggleOrientation);
  strip_->addWidget(toggle_);

  navigator_ = new TDBNavigator(editorPanel_);
  navigator_->setObjectName(Name(names.navigator));
  navigator_->SetVisibleButtons(
      {TNavigateBtn::nbInsert, TNavigateBtn::nbDelete, TNavigateBtn::nbPost, TNavigateBtn::nbCancel});
  // Each hint names the button's key (in the grid, or anywhere on the tab).
  const std::pair<TNavigateBtn, const char*> buttons[] = {{TNavigateBtn::nbInsert, hints.insert},
                                                          {TNavigateBtn::nbDelete, hints.remove},
                                                          {TNavigateBtn::nbPost, hints.post},
                                                          {TNavigateBtn::nbCancel, hints.cancel}};
  for (const auto& [button, hint] : buttons) {
    navigator_->SetHint(button, Name(hint));
    navigator_->SetHint(button,
                        navigator_->Hint(button) + QStringLiteral(" (") + NavigatorKey(button) + u')');
  }
  navigator_->SetDataSource(&source);
  strip_->addWidget(navigator_);

  splitter_->setStretchFactor(0, 1);
  splitter_->setStretchFactor(1, 1);
}

void TContentTab::ToggleOrientation() {
  // Each direction keeps its own division, so toggling twice gives the first layout again.
  const QList<int> previous = std::exchange(otherSizes_, splitter_->sizes());
  splitter_->setOrientation(GridOnTop() ? Qt::Horizontal : Qt::Vertical);
  if (!previous.isEmpty()) {
    splitter_->setSizes(previous);
  } else {
    const int total = GridOnTop() ? splitter_->height() : splitter_->width();
    splitter_->setSizes({total / 2, total - total / 2});
  }
}

TColumn& TContentTab::AddColumn(const char* field, const QString& caption, int width) {
  // The average character width of that font at 96 dots per inch.
  constexpr double kDesignCharWidth = 5.0;
  const double scale = std::max(1.0, grid_->fontMetrics().averageCharWidth() / kDesignCharWidth);
  return grid_->AddColumn(field, caption, static_cast<int>(width * scale + 0.5));
}

TDBCheckBox* TContentTab::AddIncludeBox(const char* name, const char* field, const char* hint) {
  auto* box = new TDBCheckBox(QStringLiteral("Include"), editorPanel_);
  box->setObjectName(Name(name));
  SetHint(box, Name(hint));
  box->SetDataSource(&source_);
  box->SetDataField(field);
  strip_->addWidget(box);
  return box;
}

QTabWidget* TContentTab::AddPageControl(const char* name) {
  auto* pages = new QTabWidget(editorPanel_);
  pages->setObjectName(Name(name));
  editors_->addWidget(pages, 1);
  return pages;
}

QWidget* TContentTab::AddPage(QTabWidget* pages, const char* name, const char* caption) {
  auto* page = new QWidget(pages);
  page->setObjectName(Name(name));
  auto* layout = new QVBoxLayout(page);
  layout->setContentsMargins(4, 4, 4, 4);
  layout->setSpacing(4);
  pages->addTab(page, Name(caption));
  return page;
}

TDBEdit* TContentTab::AddTitleBox(QWidget* page, const char* panel, const char* name, const char* field) {
  auto* strip = new QWidget(page);
  strip->setObjectName(Name(panel));
  auto* layout = new QHBoxLayout(strip);
  layout->setContentsMargins(0, 0, 0, 0);
  auto* edit = new TDBEdit(strip);
  edit->setObjectName(Name(name));
  edit->SetDataSource(&source_);
  edit->SetDataField(field);
  layout->addWidget(edit);
  page->layout()->addWidget(strip);
  return edit;
}

TDBRichEdit* TContentTab::AddRichEdit(QWidget* page, const char* name, const char* field, bool plain) {
  auto* editor = new TDBRichEdit(page);
  editor->setObjectName(Name(name));
  editor->SetPlainText(plain);
  editor->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
  editor->SetDataSource(&source_);
  editor->SetDataField(field);
  page->layout()->addWidget(editor);
  return editor;
}

}  // namespace pagolin
