// The main window's life: construction, initialisation, layout, the keyboard, minimising and
// the ways it closes.
#include "ui/main_window.h"

#include <QApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QPushButton>

#include "core/core.h"
#include "database/entries.h"
#include "languages/menus.h"
#include "languages/text_ids.h"
#include "ui/clipboard.h"
#include "ui/controls/list_ctrl.h"
#include "ui/dialog_texts.h"
#include "ui/help.h"
#include "ui/main_window_updates.h"

namespace {

// The tooltips (group 163); the captions and the title come from their own table.
constexpr KTextPair kMainTooltips[] = {
    {texts::kTipNewNote.key(), CVaultQuillDlg::kNewNoteButton},
    {texts::kTipNewFolder.key(), CVaultQuillDlg::kNewFolderButton},
    {texts::kTipEditEntry.key(), CVaultQuillDlg::kEditButton},
    {texts::kTipDeleteEntry.key(), CVaultQuillDlg::kDeleteButton},
    {texts::kTipSettings.key(), CVaultQuillDlg::kSettingsButton},
    {texts::kTipHelp.key(), CVaultQuillDlg::kHelpButton},
    {texts::kTipAbout.key(), CVaultQuillDlg::kAboutButton},
    {texts::kTipSearch.key(), CVaultQuillDlg::kSearchCaption},
    {texts::kTipSearch.key(), CVaultQuillDlg::kSearch},
    {texts::kTipPath.key(), CVaultQuillDlg::kPathCaption},
    {texts::kTipPath.key(), CVaultQuillDlg::kPath},
    {texts::kTipUp.key(), CVaultQuillDlg::kUpButton},
    {texts::kTipRoot.key(), CVaultQuillDlg::kRootButton},
    {texts::kTipEntryList.key(), CVaultQuillDlg::kList},
    {texts::kTipClipboardStatus.key(), CVaultQuillDlg::kStatusLine},
    {0, 0},
};

}  // namespace

CVaultQuillDlg::CVaultQuillDlg(QWidget* parent) : CKResizeDialog(kTemplateId, parent) {
  m_pTextTable = kMainTooltips;
  m_bNoCentre = true;
  CKCore* core = TheCore();
  if (core != nullptr) {
    m_pPlacement = &core->m_SettingsWindows.m_stMainWindow;
    core->m_SettingsRunTime.m_boolRelogin = false;
    main_window::StartUpdateCheck(*core);
  }
  status_timer_.setInterval(kStatusPeriodMs);
  connect(&status_timer_, &QTimer::timeout, this, &CVaultQuillDlg::UpdateClipboardStatus);
  if (Template() != nullptr) {
    BuildMenuBar();
    ConnectControls();
  }
  // The accelerators and Escape act before the control with the focus sees the key.
  qApp->installEventFilter(this);
}

CVaultQuillDlg::~CVaultQuillDlg() {
  qApp->removeEventFilter(this);
  status_timer_.stop();
  // The check uses the core's settings and may show its dialog: it ends with the window.
  main_window::StopUpdateCheck();
  WipeEdits({kSearch, kPath});
  if (CKCore* core = TheCore()) {
    core->SaveSettings();
    if (core->m_SettingsUserBased.boolCleanClipboardOnExit) {
      clipboard::ClearClipboard();
    }
  }
}

void CVaultQuillDlg::Run(CKCore& core) {
  CVaultQuillDlg window(nullptr);
  core.SetActiveDialog(&window);
  window.DoModal();
  core.SetActiveDialog(nullptr);
}

void CVaultQuillDlg::ConnectControls() {
  const std::pair<int, std::uint32_t> buttons[] = {
      {kNewNoteButton, menus::kCmdNewNote},   {kNewFolderButton, menus::kCmdNewFolder},
      {kEditButton, menus::kCmdEditEntry},    {kDeleteButton, menus::kCmdDeleteEntry},
      {kSettingsButton, menus::kCmdSettings}, {kHelpButton, menus::kCmdHelp},
      {kAboutButton, menus::kCmdAbout},
  };
  for (const auto& [id, command] : buttons) {
    OnClicked(id, this, [this, command] { OnCommand(command); });
  }
  OnClicked(kUpButton, this, &CVaultQuillDlg::OnUp);
  OnClicked(kRootButton, this, &CVaultQuillDlg::OnRoot);
  // Enter never presses a button of this window.
  for (QPushButton* button : findChildren<QPushButton*>()) {
    button->setAutoDefault(false);
    button->setDefault(false);
  }
  if (auto* search = Item<QLineEdit>(kSearch)) {
    connect(search, &QLineEdit::textChanged, this, &CVaultQuillDlg::OnSearchChanged);
  }
  if (CKListCtrl* list = List()) {
    connect(list, &QAbstractItemView::clicked, this, [this] { OnListClicked(false); });
    connect(list, &QAbstractItemView::doubleClicked, this, [this] { OnListClicked(true); });
    list->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(list, &QWidget::customContextMenuRequested, this, &CVaultQuillDlg::OnListContextMenu);
  }
}

bool CVaultQuillDlg::OnInitDialog() {
  CKResizeDialog::OnInitDialog();
  CKCore* core = TheCore();
  CKListCtrl* list = List();
  if (core != nullptr && list != nullptr) {
    list->SetColumnsOwner(core->GetRootFolder());
    database::SetupColumns(*list);
  }
  ShowCurrentFolder();
  UpdatePath();
  UpdateClipboardStatus();
  status_timer_.start();
  TranslateMenu();
  if (QWidget* search = GetDlgItem(kSearch)) {
    search->setFocus();
  }
  return true;
}

