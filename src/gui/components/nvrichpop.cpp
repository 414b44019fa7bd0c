#include "gui/components/nvrichpop.h"

#include "core/platform/hyperlink.h"
#include "gui/components/fontdialog.h"
#include "gui/components/qtext.h"

#include <QActionGroup>
#include <QClipboard>
#include <QGuiApplication>
#include <QInputDialog>
#include <QMimeData>
#include <QTextEdit>

namespace pagolin {

TNVRichPop::TNVRichPop(QWidget* parent) : QMenu(parent) {}

QAction* TNVRichPop::NewItem(const char* name, const char* english, const char* german,
                             const QKeySequence& shortcut) {
  auto* action = new QAction(ToQ(language_ == TLanguage::roGerman ? german : english), this);
  action->setObjectName(ToQ(name));
  if (options_.testFlag(TNVRichPopOption::rpShowShortcuts) && !shortcut.isEmpty()) {
    action->setShortcut(shortcut);
    // Shown only: the editor handles the keys itself, the menu's shortcut works while it is open.
    action->setShortcutContext(Qt::WidgetShortcut);
  }
  return action;
}

QAction* TNVRichPop::AddItem(const char* name, const char* english, const char* german,
                             const QKeySequence& shortcut) {
  QAction* action = NewItem(name, english, german, shortcut);
  addAction(action);
  return action;
}

QAction* TNVRichPop::AddSeparator(const char* name) {
  QAction* separator = addSeparator();
  separator->setObjectName(ToQ(name));
  return separator;
}

void TNVRichPop::Loaded() {
  if (loaded_) return;
  loaded_ = true;
  QAction* front = actions().value(0);  // the owner's first item, if any
  insertLink_ = NewItem("miInsertLink", "Insert link...", "Link einfügen...");
  removeLink_ = NewItem("miRemoveLink", "Remove link", "Link entfernen");
  linkSeparator_ = new QAction(this);
  linkSeparator_->setSeparator(true);
  linkSeparator_->setObjectName(QStringLiteral("miSeparatorLink"));
  insertActions(front, {insertLink_, removeLink_, linkSeparator_});
  undo_ = AddItem("miUndo", "Undo", "Rückgängig", QKeySequence(Qt::CTRL | Qt::Key_Z));
  AddSeparator("miSeparator1");
  cut_ = AddItem("miCut", "Cut", "Ausschneiden", QKeySequence(Qt::CTRL | Qt::Key_X));
  copy_ = AddItem("miCopy", "Copy", "Kopieren", QKeySequence(Qt::CTRL | Qt::Key_C));
  paste_ = AddItem("miPaste", "Paste", "Einfügen", QKeySequence(Qt::CTRL | Qt::Key_V));
  delete_ = AddItem("miDelete", "Delete", "Löschen", QKeySequence(Qt::Key_Delete));
  selectAll_ = AddItem("miSelectAll", "Select all", "Alles markieren", QKeySequence(Qt::CTRL | Qt::Key_A));
  formatSeparators_ = {AddSeparator("miSeparator2")};
  if (fontDialog_) {
    font_ = AddItem("miFont", "Font...", "Schriftart...");
    formatSeparators_ << AddSeparator("miSeparator3");
  }
  bold_ = AddItem("miBold", "Bold", "Fett", QKeySequence(Qt::CTRL | Qt::Key_B));
  underline_ = AddItem("miUnderline", "Underlined", "Unterstrichen", QKeySequence(Qt::CTRL | Qt::Key_U));
  italic_ = AddItem("miItalic", "Italic", "Kursiv", QKeySequence(Qt::CTRL | Qt::Key_I));
  formatSeparators_ << AddSeparator("miSeparator4");
  alignLeft_ = AddItem("miAlignLeft", "Align left", "Linksbündig");
  center_ = AddItem("miCenter", "Centered", "Zentriert");
  alignRight_ = AddItem("miAlignRight", "Align Right", "Rechtsbündig");
  formatSeparators_ << AddSeparator("miSeparator5");
  bullet_ = AddItem("miBullet", "Bullet", "Aufzählung");

  for (QAction* check : {bold_, underline_, italic_, alignLeft_, center_, alignRight_, bullet_})
    check->setCheckable(true);
  auto* alignment = new QActionGroup(this);
  for (QAction* radio : {alignLeft_, center_, alignRight_}) alignment->addAction(radio);
  alignLeft_->setChecked(true);

  // Each item acts on the editor that popped the menu up.
  auto on = [this](QAction* action, auto command) {
    connect(action, &QAction::triggered, this, [this, command] {
      if (TRichEditTarget* target = Target()) command(*target);
    });
  };
  on(undo_, [](TRichEditTarget& e) { e.Undo(); });
  on(cut_, [](TRichEditTarget& e) { e.Cut(); });
  on(copy_, [](TRichEditTarget& e) { e.Copy(); });
  on(paste_, [](TRichEditTarget& e) { e.Paste(); });
  on(delete_, [](TRichEditTarget& e) { e.ClearSelection(); });
  on(selectAll_, [](TRichEditTarget& e) { e.SelectAll(); });
  on(bold_, [](TRichEditTarget& e) { e.ToggleBold(); });
  on(underline_, [](TRichEditTarget& e) { e.ToggleUnderline(); });
  on(italic_, [](TRichEditTarget& e) { e.ToggleItalic(); });
  on(alignLeft_, [](TRichEditTarget& e) { e.SetParagraphAlignment(TParaAlignment::Left); });
  on(center_, [](TRichEditTarget& e) { e.SetParagraphAlignment(TParaAlignment::Center); });
  on(alignRight_, [](TRichEditTarget& e) { e.SetParagraphAlignment(TParaAlignment::Right); });
  on(bullet_, [](TRichEditTarget& e) { e.ToggleBullet(); });
  on(removeLink_, [](TRichEditTarget& e) { e.RemoveLink(); });
  connect(insertLink_, &QAction::triggered, this, &TNVRichPop::RunLinkDialog);
  if (font_) connect(font_, &QAction::triggered, this, &TNVRichPop::RunFontDialog);
}

void TNVRichPop::Attach(TRichEditTarget* editor) {
  QTextEdit* widget = editor->TextEdit();
  widget->setContextMenuPolicy(Qt::CustomContextMenu);
  connect(widget, &QWidget::customContextMenuRequested, this,
          [this, editor, widget](const QPoint& pos) { Popup(widget->viewport()->mapToGlobal(pos), editor); });
}

void TNVRichPop::Popup(const QPoint& pos, TRichEditTarget* target) {
  target_ = target;
  targetWidget_ = target ? target->TextEdit() : nullptr;
  emit OnPopup(this);
  Refresh();
  popup(pos);
}

void TNVRichPop::Refresh() {
  if (!loaded_ || !Target()) return;
  TRichEditTarget& editor = *target_;
  // Every rich editor gets the read-only and plain-mode rules. One bound to a record is put
  // into edit state first, with its selection kept, unless it is read-only: no item can change
  // its text then, and its record may not allow editing at all.
  const bool editable = !editor.ReadOnly();
  if (editable) editor.PrepareEdit();
  for (QAction* item : {insertLink_, removeLink_, font_, bold_, underline_, italic_, alignLeft_, center_,
                        alignRight_, bullet_}) {
    if (!item) continue;
    item->setEnabled(editor.CanFormat());
    item->setVisible(editable);
  }
  for (QAction* separator : formatSeparators_) separator->setVisible(editable);
  linkSeparator_->setVisible(editable);
  removeLink_->setEnabled(editor.CanFormat() && editor.SelectionHasLink());

  const bool selected = editor.SelectionLength() > 0;
  const QMimeData* clipboard = QGuiApplication::clipboard()->mimeData();
  undo_->setEnabled(editor.CanUndo() && editable);
  cut_->setEnabled(selected && editable);
  delete_->setEnabled(selected && editable);
  copy_->setEnabled(selected);
  paste_->setEnabled(clipboard && clipboard->hasText() && editable);
  selectAll_->setEnabled(editor.SelectionLength() < editor.TextLength());

  bold_->setChecked(editor.SelectionBold());
  underline_->setChecked(editor.SelectionUnderline());
  italic_->setChecked(editor.SelectionItalic());
  const TParaAlignment alignment = editor.ParagraphAlignment();
  alignLeft_->setChecked(alignment == TParaAlignment::Left);
  center_->setChecked(alignment == TParaAlignment::Center);
  alignRight_->setChecked(alignment == TParaAlignment::Right);
  bullet_->setChecked(editor.ParagraphBullet());
}

void TNVRichPop::RunFontDialog() {
  if (!Target() || !fontDialog_) return;
  fontDialog_->SetFont(target_->SelectionFont());
  fontDialog_->SetColor(target_->SelectionColor());
  if (!fontDialog_->Execute() || !Target()) return;
  target_->SetSelectionFont(fontDialog_->Font());
  target_->SetSelectionColor(fontDialog_->Color());
}

void TNVRichPop::RunLinkDialog() {
  if (!Target()) return;
  const bool german = language_ == TLanguage::roGerman;
  const QString question =
      german ? QStringLiteral("Adresse (http://, https://, mailto: oder eine Datei der Website):")
             : QStringLiteral("Address (http://, https://, mailto: or a file of the site):");
  QInputDialog dialog(targetWidget_->window());
  dialog.setObjectName(QStringLiteral("dlgLink"));
  dialog.setWindowTitle(german ? QStringLiteral("Link einfügen") : QStringLiteral("Insert link"));
  dialog.setLabelText(question);
  dialog.setTextValue(target_->SelectionLink());
  // An address a page cannot link to is refused in the dialog, which keeps what was typed.
  while (dialog.exec() == QDialog::Accepted && Target()) {
    const QString address = dialog.textValue().trimmed();
    if (address.isEmpty()) return;
    if (IsLinkableAddress(FromQ(address))) {
      target_->SetLink(address);
      return;
    }
    dialog.setLabelText((german ? QStringLiteral("Eine Seite kann nicht auf \"%1\" verweisen.\n")
                                : QStringLiteral("A page cannot link to \"%1\".\n"))
                            .arg(address) +
                        question);
  }
}

}  // namespace pagolin
