#pragma once

// Windows only: drives the program's modal dialogs from a test.

#include <windows.h>
// The common controls need what windows.h declares.
#include <commctrl.h>

#include <functional>
#include <string>
#include <vector>

namespace qm::testing {

/// Runs `script` with the dialog captioned `caption` as soon as it is open, from inside its modal loop (a test
/// calls this right before the call that shows the dialog). A script that ends on a fatal failure leaves the
/// dialog cancelled, so the test does not hang.
void WhenDialogOpens(const std::string& caption, std::function<void(HWND dialog)> script);

/// Lets the thread's pending messages run.
void RunPending();

/// Presses a button of a dialog and lets what it posted run.
void Press(HWND dialog, int id);

/// A window's text.
std::string WindowText(HWND window);
/// Sets a window's text, as typing it does.
void SetText(HWND window, const std::string& text);

/// The nodes of a tree view in display order.
std::vector<HTREEITEM> TreeItems(HWND tree);
/// The check boxes of a tree view in display order: "1" ticked, "0" not, the first followed by ":".
std::string TreeChecks(HWND tree);
/// Clicks a node's check box the way the mouse does, and lets what that posted run.
void ClickCheckBox(HWND tree, HTREEITEM item);

/// Selects exactly the given rows of a list view.
void SelectRows(HWND list, const std::vector<int>& rows);

}  // namespace qm::testing