bool CVaultQuillDlg::ShowHelp() {
  return help::ShowPage(QStringLiteral("main-window"));
}

void CVaultQuillDlg::Layout() {
  int dx = 0;
  int dy = 0;
  GetSizeDelta(dx, dy);
  ApplyTemplateAnchors(dx, dy);
  if (menu_bar_ != nullptr) {
    menu_bar_->setGeometry(0, 0, width(), menu_bar_->height());
  }
  InvalidateMoved();
}

void CVaultQuillDlg::UpdateClipboardStatus() {
  CKCore* core = TheCore();
  if (!m_bStatusGuard || core == nullptr) {
    return;
  }
  m_bStatusGuard = false;
  const TextId& which =
      clipboard::ClipboardHasText() ? texts::kMsgClipboardHasText : texts::kMsgClipboardEmpty;
  std::u16string text;
  core->m_Languages.GetText(which.group, which.entry, text);
  if (QWidget* status = GetDlgItem(kStatusLine)) {
    dialogs::SetControlText(status, QLatin1Char(' ') + QString::fromStdU16String(text));
  }
  m_bStatusGuard = true;
}

void CVaultQuillDlg::SetCloseMode(std::uint32_t kind, std::uint32_t value) {
  if (kind == 1) {
    m_dwCloseMode = value;
  }
}

void CVaultQuillDlg::OnOK() {}

void CVaultQuillDlg::OnCancel() {
  if (closing_ || !IsRunning()) {
    return;
  }
  CKCore* core = TheCore();
  if (core != nullptr && core->m_SettingsInterface.m_boolAskForExit) {
    const BusyScope busy(*this);
    closing_ = true;
    const bool yes = core->m_Languages.Ask(texts::kAskClose.entry);
    closing_ = false;
    if (!yes) {
      // A declined Exit (or exit from the tray) leaves the close box logging out, as before.
      m_dwCloseMode = kCloseToLogIn;
      return;
    }
  }
  EndWindow();
}

void CVaultQuillDlg::OnClose() {
  OnCancel();
}

void CVaultQuillDlg::EndWindow() {
  if (CKCore* core = TheCore()) {
    core->m_SettingsRunTime.m_boolRelogin = m_dwCloseMode != kCloseQuit;
  }
  CKResizeDialog::OnCancel();
}

void CVaultQuillDlg::MinimiseToTray() {
  CKResizeDialog::MinimiseToTray();
  CKCore* core = TheCore();
  if (core == nullptr || !core->m_SettingsUserBased.boolLogOutOnMinimize || closing_ ||
      !IsRunning()) {
    return;
  }
  // The next log-in dialog starts where this window went.
  core->m_SettingsRunTime.m_boolStartMinimised = true;
  if (!m_bBusy) {
    // Once the minimising has finished (the window system may still be showing it minimised).
    // Nobody is at the window: no question holds the notes open.
    QMetaObject::invokeMethod(
        this,
        [this] {
          if (IsRunning() && !m_bBusy && !closing_) {
            m_dwCloseMode = kCloseToLogIn;
            EndWindow();
          }
        },
        Qt::QueuedConnection);
  }
}

bool CVaultQuillDlg::eventFilter(QObject* watched, QEvent* event) {
  const QEvent::Type type = event->type();
  if (type == QEvent::MouseButtonPress || type == QEvent::MouseButtonDblClick) {
    const CKListCtrl* list = List();
    if (list != nullptr && watched == list->viewport()) {
      swallow_click_ = type == QEvent::MouseButtonDblClick;
    }
    return false;
  }
  if (type != QEvent::KeyPress && type != QEvent::ShortcutOverride) {
    return false;
  }
  const auto* widget = qobject_cast<QWidget*>(watched);
  if (widget == nullptr || widget->window() != this || !IsRunning()) {
    return false;
  }
  auto* key = static_cast<QKeyEvent*>(event);
  const bool escape = key->key() == Qt::Key_Escape && key->modifiers() == Qt::NoModifier;
  if (type == QEvent::ShortcutOverride) {
    // Ours before the edits' own bindings (an edit would take Ctrl+E or Ctrl+Y for itself).
    if (escape || IsAcceleratorKey(*key)) {
      event->accept();
      return true;
    }
    return false;
  }
  if (escape) {
    MinimiseToTray();
    return true;
  }
  if (key->key() == Qt::Key_Tab || key->key() == Qt::Key_Backtab) {
    return false;
  }
  if (TranslateAccelerator(*key)) {
    return true;
  }
  const bool enter = key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter;
  if (enter && key->modifiers() == Qt::NoModifier && widget == List()) {
    ActivateSelected();
    return true;
  }
  return false;
}

void CVaultQuillDlg::keyPressEvent(QKeyEvent* event) {
  // Escape minimises (above) and Enter does nothing; neither ends the window.
  const int key = event->key();
  if (key == Qt::Key_Escape || key == Qt::Key_Return || key == Qt::Key_Enter) {
    event->accept();
    return;
  }
  CKResizeDialog::keyPressEvent(event);
}

void CVaultQuillDlg::SaveDatabase() {
  CKCore* core = TheCore();
  if (CKDatabase* current = core != nullptr ? core->m_Databases.GetCurrent() : nullptr) {
    current->Save();
  }
}
