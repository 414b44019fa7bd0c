// The main window's keys and its Edit menu. A filter on the application sees every key meant
// for a control of the window before the control does, so that the window's keys work the same
// in the grid, in every editor and on the strip: no control keeps the focus or the work.
#include <QApplication>
#include <QComboBox>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QTextEdit>
#include <exception>

#include "core/data/datamod.h"
#include "core/platform/hooks.h"
#include "gui/app/contenttabs.h"
#include "gui/app/mainwindow.h"
#include "gui/components/hinttracker.h"
#include "gui/components/qtext.h"

namespace pagolin {

namespace {

enum class TWindowKey {
  wkNone,
  wkNextTab,
  wkPriorTab,
  wkNextControl,
  wkPriorControl,
  wkPost,
  wkCancel,
  wkUndo,
  wkRedo
};

TWindowKey WindowKeyOf(const QKeyEvent* event) {
  const Qt::KeyboardModifiers mods = event->modifiers() & ~Qt::KeypadModifier;
  const bool ctrl = mods == Qt::ControlModifier;
  const bool ctrlShift = mods == (Qt::ControlModifier | Qt::ShiftModifier);
  switch (event->key()) {
    case Qt::Key_PageDown: return ctrl ? TWindowKey::wkNextTab : TWindowKey::wkNone;
    case Qt::Key_PageUp: return ctrl ? TWindowKey::wkPriorTab : TWindowKey::wkNone;
    case Qt::Key_Tab:
      return ctrl ? TWindowKey::wkNextControl : ctrlShift ? TWindowKey::wkPriorControl : TWindowKey::wkNone;
    case Qt::Key_Backtab: return ctrlShift ? TWindowKey::wkPriorControl : TWindowKey::wkNone;
    case Qt::Key_Return:
    case Qt::Key_Enter: return ctrl ? TWindowKey::wkPost : TWindowKey::wkNone;
    case Qt::Key_Escape: return mods == Qt::NoModifier ? TWindowKey::wkCancel : TWindowKey::wkNone;
    case Qt::Key_Z: return ctrl ? TWindowKey::wkUndo : ctrlShift ? TWindowKey::wkRedo : TWindowKey::wkNone;
    case Qt::Key_Y: return ctrl ? TWindowKey::wkRedo : TWindowKey::wkNone;
    default: return TWindowKey::wkNone;
  }
}

// The content tab a control lies on (nullptr for the frame and the upload tab).
TContentTab* TabOf(QWidget* widget) {
  for (QWidget* w = widget; w; w = w->parentWidget())
    if (auto* tab = qobject_cast<TContentTab*>(w)) return tab;
  return nullptr;
}

TTable* TableOf(const TContentTab* tab) {
  TDataSource* source = tab ? tab->Navigator()->DataSource() : nullptr;
  return source ? source->DataSet() : nullptr;
}

bool Editing(const TTable* table) {
  return table && (table->State() == TDataSetState::dsEdit || table->State() == TDataSetState::dsInsert);
}

// A control's own text undo and redo: a text box (a cell's too), a multi-line editor.
struct TTextHistory {
  QLineEdit* line = nullptr;
  QTextEdit* rich = nullptr;
  QPlainTextEdit* plain = nullptr;

