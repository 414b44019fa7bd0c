// TNVRichPop: the popup menu of the rich editors. It gives every editor attached to it the
// editing and formatting commands, in English or German, and at each popup brings their
// enabled, checked and visible states in step with the editor that popped it up.
//
// Loaded() puts "Insert link..." and "Remove link" and a separator in front of everything
// the menu holds then (items put in front later, such as spelling suggestions, stand before
// them); the owner's items follow, then the menu's own items:
//   Undo | Cut, Copy, Paste, Delete, Select all | [Font... |] Bold, Underlined, Italic |
//   Align left, Centered, Align Right (one of them checked) | Bullet
// At each popup, OnPopup comes first, then the refresh: an editor that is not read-only gets
// PrepareEdit() (a record is put into edit state, the selection stays); on a
// read-only editor everything behind "Select all" is hidden and only Copy and Select all can be
// used; in plain mode the formatting items are disabled; the check marks follow the selection's
// styles and the caret's paragraph. The link items follow the formatting items' rules;
// "Remove link" needs a link in the selection or at the caret. "Insert link..." asks for the
// address (the link's own at the caret) and takes only addresses a page can link to.
#pragma once

#include <QFlags>
#include <QMenu>
#include <QPointer>

#include "gui/components/fontdialog.h"
#include "gui/components/richedittarget.h"

namespace pagolin {

enum class TLanguage { roEnglish, roGerman };

enum class TNVRichPopOption { rpShowShortcuts = 1 };
Q_DECLARE_FLAGS(TNVRichPopOptions, TNVRichPopOption)

class TNVRichPop : public QMenu {
  Q_OBJECT

 public:
  explicit TNVRichPop(QWidget* parent = nullptr);

  // --- Properties, set before Loaded() --------------------------------------------------------
  // When set, a "Font..." item runs this dialog on the selection's font.
  TFontDialog* FontDialog() const { return fontDialog_; }
  void SetFontDialog(TFontDialog* dialog) { fontDialog_ = dialog; }
  TLanguage Language() const { return language_; }
  void SetLanguage(TLanguage language) { language_ = language; }
  // rpShowShortcuts: the items show their keyboard shortcuts.
  TNVRichPopOptions PopupOptions() const { return options_; }
  void SetPopupOptions(TNVRichPopOptions options) { options_ = options; }

  // Appends the menu's items (once), with the captions of Language() as it is now.
  void Loaded();

  // The editor pops this menu up from its context menu from now on.
  void Attach(TRichEditTarget* editor);

  // Pops the menu up at the global position pos for target: OnPopup, the refresh, then the
  // menu is shown (this returns at once).
  void Popup(const QPoint& pos, TRichEditTarget* target);

  // The editor that popped the menu up last.
  TRichEditTarget* Target() const { return targetWidget_ ? target_ : nullptr; }

 signals:
  void OnPopup(TNVRichPop* sender);

 private:
  QAction* NewItem(const char* name, const char* english, const char* german,
                   const QKeySequence& shortcut = {});
  QAction* AddItem(const char* name, const char* english, const char* german,
                   const QKeySequence& shortcut = {});
  QAction* AddSeparator(const char* name);
  void Refresh();
  void RunFontDialog();
  void RunLinkDialog();

  QPointer<TFontDialog> fontDialog_;
  TLanguage language_ = TLanguage::roEnglish;
  TNVRichPopOptions options_;
  // The target is used only while its widget lives.
  TRichEditTarget* target_ = nullptr;
  QPointer<QTextEdit> targetWidget_;
  bool loaded_ = false;

  QAction* insertLink_ = nullptr;
  QAction* removeLink_ = nullptr;
  QAction* linkSeparator_ = nullptr;
  QAction* undo_ = nullptr;
  QAction* cut_ = nullptr;
  QAction* copy_ = nullptr;
  QAction* paste_ = nullptr;
  QAction* delete_ = nullptr;
  QAction* selectAll_ = nullptr;
  QAction* font_ = nullptr;  // none without a font dialog
  QAction* bold_ = nullptr;
  QAction* underline_ = nullptr;
  QAction* italic_ = nullptr;
  QAction* alignLeft_ = nullptr;
  QAction* center_ = nullptr;
  QAction* alignRight_ = nullptr;
  QAction* bullet_ = nullptr;
  QList<QAction*> formatSeparators_;  // the separators behind "Select all"
};

}  // namespace pagolin

Q_DECLARE_OPERATORS_FOR_FLAGS(pagolin::TNVRichPopOptions)
