#pragma once

// Windows only: drives the configuration preview that Privacy Detail and Custom Maker share.

#include <gtest/gtest.h>

#include <algorithm>
#include <cstddef>
#include <vector>

#include "support/lines.h"
#include "support/window_driver.h"
#include "ui/config_preview_ids.h"

namespace qm::testing {

inline HWND PreviewTree(HWND dialog) { return GetDlgItem(dialog, IDC_PREVIEW_TREE); }

/// Selects node `node` (display order) of the preview tree, as a click does.
inline void SelectNode(HWND dialog, std::size_t node) {
  TreeView_SelectItem(PreviewTree(dialog), TreeItems(PreviewTree(dialog))[node]);
  RunPending();
}

/// The display-order index of the preview tree's selected node.
inline std::size_t SelectedNode(HWND dialog) {
  const std::vector<HTREEITEM> items = TreeItems(PreviewTree(dialog));
  return std::find(items.begin(), items.end(), TreeView_GetSelection(PreviewTree(dialog))) - items.begin();
}

/// True once the preview button reads "Preview" again.
inline bool PreviewEnded(HWND dialog) { return WindowText(GetDlgItem(dialog, IDC_PREVIEW_BUTTON)) == "Preview"; }

/// Presses Preview and waits for the search to end. The end reaches the window only through its messages:
/// until they run, the button reads "Stop".
inline void Preview(HWND dialog) {
  SendMessageW(GetDlgItem(dialog, IDC_PREVIEW_BUTTON), BM_CLICK, 0, 0);
  EXPECT_EQ(WindowText(GetDlgItem(dialog, IDC_PREVIEW_BUTTON)), "Stop");
  ASSERT_TRUE(PumpUntil([&] { return PreviewEnded(dialog); }));
}

/// Starts a preview and presses Cancel while it searches; the refusal's message box presses "Stop".
inline void CancelWhileSearching(HWND dialog, ScriptedPrompt& prompt) {
  prompt.onAsk = [&] { SendMessageW(GetDlgItem(dialog, IDC_PREVIEW_BUTTON), BM_CLICK, 0, 0); };
  SendMessageW(GetDlgItem(dialog, IDC_PREVIEW_BUTTON), BM_CLICK, 0, 0);
  SendMessageW(GetDlgItem(dialog, IDCANCEL), BM_CLICK, 0, 0);
  prompt.onAsk = nullptr;
  ASSERT_TRUE(PumpUntil([&] { return PreviewEnded(dialog); }));
  EXPECT_TRUE(IsWindow(dialog));
}

}  // namespace qm::testing