  explicit TTextHistory(QWidget* w) {
    if (auto* combo = qobject_cast<QComboBox*>(w)) w = combo->lineEdit();
    line = qobject_cast<QLineEdit*>(w);
    rich = qobject_cast<QTextEdit*>(w);
    plain = qobject_cast<QPlainTextEdit*>(w);
  }
  bool CanUndo() const {
    return (line && line->isUndoAvailable()) || (rich && rich->document()->isUndoAvailable()) ||
           (plain && plain->document()->isUndoAvailable());
  }
  bool Redo() const {
    if (line && line->isRedoAvailable())
      line->redo();
    else if (rich && rich->document()->isRedoAvailable())
      rich->redo();
    else if (plain && plain->document()->isRedoAvailable())
      plain->redo();
    else
      return false;
    return true;
  }
};

// Sees the keys meant for the window's controls first.
class TWindowKeyFilter : public QObject {
 public:
  explicit TWindowKeyFilter(TForm1* form) : QObject(form), form_(form) {}

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override {
    const QEvent::Type type = event->type();
    if (type != QEvent::KeyPress && type != QEvent::ShortcutOverride) return false;
    auto* target = qobject_cast<QWidget*>(watched);
    if (!target || target->window() != form_ || QApplication::activePopupWidget()) return false;
    auto* key = static_cast<QKeyEvent*>(event);
    return type == QEvent::KeyPress ? form_->WindowKeyPress(target, key)
                                    : form_->WindowKeyOverride(target, key);
  }

 private:
  TForm1* form_;
};

// A caption as a menu item: its first letter underlined, an ampersand of a name kept.
QString MenuCaption(const std::string& caption, const char* empty) {
  QString text = ToQ(caption.empty() ? std::string(empty) : caption);
  text.replace(QLatin1Char('&'), QStringLiteral("&&"));
  return QLatin1Char('&') + text;
}

}  // namespace

void TForm1::WireKeys() {
  Undo1 = new QAction(QStringLiteral("&Undo"), this);
  Undo1->setObjectName(QStringLiteral("Undo1"));
  Undo1->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Z));
  Undo1->setStatusTip(QStringLiteral("Give back the last cancelled edit or deleted record of this tab"));
  Redo1 = new QAction(QStringLiteral("&Redo"), this);
  Redo1->setObjectName(QStringLiteral("Redo1"));
  Redo1->setShortcuts({QKeySequence(Qt::CTRL | Qt::Key_Y), QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z)});
  Redo1->setStatusTip(QStringLiteral("Do the undone step again"));
  connect(Undo1, &QAction::triggered, this, &TForm1::Undo1Click);
  connect(Redo1, &QAction::triggered, this, &TForm1::Redo1Click);

  // Between the File and Help menus.
  Edit1 = new QMenu(QStringLiteral("&Edit"), menuBar());
  Edit1->setObjectName(QStringLiteral("Edit1"));
  Edit1->menuAction()->setStatusTip(QStringLiteral("Edit menu"));
  Edit1->addAction(Undo1);
  Edit1->addAction(Redo1);
  QMenu* help = menuBar()->findChild<QMenu*>(QStringLiteral("Help1"));
  menuBar()->insertMenu(help ? help->menuAction() : nullptr, Edit1);

  for (TContentTab* tab : pgcMain->findChildren<TContentTab*>()) {
    TTable* table = TableOf(tab);
    TUndoHistory* history = table ? dataModule_.UndoHistoryOf(*table) : nullptr;
    if (!history) continue;
    history->OnChange = [this] { UpdateUndoItems(); };
    // Text typed into a cell and dropped by Escape can be given back as well.
    connect(tab->Grid(), &TDBGrid::CellTextDropped, this, [history](TField* field, const QString& text) {
      try {
        history->AddDroppedValue(*field, field->StoredFormOf(FromQ(text)));
      } catch (const EDatabaseError&) {
        // Text the field would refuse (no date) is no work to give back.
      }
    });
  }
  connect(pgcMain, &QTabWidget::currentChanged, this, [this] { UpdateUndoItems(); });
  UpdateUndoItems();
  qApp->installEventFilter(new TWindowKeyFilter(this));
  // The keyboard starts in the grid of the tab in front.
  if (TContentTab* tab = ActiveContentTab()) tab->Grid()->setFocus();
}

TContentTab* TForm1::ActiveContentTab() const { return qobject_cast<TContentTab*>(pgcMain->currentWidget()); }

TUndoHistory* TForm1::ActiveUndoHistory() const {
  const TTable* table = TableOf(ActiveContentTab());
  return table ? dataModule_.UndoHistoryOf(*table) : nullptr;
}

