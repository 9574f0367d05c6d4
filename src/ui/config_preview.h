#pragma once

#include <windows.h>
// The common controls need what windows.h declares.
#include <commctrl.h>

#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "clean/engine.h"
#include "ui/dialog_guard.h"
#include "ui/model/config_tree.h"
#include "ui/model/preview_pass.h"
#include "ui/model/prompt.h"
#include "ui/model/run_feed.h"
#include "ui/model/run_view.h"

namespace qm::ui {

/// The dialog procedure of a window that previews a configuration: the `Window` object comes as WM_INITDIALOG's
/// parameter and answers `INT_PTR Handle(HWND, UINT, WPARAM, LPARAM)`; its errors are told through its
/// `Prompter()` under its `kCaption`.
template <class Window>
INT_PTR CALLBACK PreviewDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_INITDIALOG) SetWindowLongPtrW(dialog, DWLP_USER, lParam);
  auto* window = reinterpret_cast<Window*>(GetWindowLongPtrW(dialog, DWLP_USER));
  if (!window) return FALSE;
  INT_PTR result = TRUE;
  Guarded(window->Prompter(), Window::kCaption, [&] { result = window->Handle(dialog, message, wParam, lParam); });
  return result;
}

/// What a window that previews a configuration brings to its preview part.
struct ConfigPreviewArgs {
  Engine& engine;          ///< searches the preview
  Prompt& prompt;          ///< the refusals and errors
  std::string caption;     ///< of every message box
  int32_t displayMaxRows;  ///< the list shows at most this many rows; 0 for all
  int pathColumnTwips;     ///< width of the list's untitled path column
};

/// The part Privacy Detail and Custom Maker share, over their controls of the ids in config_preview_ids.h: the
/// configuration's tree with check boxes, the list of what the selected node found, the status bar, and the
/// Preview button, whose search runs on a thread of its own so that "Stop" is heard. A click on a node lists
/// what its last search kept. The preview never erases, and never logs.
class ConfigPreview {
 public:
  /// `tree` and `config` (the tree's configuration) must outlive the preview; controls are set up by Load.
  ConfigPreview(HWND dialog, ConfigPreviewArgs args, ConfigTree& tree, std::shared_ptr<PrivacyConfig> config);
  /// Stops a preview still running and waits for it.
  ~ConfigPreview();
  ConfigPreview(const ConfigPreview&) = delete;
  ConfigPreview& operator=(const ConfigPreview&) = delete;

  /// Sets up the controls, builds the tree's nodes with the root selected, and lists what the root kept.
  void Load();
  /// The dialog's messages: true when this part handled one whose answer it gave (a notification's answer is
  /// set as the dialog's message result); false for the rest, some of which it heeds too.
  bool Handle(UINT message, WPARAM wParam, LPARAM lParam);

  bool Running() const { return run_ != nullptr; }
  /// True, after saying so, while a preview keeps the window from closing.
  bool RefuseClose();

  std::size_t SelectedNode() const;
  /// Selects a node without the click's pass.
  void SelectNode(std::size_t node);
  /// Every node's text, tick and looks from the tree.
  void SyncTree();
  /// A control node for the tree's last node.
  void AddNode();
  /// Drops the control node of a node the tree has just dropped.
  void RemoveNode(std::size_t node);

  /// The found values of the selected list rows, in order.
  std::vector<const PrivacyValue*> SelectedValues() const;

  /// Gives a list view of the window the preview list's columns, view and images.
  void SetUpList(int id) const;

  std::function<void(std::size_t node)> onNodeClick;  ///< a click on a node, before its pass
  std::function<void(std::size_t node)> onPass;       ///< a pass of the node begins (display or search)
  std::function<void(bool running)> onRunning;        ///< a preview starts or ends
  std::function<void()> onDoubleClick;                ///< a double click on the tree

 private:
  struct ActiveRun;

  HWND Control(int id) const { return GetDlgItem(dialog_, id); }
  int Dpi() const;
  void NodeClicked();
  void TogglePreview();
  /// Asks the running search to stop before its next trace.
  void StopRun();
  void BeginPass(std::size_t node);
  void OnRunEvents();
  void OnRunDone();
  void ShowResult(const RunTotals& totals);
  void ApplyCheck();
  void SetStatus(const StatusPanels& panels);
  bool HandleNotify(const NMHDR& header);

  HWND dialog_;
  ConfigPreviewArgs args_;
  ConfigTree& tree_;
  std::shared_ptr<PrivacyConfig> config_;
  std::vector<HTREEITEM> items_;
  bool selecting_ = false;
  HIMAGELIST images_ = nullptr;
  std::shared_ptr<PrivacyValues> listed_;
  std::size_t listedRows_ = 0;
  StatusPanels panels_;
  std::unique_ptr<ActiveRun> run_;
};

}  // namespace qm::ui