void TForm1::UpdateUndoItems() {
  const TUndoHistory* history = ActiveUndoHistory();
  Undo1->setText(MenuCaption(history ? history->UndoCaption() : "", "Undo"));
  Undo1->setEnabled(history && history->CanUndo());
  Redo1->setText(MenuCaption(history ? history->RedoCaption() : "", "Redo"));
  Redo1->setEnabled(history && history->CanRedo());
}

void TForm1::Undo1Click() {
  TUndoHistory* history = ActiveUndoHistory();
  if (!history || !history->CanUndo()) {
    hints_->SetCurrentHint(QStringLiteral("Nothing to undo on this tab"));
    return;
  }
  try {
    if (!history->Undo()) hints_->SetCurrentHint(QStringLiteral("Not undone: that record no longer exists"));
  } catch (const std::exception& e) {
    ShowError(e.what());
  }
}

void TForm1::Redo1Click() {
  TUndoHistory* history = ActiveUndoHistory();
  if (!history || !history->CanRedo()) {
    hints_->SetCurrentHint(QStringLiteral("Nothing to redo on this tab"));
    return;
  }
  try {
    if (!history->Redo()) hints_->SetCurrentHint(QStringLiteral("Not redone: the record has changed since"));
  } catch (const std::exception& e) {
    ShowError(e.what());
  }
}

void TForm1::SwitchMainTab(int step) {
  const int count = pgcMain->count();
  pgcMain->setCurrentIndex((pgcMain->currentIndex() + step + count) % count);
  if (TContentTab* tab = ActiveContentTab())
    tab->Grid()->setFocus(Qt::TabFocusReason);
  else
    CheckListBox1->setFocus(Qt::TabFocusReason);
}

bool TForm1::WindowKeyOverride(QWidget* target, QKeyEvent* event) {
  const TWindowKey key = WindowKeyOf(event);
  if ((key != TWindowKey::wkUndo && key != TWindowKey::wkRedo) || !TabOf(target)) return false;
  event->accept();  // to WindowKeyPress, not to the Edit menu's shortcut
  return true;
}

bool TForm1::WindowKeyPress(QWidget* target, QKeyEvent* event) {
  const TWindowKey key = WindowKeyOf(event);
  switch (key) {
    case TWindowKey::wkNone: return false;
    case TWindowKey::wkNextTab:
    case TWindowKey::wkPriorTab: SwitchMainTab(key == TWindowKey::wkNextTab ? 1 : -1); return true;
    case TWindowKey::wkNextControl:
    case TWindowKey::wkPriorControl: focusNextPrevChild(key == TWindowKey::wkNextControl); return true;
    default: break;
  }
  TContentTab* tab = TabOf(target);
  if (!tab) return false;
  TTable* table = TableOf(tab);
  const bool inGrid = tab->Grid() == target || tab->Grid()->isAncestorOf(target);
  switch (key) {
    case TWindowKey::wkPost:
      if (inGrid) {
        tab->Grid()->Post();
      } else if (Editing(table)) {
        try {
          table->Post();  // every control writes what it holds first
        } catch (const std::exception& e) {
          ShowError(e.what());
        }
      }
      return true;
    case TWindowKey::wkCancel:
      // The grid drops a cell's typing first, then the record's edits.
      if (inGrid || !Editing(table)) return false;
      if (TDBFieldBinding* binding = TDBFieldBinding::Of(target)) {
        // What the control holds joins the cancelled edit, so that Ctrl+Z gives it back too.
        try {
          binding->DataLink().UpdateRecord();
        } catch (const EDatabaseError&) {
          // A value the field refuses is dropped with the rest.
        }
      }
      table->Cancel();
      return true;
    case TWindowKey::wkUndo:
      if (TTextHistory(target).CanUndo()) return false;  // the control's own typing first
      Undo1Click();
      return true;
    case TWindowKey::wkRedo:
      if (!TTextHistory(target).Redo()) Redo1Click();
      return true;
    default: return false;
  }
}

}  // namespace pagolin
