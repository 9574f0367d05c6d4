#include "ui/main_window.h"

#include <windowsx.h>

#include <algorithm>

#include "config/catalogue_tree.h"
#include "platform/error.h"
#include "platform/file_system.h"
#include "platform/shell.h"
#include "platform/text_win32.h"
#include "ui/about_dialog.h"
#include "ui/add_plugins_dialog.h"
#include "ui/custom_item_dialog.h"
#include "ui/custom_list_dialog.h"
#include "ui/custom_maker_dialog.h"
#include "ui/dialog_guard.h"
#include "ui/icons.h"
#include "ui/model/frame_layout.h"
#include "ui/model/menu_settings.h"
#include "ui/model/start_page_monitor.h"
#include "ui/preferences_dialog.h"
#include "ui/privacy_detail_dialog.h"
#include "ui/resource_ids.h"
#include "ui/status_bar.h"
#include "ui/trace_list.h"

namespace qm::ui {

namespace {

constexpr UINT kRunEventsMessage = WM_APP + 1;
constexpr UINT kRunDoneMessage = WM_APP + 2;
constexpr UINT_PTR kScheduleTimer = 1;
constexpr UINT kScheduleInterval = 6000;
constexpr char kProductCaption[] = "Quillmere";
// Positions of the menus in the menu resource.
constexpr int kActionsMenu = 1, kTrayMenu = 4;

std::wstring W(const std::string& s) { return text::Widen(s); }

/// The window's client area as the form FormResizeControl keeps in shape, its controls named by their ids.
class ClientForm : public ResizableForm {
 public:
  explicit ClientForm(HWND hwnd) : hwnd_(hwnd) {}
  int Width() const override { return Client().right; }
  int Height() const override { return Client().bottom; }
  void SetWidth(int width) override { Resize(width, Height()); }
  void SetHeight(int height) override { Resize(Width(), height); }
  ControlBounds Bounds(int control) const override {
    RECT r{};
    GetWindowRect(GetDlgItem(hwnd_, control), &r);
    MapWindowPoints(nullptr, hwnd_, reinterpret_cast<POINT*>(&r), 2);
    return {r.left, r.top, r.right - r.left, r.bottom - r.top};
  }
  void Move(int control, const ControlBounds& b) override {
    if (!MoveWindow(GetDlgItem(hwnd_, control), b.Left, b.Top, std::max(0, b.Width), std::max(0, b.Height), TRUE)) {
      throw RuntimeError(static_cast<int32_t>(GetLastError()), "MoveWindow", "the control cannot be moved");
    }
  }

 private:
  RECT Client() const {
    RECT r{};
    GetClientRect(hwnd_, &r);
    return r;
  }
  void Resize(int width, int height) {
    SetWindowPos(hwnd_, nullptr, 0, 0, width, height, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  }
  HWND hwnd_;
};

void SetMenuCaption(HMENU menu, int id, const std::string& caption) {
  const std::wstring text = W(caption);
  MENUITEMINFOW info{};
  info.cbSize = sizeof(info);
  info.fMask = MIIM_STRING;
  info.dwTypeData = const_cast<wchar_t*>(text.c_str());
  SetMenuItemInfoW(menu, id, FALSE, &info);
}

void CheckItem(HMENU menu, int id, bool checked) {
  CheckMenuItem(menu, id, MF_BYCOMMAND | (checked ? MF_CHECKED : MF_UNCHECKED));
}

bool IsChecked(HMENU menu, int id) { return (GetMenuState(menu, id, MF_BYCOMMAND) & MF_CHECKED) != 0; }

void EnableItem(HMENU menu, int id, bool enabled) {
  EnableMenuItem(menu, id, MF_BYCOMMAND | (enabled ? MF_ENABLED : MF_GRAYED));
}

/// The captions and marks of a menu's two schedule items, from the Actions or the tray menu's state.
template <typename MenuState>
void SetScheduleItems(HMENU menu, int interval, int daily, const MenuState& state) {
  SetMenuCaption(menu, interval, state.IntervalCaption);
  CheckItem(menu, interval, state.IntervalChecked);
  SetMenuCaption(menu, daily, state.DailyCaption);
  CheckItem(menu, daily, state.DailyChecked);
}

int WindowDpi(HWND hwnd) {
  const UINT dpi = hwnd ? GetDpiForWindow(hwnd) : 0;
  return dpi ? static_cast<int>(dpi) : 96;
}

}  // namespace

/// A run in progress: what it is, its feed and its thread.
struct MainWindow::ActiveRun {
  RunKind Kind = RunKind::None;
  bool Ask = false;
  bool Scheduled = false;
  std::size_t Node = 0;
  std::unique_ptr<RunFeed> Feed;
  std::unique_ptr<RunThread> Thread;
};

MainWindow::MainWindow(MainWindowArgs args)
    : args_(std::move(args)),
      engine_(*args_.engine),
      prompt_(*args_.prompt),
      settings_(args_.settings),
      scheduler_(args_.clock->Now()) {
  static const bool registered = [] {
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof(wc);
    wc.style = CS_DBLCLKS;
    wc.lpfnWndProc = WindowProc;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    wc.lpszClassName = kClassName;
    return RegisterClassExW(&wc) != 0;
  }();
  (void)registered;
  taskbarCreated_ = RegisterWindowMessageW(L"TaskbarCreated");
  menus_ = LoadMenuW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDR_MENUS));
  CreateWindowExW(WS_EX_APPWINDOW, kClassName, L"Quillmere",
                  WS_POPUP | WS_CLIPCHILDREN | WS_MINIMIZEBOX | WS_MAXIMIZEBOX | WS_SYSMENU, CW_USEDEFAULT, 0, 0, 0,
                  nullptr, nullptr, GetModuleHandleW(nullptr), this);
  if (!hwnd_) throw RuntimeError(static_cast<int32_t>(GetLastError()), "MainWindow", "the main window cannot be made");
  if (args_.show) {
    ShowWindow(hwnd_, SW_SHOW);
    UpdateWindow(hwnd_);
  }
}

MainWindow::~MainWindow() {
  if (run_) {
    engine_.RequestStop();
    run_.reset();
  }
  if (hwnd_) {
    tray_.Remove();
    DestroyWindow(hwnd_);
  }
  if (menus_) DestroyMenu(menus_);
  if (images_) ImageList_Destroy(images_);
  if (icon_) DestroyIcon(icon_);
  if (smallIcon_) DestroyIcon(smallIcon_);
  if (font_) DeleteObject(font_);
}

LRESULT CALLBACK MainWindow::WindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_NCCREATE) {
    auto* self = static_cast<MainWindow*>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams);
    self->hwnd_ = hwnd;
    SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
  }
  auto* self = reinterpret_cast<MainWindow*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
  if (!self) return DefWindowProcW(hwnd, message, wParam, lParam);
  // No exception leaves a window procedure: it is told, and the message counts as handled.
  LRESULT result = 0;
  Guarded(self->prompt_, kProductCaption, [&] { result = self->Handle(message, wParam, lParam); });
  return result;
}

LRESULT MainWindow::Handle(UINT message, WPARAM wParam, LPARAM lParam) {
  const POINT point{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
  switch (message) {
    case WM_CREATE:
      OnCreate();
      return 0;
    case WM_SIZE:
      OnSize(wParam);
      return 0;
    case WM_GETMINMAXINFO: {
      auto* info = reinterpret_cast<MINMAXINFO*>(lParam);
      info->ptMinTrackSize = {TwipsToPixels(kMinimumWidthTwips, dpi_), TwipsToPixels(kMinimumHeightTwips, dpi_)};
      const RECT work = WorkArea();
      info->ptMaxPosition = {work.left, work.top};
      info->ptMaxSize = {work.right - work.left, work.bottom - work.top};
      return 0;
    }
    case WM_WINDOWPOSCHANGING: {
      // Maximised, the frameless window covers its monitor's work area (not the taskbar), whatever size the
      // system offers it.
      auto* pos = reinterpret_cast<WINDOWPOS*>(lParam);
      if (IsZoomed(hwnd_) && !(pos->flags & SWP_NOSIZE)) {
        const RECT work = WorkArea();
        pos->x = work.left;
        pos->y = work.top;
        pos->cx = work.right - work.left;
        pos->cy = work.bottom - work.top;
        pos->flags &= ~SWP_NOMOVE;
      }
      break;
    }
    case WM_DPICHANGED: {
      ApplyDpi(HIWORD(wParam));
      const RECT* suggested = reinterpret_cast<const RECT*>(lParam);
      SetWindowPos(hwnd_, nullptr, suggested->left, suggested->top, suggested->right - suggested->left,
                   suggested->bottom - suggested->top, SWP_NOZORDER | SWP_NOACTIVATE);
      return 0;
    }
    case WM_NCHITTEST: {
      POINT client = point;
      ScreenToClient(hwnd_, &client);
      return frame_.HitTest(client, Maximised());
    }
    case WM_NCLBUTTONDBLCLK:
      if (wParam == HTCAPTION) {
        ShowWindow(hwnd_, Maximised() ? SW_RESTORE : SW_MAXIMIZE);
        return 0;
      }
      break;
    case WM_ERASEBKGND:
      return 1;
    case WM_PAINT:
      PaintFrame();
      return 0;
    case WM_MOUSEMOVE:
      if (splitterGrab_) {
        SplitterMove(point);
      } else {
        TRACKMOUSEEVENT track{sizeof(track), TME_LEAVE, hwnd_, 0};
        TrackMouseEvent(&track);
        if (frame_.MouseMove(point)) InvalidateRect(hwnd_, nullptr, FALSE);
      }
      return 0;
    case WM_MOUSELEAVE:
      if (frame_.MouseLeave()) InvalidateRect(hwnd_, nullptr, FALSE);
      return 0;
    case WM_LBUTTONDOWN:
      if (const int title = frame_.MenuTitleAt(point); title >= 0) {
        ShowPictureMenu(title);
      } else if (frame_.MouseDown(point)) {
        SetCapture(hwnd_);
        InvalidateRect(hwnd_, nullptr, FALSE);
      } else {
        SplitterDown(point);
      }
      return 0;
    case WM_LBUTTONUP: {
      if (splitterGrab_) {
        SplitterUp();
        return 0;
      }
      ReleaseCapture();
      const FrameButton clicked = frame_.MouseUp(point);
      InvalidateRect(hwnd_, nullptr, FALSE);
      if (clicked == FrameButton::Minimise) ShowWindow(hwnd_, SW_MINIMIZE);
      if (clicked == FrameButton::Maximise) ShowWindow(hwnd_, Maximised() ? SW_RESTORE : SW_MAXIMIZE);
      if (clicked == FrameButton::Close) PostMessageW(hwnd_, WM_CLOSE, 0, 0);
      return 0;
    }
    case WM_SETCURSOR:
      if (LOWORD(lParam) == HTCLIENT) {
        POINT cursor;
        GetCursorPos(&cursor);
        ScreenToClient(hwnd_, &cursor);
        const int bar = TwipsToPixels(75, dpi_);
        if (splitterGrab_ || (cursor.x >= splitterLeft_ && cursor.x < splitterLeft_ + bar &&
                              cursor.y >= frame_.Layout().ContentTop)) {
          SetCursor(LoadCursorW(nullptr, IDC_SIZEWE));
          return TRUE;
        }
      }
      break;
    case WM_COMMAND:
      OnCommand(LOWORD(wParam));
      return 0;
    case WM_NOTIFY:
      return HandleNotify(*reinterpret_cast<const NMHDR*>(lParam));
    case WM_TIMER:
      if (wParam == kScheduleTimer) OnTick();
      return 0;
    case TrayIcon::kCallbackMessage:
      OnTrayCallback(lParam);
      return 0;
    case kRunEventsMessage:
      OnRunEvents();
      return 0;
    case kRunDoneMessage:
      OnRunDone();
      return 0;
    case kActivateMessage:
      if (IsIconic(hwnd_) || !IsWindowVisible(hwnd_)) ToggleShown();
      SetForegroundWindow(hwnd_);
      return 0;
    case WM_CLOSE:
      OnClose();
      return 0;
    case WM_DESTROY:
      hwnd_ = nullptr;
      if (args_.quitWithWindow) PostQuitMessage(0);
      return 0;
    default:
      if (message == taskbarCreated_ && taskbarCreated_ != 0) {
        tray_.Restore();
        return 0;
      }
      break;
  }
  return DefWindowProcW(hwnd_, message, wParam, lParam);
}

void MainWindow::OnCreate() {
  dpi_ = WindowDpi(hwnd_);
  icon_ = LoadAppIcon(GetSystemMetricsForDpi(SM_CXICON, dpi_));
  smallIcon_ = LoadAppIcon(GetSystemMetricsForDpi(SM_CXSMICON, dpi_));
  SendMessageW(hwnd_, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(icon_));
  SendMessageW(hwnd_, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(smallIcon_));
  tray_.Add(hwnd_, smallIcon_);
  tray_.SetTip(kProductCaption);
  CreateControls();
  try {
    for (const std::string& warning : engine_.LoadCatalogue(args_.catalogueFile)) panels_.Row = warning;
  } catch (const RuntimeError& e) {
    prompt_.Ask(kProductCaption, "The catalogue " + args_.catalogueFile + " cannot be loaded: " + e.Description(),
                PromptButtons::Ok, PromptIcon::Exclamation);
  }
  LoadTreeView();
  // The designed size, centred on the work area of the monitor the window starts on.
  const int width = TwipsToPixels(11400, dpi_), height = TwipsToPixels(8400, dpi_);
  RECT work{};
  SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
  SetWindowPos(hwnd_, nullptr, work.left + (work.right - work.left - width) / 2,
               work.top + (work.bottom - work.top - height) / 2, width, height, SWP_NOZORDER | SWP_NOACTIVATE);
  ApplyDpi(dpi_);
  SetStatus(panels_);
  SetTimer(hwnd_, kScheduleTimer, kScheduleInterval, nullptr);
}

void MainWindow::CreateControls() {
  const HINSTANCE instance = GetModuleHandleW(nullptr);
  auto make = [&](const wchar_t* cls, const wchar_t* text, DWORD style, DWORD exStyle, int id) {
    return CreateWindowExW(exStyle, cls, text, WS_CHILD | WS_VISIBLE | WS_TABSTOP | style, 0, 0, 0, 0, hwnd_,
                           reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), instance, nullptr);
  };
  treeView_ = make(WC_TREEVIEWW, L"",
                   TVS_HASBUTTONS | TVS_HASLINES | TVS_LINESATROOT | TVS_SHOWSELALWAYS | TVS_DISABLEDRAGDROP,
                   WS_EX_CLIENTEDGE, IDC_TREE);
  listView_ = make(WC_LISTVIEWW, L"", LVS_REPORT | LVS_OWNERDATA | LVS_SINGLESEL | LVS_SHOWSELALWAYS, WS_EX_CLIENTEDGE,
                   IDC_LIST);
  ListView_SetExtendedListViewStyle(listView_, LVS_EX_FULLROWSELECT | LVS_EX_DOUBLEBUFFER);
  status_ = make(STATUSCLASSNAMEW, L"", CCS_NOPARENTALIGN | CCS_NORESIZE, 0, IDC_STATUS);
  showButton_ = make(L"BUTTON", L"Show", BS_PUSHBUTTON, 0, IDC_SHOW);
  clearButton_ = make(L"BUTTON", L"Clear", BS_PUSHBUTTON, 0, IDC_CLEAR);
  tooltip_ = CreateWindowExW(0, TOOLTIPS_CLASSW, nullptr, WS_POPUP | TTS_ALWAYSTIP, CW_USEDEFAULT, CW_USEDEFAULT,
                             CW_USEDEFAULT, CW_USEDEFAULT, hwnd_, nullptr, instance, nullptr);
  LVCOLUMNW column{};
  column.mask = LVCF_TEXT | LVCF_WIDTH;
  column.pszText = const_cast<wchar_t*>(L"Privacy");
  ListView_InsertColumn(listView_, 0, &column);
  column.pszText = const_cast<wchar_t*>(L"");
  ListView_InsertColumn(listView_, 1, &column);
}

void MainWindow::ApplyDpi(int dpi) {
  dpi_ = dpi;
  NONCLIENTMETRICSW metrics{};
  metrics.cbSize = sizeof(metrics);
  SystemParametersInfoForDpi(SPI_GETNONCLIENTMETRICS, sizeof(metrics), &metrics, 0, dpi_);
  if (font_) DeleteObject(font_);
  font_ = CreateFontIndirectW(&metrics.lfMessageFont);
  for (HWND control : {treeView_, listView_, status_, showButton_, clearButton_}) {
    SendMessageW(control, WM_SETFONT, reinterpret_cast<WPARAM>(font_), TRUE);
  }
  if (images_) ImageList_Destroy(images_);
  images_ = CreatePrivacyImages(GetSystemMetricsForDpi(SM_CXSMICON, dpi_));
  TreeView_SetImageList(treeView_, images_, TVSIL_NORMAL);
  ListView_SetImageList(listView_, images_, LVSIL_SMALL);
  for (int c = 0; c < 2; ++c) ListView_SetColumnWidth(listView_, c, TwipsToPixels(5500, dpi_));

  // The controls' first places at this size; from here on FormResizeControl keeps their margins.
  RECT client{};
  GetClientRect(hwnd_, &client);
  const FrameLayout layout = LayOutFrame(client.right, client.bottom, dpi_);
  const int margin = layout.RightGrip.Width, bar = TwipsToPixels(75, dpi_);
  const int contentBottom = layout.ShowButton.Top - TwipsToPixels(90, dpi_);
  splitterLeft_ = std::max(TwipsToPixels(2926, dpi_), static_cast<int>(client.right * 3 / 10));
  MoveWindow(treeView_, margin, layout.ContentTop, splitterLeft_ - margin, contentBottom - layout.ContentTop, FALSE);
  MoveWindow(listView_, splitterLeft_ + bar, layout.ContentTop, client.right - margin - splitterLeft_ - bar,
             contentBottom - layout.ContentTop, FALSE);
  MoveWindow(status_, layout.Status.Left, layout.Status.Top, layout.Status.Width, layout.Status.Height, FALSE);
  form_ = std::make_unique<ClientForm>(hwnd_);
  resize_ = FormResizeControl();
  resize_.Initialize(*form_, TwipsToPixels(kMinimumWidthTwips, dpi_), TwipsToPixels(kMinimumHeightTwips, dpi_));
  resize_.SetResizeStyle(3, {IDC_TREE});
  resize_.SetResizeStyle(2, {IDC_LIST});
  resize_.SetResizeStyle(1, {IDC_STATUS});
  resize_.SetResizeStyle(6, {IDC_STATUS});
  LayOut();
}

void MainWindow::OnSize(WPARAM kind) {
  if (kind == SIZE_MINIMIZED) {
    // Minimised, the program lives in the tray only.
    ShowWindow(hwnd_, SW_HIDE);
    return;
  }
  lastShowState_ = kind == SIZE_MAXIMIZED ? SW_SHOWMAXIMIZED : SW_RESTORE;
  if (!form_) return;
  try {
    resize_.AutoResize();
  } catch (const RuntimeError&) {
    // A control that cannot be placed keeps its place; the frame is still laid out.
  }
  LayOut();
}

void MainWindow::LayOut() {
  RECT client{};
  GetClientRect(hwnd_, &client);
  const FrameLayout layout = LayOutFrame(client.right, client.bottom, dpi_);
  frame_.SetLayout(layout,
                   {{L"File", layout.MenuTitles[0]},
                    {L"Actions", layout.MenuTitles[1]},
                    {L"Tools", layout.MenuTitles[2]},
                    {L"Help", layout.MenuTitles[3]}},
                   dpi_);
  MoveWindow(showButton_, layout.ShowButton.Left, layout.ShowButton.Top, layout.ShowButton.Width,
             layout.ShowButton.Height, TRUE);
  MoveWindow(clearButton_, layout.ClearButton.Left, layout.ClearButton.Top, layout.ClearButton.Width,
             layout.ClearButton.Height, TRUE);
  // The outline's corners are rounded only while the window is not maximised.
  HRGN region = nullptr;
  if (!Maximised()) {
    for (const OutlineShape& shape : WindowOutline(client.right, client.bottom, dpi_)) {
      HRGN piece = shape.Shape == OutlineShape::Kind::Ellipse
                       ? CreateEllipticRgn(shape.Left, shape.Top, shape.Right, shape.Bottom)
                       : CreateRectRgn(shape.Left, shape.Top, shape.Right, shape.Bottom);
      if (!region) {
        region = piece;
      } else {
        CombineRgn(region, region, piece, RGN_OR);
        DeleteObject(piece);
      }
    }
  }
  SetWindowRgn(hwnd_, region, TRUE);
  UpdateMaximiseTip(layout.Maximise);
  SetStatus(panels_);
  InvalidateRect(hwnd_, nullptr, FALSE);
}

void MainWindow::UpdateMaximiseTip(const ControlBounds& button) {
  std::wstring text = Maximised() ? L"Restore Down" : L"Maximize";
  TTTOOLINFOW tool{};
  tool.cbSize = sizeof(tool);
  tool.uFlags = TTF_SUBCLASS;
  tool.hwnd = hwnd_;
  tool.uId = 1;
  tool.rect = RECT{button.Left, button.Top, button.Left + button.Width, button.Top + button.Height};
  tool.lpszText = text.data();
  if (!SendMessageW(tooltip_, TTM_SETTOOLINFOW, 0, reinterpret_cast<LPARAM>(&tool))) {
    SendMessageW(tooltip_, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&tool));
  }
  SendMessageW(tooltip_, TTM_NEWTOOLRECTW, 0, reinterpret_cast<LPARAM>(&tool));
}

void MainWindow::PaintFrame() {
  PAINTSTRUCT paint;
  HDC dc = BeginPaint(hwnd_, &paint);
  RECT client{};
  GetClientRect(hwnd_, &client);
  // Drawn off screen first, so the frame never flickers while it is resized.
  HDC memory = CreateCompatibleDC(dc);
  HBITMAP bitmap = CreateCompatibleBitmap(dc, client.right, client.bottom);
  HGDIOBJ old = SelectObject(memory, bitmap);
  RECT tree{};
  GetWindowRect(treeView_, &tree);
  MapWindowPoints(nullptr, hwnd_, reinterpret_cast<POINT*>(&tree), 2);
  const ControlBounds splitter{splitterLeft_, tree.top, TwipsToPixels(75, dpi_), tree.bottom - tree.top};
  frame_.Paint(memory, client, splitter, Maximised(), smallIcon_);
  BitBlt(dc, 0, 0, client.right, client.bottom, memory, 0, 0, SRCCOPY);
  SelectObject(memory, old);
  DeleteObject(bitmap);
  DeleteDC(memory);
  EndPaint(hwnd_, &paint);
}

bool MainWindow::Maximised() const { return IsZoomed(hwnd_) != FALSE; }

RECT MainWindow::WorkArea() const {
  MONITORINFO monitor{};
  monitor.cbSize = sizeof(monitor);
  GetMonitorInfoW(MonitorFromWindow(hwnd_, MONITOR_DEFAULTTONEAREST), &monitor);
  return monitor.rcWork;
}

// ---- The tree and the list ----

void MainWindow::LoadTreeView() {
  selecting_ = true;
  TreeView_DeleteAllItems(treeView_);
  tree_.Load(engine_.Catalogue());
  treeItems_.assign(tree_.size(), nullptr);
  for (std::size_t i = 0; i < tree_.size(); ++i) {
    const std::size_t parent = tree_[i].Node.Parent;
    TVINSERTSTRUCTW insert{};
    insert.hParent = parent == PrivacyTree::kNone ? TVI_ROOT : treeItems_[parent];
    insert.hInsertAfter = TVI_LAST;
    insert.item.mask = TVIF_PARAM | TVIF_TEXT;
    insert.item.pszText = const_cast<wchar_t*>(L"");
    insert.item.lParam = static_cast<LPARAM>(i);
    treeItems_[i] = TreeView_InsertItem(treeView_, &insert);
  }
  SyncTree();
  engine_.Catalogue().EmptyPrivacyValue();
  listed_.reset();
  listedRows_ = 0;
  ListView_SetItemCount(listView_, 0);
  if (!treeItems_.empty()) TreeView_SelectItem(treeView_, treeItems_[0]);
  selecting_ = false;
}

void MainWindow::SyncTree() {
  for (std::size_t index : tree_.TakeChanged()) SyncNode(index);
}

void MainWindow::SyncNode(std::size_t index) {
  const PrivacyTreeNode& node = tree_[index];
  const std::wstring text = W(node.Text);
  TVITEMW item{};
  item.mask = TVIF_HANDLE | TVIF_TEXT | TVIF_STATE | TVIF_IMAGE | TVIF_SELECTEDIMAGE;
  item.hItem = treeItems_[index];
  item.pszText = const_cast<wchar_t*>(text.c_str());
  item.stateMask = TVIS_BOLD;
  item.state = node.Bold ? TVIS_BOLD : 0;
  item.iImage = PrivacyImageIndex(node.Image);
  item.iSelectedImage = PrivacyImageIndex(node.SelectedImage);
  TreeView_SetItem(treeView_, &item);
  if (node.Expanded) TreeView_Expand(treeView_, treeItems_[index], TVE_EXPAND);
}

std::size_t MainWindow::SelectedNode() const {
  HTREEITEM selected = TreeView_GetSelection(treeView_);
  if (!selected) return PrivacyTree::kNone;
  TVITEMW item{};
  item.mask = TVIF_HANDLE | TVIF_PARAM;
  item.hItem = selected;
  TreeView_GetItem(treeView_, &item);
  return static_cast<std::size_t>(item.lParam);
}

void MainWindow::SelectNode(std::size_t index) {
  selecting_ = true;
  TreeView_SelectItem(treeView_, treeItems_[index]);
  TreeView_EnsureVisible(treeView_, treeItems_[index]);
  selecting_ = false;
}

void MainWindow::SetStatus(const StatusPanels& panels) {
  panels_ = panels;
  SetStatusPanels(status_, panels, dpi_);
}

LRESULT MainWindow::HandleNotify(const NMHDR& header) {
  if (header.hwndFrom == treeView_) {
    if (header.code == TVN_SELCHANGINGW) return run_ && !selecting_;  // no other node while a run is active
    if (header.code == TVN_SELCHANGEDW && !selecting_ && !run_) DisplaySelected();
    return 0;
  }
  if (header.hwndFrom != listView_) return 0;
  if (header.code == LVN_GETDISPINFOW) {
    auto& info = reinterpret_cast<NMLVDISPINFOW&>(const_cast<NMHDR&>(header));
    if (!listed_ || info.item.iItem < 0 || static_cast<std::size_t>(info.item.iItem) >= listedRows_) return 0;
    const ListRow row = RowOf(*listed_->Item(info.item.iItem + 1));
    if (info.item.mask & LVIF_TEXT) {
      const std::wstring text = W(info.item.iSubItem == 0 ? row.Text : row.Path);
      lstrcpynW(info.item.pszText, text.c_str(), info.item.cchTextMax);
    }
    if (info.item.mask & LVIF_IMAGE) info.item.iImage = PrivacyImageIndex(row.Icon);
  } else if (header.code == NM_CLICK) {
    const auto& activate = reinterpret_cast<const NMITEMACTIVATE&>(header);
    if (listed_ && activate.iItem >= 0 && static_cast<std::size_t>(activate.iItem) < listedRows_) {
      StatusPanels panels = panels_;
      panels.Row = RowOf(*listed_->Item(activate.iItem + 1)).Text;
      SetStatus(panels);
    }
  }
  return 0;
}

// ---- Runs ----

void MainWindow::StartRun(RunKind kind, bool ask, bool scheduled) {
  if (run_) {
    // The button or menu item of the active run reads "Stop".
    if (run_->Kind == kind) engine_.RequestStop();
    return;
  }
  const std::size_t node = SelectedNode();
  if (node == PrivacyTree::kNone) {
    if (kind == RunKind::Show) {
      prompt_.Ask(kProductCaption, "Please check which you want to show! ", PromptButtons::Ok, PromptIcon::Exclamation);
    }
    return;
  }
  if (ask && prompt_.Ask(kProductCaption,
                         "Are you sure to clear the privacy item \"" + tree_[node].Text + "\" and its all subitems?",
                         PromptButtons::YesNo, PromptIcon::Exclamation, true) != PromptAnswer::Yes) {
    return;
  }
  std::optional<RunTarget> target = SelectRunTarget(engine_.Catalogue(), tree_[node].Node.Tag);
  if (!target) return;
  run_ = std::make_unique<ActiveRun>();
  run_->Kind = kind;
  run_->Ask = ask;
  run_->Scheduled = scheduled;
  run_->Node = node;
  SetCommandStates(kind);
  tree_.SetRunMode(kind == RunKind::Clear ? RunMode::Delete : RunMode::Show);
  tree_.ResetNodeText(node);
  SyncTree();
  progress_ = RunProgress();
  listed_.reset();
  listedRows_ = 0;
  ListView_SetItemCount(listView_, 0);
  SetStatus({});
  engine_.Settings = settings_;
  engine_.ClearStop();
  const HWND hwnd = hwnd_;
  run_->Feed = std::make_unique<RunFeed>([hwnd] { PostMessageW(hwnd, kRunEventsMessage, 0, 0); });
  run_->Thread = std::make_unique<RunThread>(engine_, std::move(*target), RunOptions{kind == RunKind::Clear, false},
                                             *run_->Feed, [hwnd] { PostMessageW(hwnd, kRunDoneMessage, 0, 0); });
}

void MainWindow::OnRunEvents() {
  if (run_) ApplyEvents(run_->Feed->Take());
}

void MainWindow::ApplyEvents(const std::vector<RunEvent>& events) {
  for (const RunEvent& event : events) {
    switch (event.What) {
      case RunEvent::Kind::Traces:
        progress_.Add(event.Item->Software, event.Item->Title, event.Count, event.Bytes);
        tree_.OnAppendValue(*event.Item);
        panels_.Where = progress_.Panels().Where;
        panels_.Count = progress_.Panels().Count;
        panels_.Size = progress_.Panels().Size;
        break;
      case RunEvent::Kind::ItemFinish:
        tree_.OnParseItemFinish(*event.Item, event.Count);
        panels_.Row.clear();
        break;
      case RunEvent::Kind::ConfigFinish:
        tree_.OnParseConfigFinish(*event.Config, event.Count);
        break;
      case RunEvent::Kind::GroupFinish:
        tree_.OnParseBySoftwareTypeFinish(event.Group, event.Count);
        break;
      case RunEvent::Kind::Finish:
        tree_.OnParseFinish(event.Count);
        break;
    }
  }
  SyncTree();
  SetStatus(panels_);
}

void MainWindow::OnRunDone() {
  if (!run_) return;
  std::unique_ptr<ActiveRun> run = std::move(run_);
  ApplyEvents(run->Feed->Take());
  RunTotals totals;
  std::string failure;
  try {
    totals = run->Thread->Result();
  } catch (const RuntimeError& e) {
    failure = e.Description();
  }
  SelectNode(run->Node);
  ShowResult(totals);
  const std::vector<std::string> warnings = run->Feed->TakeWarnings();
  if (!warnings.empty()) {
    panels_.Row = warnings.back();
    SetStatus(panels_);
  }
  SetCommandStates(RunKind::None);
  if (!failure.empty()) {
    prompt_.Ask(kProductCaption, failure, PromptButtons::Ok, PromptIcon::Exclamation);
  } else if (run->Kind == RunKind::Clear && run->Ask && !totals.LogFileName.empty() &&
             prompt_.Ask(kProductCaption, "Log file is " + totals.LogFileName + ", view it?", PromptButtons::YesNo,
                         PromptIcon::Question, true) == PromptAnswer::Yes) {
    args_.start("notepad.exe", totals.LogFileName);
  }
  if (run->Scheduled) scheduler_.MarkRun(args_.clock->Now());
}

void MainWindow::DisplaySelected() {
  const std::size_t node = SelectedNode();
  if (node == PrivacyTree::kNone) return;
  std::optional<RunTarget> target = SelectRunTarget(engine_.Catalogue(), tree_[node].Node.Tag);
  if (!target) return;
  tree_.SetRunMode(RunMode::Display);
  RunFeed feed([] {});
  const RunTotals totals = engine_.Display(*target, &feed);
  ApplyEvents(feed.Take());
  ShowResult(totals);
}

void MainWindow::ShowResult(const RunTotals& totals) {
  SetStatus(ShowTraces(listView_, totals, settings_.DisplayMaxRows, listed_, listedRows_));
}

void MainWindow::SetCommandStates(RunKind run) {
  const CommandStates states = CommandStatesFor(run);
  SetWindowTextW(showButton_, W(states.ShowCaption).c_str());
  SetWindowTextW(clearButton_, W(states.ClearCaption).c_str());
  EnableWindow(showButton_, states.ShowEnabled);
  EnableWindow(clearButton_, states.ClearEnabled);
  SetMenuCaption(menus_, IDM_SHOW, run == RunKind::Show ? states.ShowCaption : "&Show");
  SetMenuCaption(menus_, IDM_CLEAR, run == RunKind::Clear ? states.ClearCaption : "&Clear");
  EnableItem(menus_, IDM_SHOW, states.ShowEnabled);
  EnableItem(menus_, IDM_CLEAR, states.ClearEnabled);
  SetMenuCaption(menus_, IDM_ST_CLEAR_NOW, states.ClearNowCaption);
  EnableItem(menus_, IDM_ST_CLEAR_NOW, states.ClearNowEnabled);
  EnableItem(menus_, IDM_FILE_LOGGING, states.FileLoggingEnabled);
  EnableItem(menus_, IDM_ST_FILE_LOGGING, states.FileLoggingEnabled);
  for (int id : {IDM_RELOAD_CONFIG, IDM_PREFERENCE, IDM_ADD_PLUGINS, IDM_ADD_CUSTOM}) {
    EnableItem(menus_, id, states.CatalogueCommandsEnabled);
  }
  if (states.TimerOn) {
    SetTimer(hwnd_, kScheduleTimer, kScheduleInterval, nullptr);
  } else {
    KillTimer(hwnd_, kScheduleTimer);
  }
}

void MainWindow::DoClear(bool ask) { StartRun(RunKind::Clear, ask, false); }

void MainWindow::ScheduleClear() {
  if (run_) return;
  if (!treeItems_.empty()) SelectNode(0);
  StartRun(RunKind::Clear, false, false);
}

// ---- Menus, tray and timer ----

void MainWindow::OnCommand(int id) {
  switch (id) {
    case IDC_SHOW:
    case IDM_SHOW:
      StartRun(RunKind::Show, false, false);
      break;
    case IDC_CLEAR:
      DoClear(true);
      break;
    case IDM_CLEAR:
      DoClear(false);
      break;
    case IDM_RELOAD_CONFIG:
      if (!RefuseDuringRun("Reload Config", "Reload Config") &&
          prompt_.Ask("Reload Config", "The configuration will be reloaded, continue?", PromptButtons::OkCancel,
                      PromptIcon::Question) == PromptAnswer::Ok) {
        LoadTreeView();
      }
      break;
    case IDM_EXIT:
      closing_ = true;
      OnClose();
      closing_ = false;
      break;
    case IDM_ST_EXIT:
      OnClose();
      break;
    case IDM_VIEW_TODAY_LOG:
      ViewTodayLog();
      break;
    case IDM_CONTENTS:
    case IDM_FAQ:
      OpenHelp();
      break;
    case IDM_ABOUT:
    case IDM_ST_ABOUT:
      ShowAboutDialog(hwnd_);
      break;
    case IDM_ST_SHOW_HIDE:
      ToggleShown();
      break;
    case IDM_ST_CLEAR_NOW:
      ScheduleClear();
      break;
    case IDM_PREFERENCE:
    case IDM_ST_PREFERENCES:
      if (!RefuseDuringRun("Preferences", "Preferences")) OpenPreferences();
      break;
    case IDM_ADD_PLUGINS:
      if (!RefuseDuringRun("Add Plugins", "Add Plugins")) OpenAddPlugins();
      break;
    case IDM_ADD_CUSTOM:
      if (!RefuseDuringRun("Add Custom", "Add Custom")) OpenCustomList();
      break;
    default:
      ApplySetting(id);
      break;
  }
}

bool MainWindow::RefuseDuringRun(const std::string& command, const std::string& caption) {
  if (!run_) return false;
  prompt_.Ask(caption, "Please stop current processing, then click " + command + " menu item.", PromptButtons::Ok,
              PromptIcon::Exclamation);
  return true;
}

void MainWindow::ApplySetting(int id) {
  // A setting's item and its twin in the other menu: the clicked one toggles, the twin follows.
  struct Toggle {
    int Item;
    int Twin;
    int Other;  ///< the schedule item that is unchecked when this one becomes checked
    int OtherTwin;
    MenuSetting Setting;
  };
  static constexpr Toggle kToggles[] = {
      {IDM_FILE_LOGGING, IDM_ST_FILE_LOGGING, 0, 0, MenuSetting::FileLogging},
      {IDM_ST_FILE_LOGGING, IDM_FILE_LOGGING, 0, 0, MenuSetting::FileLogging},
      {IDM_RUN_ON_STARTUP, 0, 0, 0, MenuSetting::RunOnStartup},
      {IDM_TURN_OFF_AUTOCOMPLETE, 0, 0, 0, MenuSetting::TurnOffAutoComplete},
      {IDM_ENABLE_MONITOR, IDM_ST_MONITOR, 0, 0, MenuSetting::Monitor},
      {IDM_ST_MONITOR, IDM_ENABLE_MONITOR, 0, 0, MenuSetting::Monitor},
      {IDM_SCHEDULE_INTERVAL, IDM_ST_SCHEDULE_INTERVAL, IDM_SCHEDULE_DAILY, IDM_ST_SCHEDULE_DAILY,
       MenuSetting::Schedule},
      {IDM_SCHEDULE_DAILY, IDM_ST_SCHEDULE_DAILY, IDM_SCHEDULE_INTERVAL, IDM_ST_SCHEDULE_INTERVAL,
       MenuSetting::Schedule},
      {IDM_ST_SCHEDULE_INTERVAL, IDM_SCHEDULE_INTERVAL, IDM_ST_SCHEDULE_DAILY, IDM_SCHEDULE_DAILY,
       MenuSetting::Schedule},
      {IDM_ST_SCHEDULE_DAILY, IDM_SCHEDULE_DAILY, IDM_ST_SCHEDULE_INTERVAL, IDM_SCHEDULE_INTERVAL,
       MenuSetting::Schedule},
  };
  const auto toggle = std::find_if(std::begin(kToggles), std::end(kToggles), [id](const Toggle& t) { return t.Item == id; });
  if (toggle == std::end(kToggles)) return;
  const bool checked = !IsChecked(menus_, id);
  CheckItem(menus_, id, checked);
  if (toggle->Twin) CheckItem(menus_, toggle->Twin, checked);
  if (checked && toggle->Other) {
    CheckItem(menus_, toggle->Other, false);
    CheckItem(menus_, toggle->OtherTwin, false);
  }
  const MenuChecks checks{IsChecked(menus_, IDM_RUN_ON_STARTUP),    IsChecked(menus_, IDM_TURN_OFF_AUTOCOMPLETE),
                          IsChecked(menus_, IDM_ENABLE_MONITOR),    IsChecked(menus_, IDM_SCHEDULE_INTERVAL),
                          IsChecked(menus_, IDM_SCHEDULE_DAILY),    IsChecked(menus_, IDM_FILE_LOGGING)};
  ApplyMenuSettings(engine_.Registry(), settings_, toggle->Setting, checks, args_.roots);
}

void MainWindow::RefreshActionsMenu() {
  const ActionsMenuState state = ActionsMenuFor(settings_);
  CheckItem(menus_, IDM_RUN_ON_STARTUP, state.RunOnStartup);
  CheckItem(menus_, IDM_TURN_OFF_AUTOCOMPLETE, state.TurnOffAutoComplete);
  CheckItem(menus_, IDM_ENABLE_MONITOR, state.EnableMonitor);
  CheckItem(menus_, IDM_FILE_LOGGING, state.FileLogging);
  SetScheduleItems(menus_, IDM_SCHEDULE_INTERVAL, IDM_SCHEDULE_DAILY, state);
}

void MainWindow::PopUpMenu(POINT screen, HMENU submenu) {
  TrackPopupMenuEx(submenu, TPM_LEFTALIGN | TPM_TOPALIGN | TPM_LEFTBUTTON, screen.x, screen.y, hwnd_, nullptr);
}

void MainWindow::ShowPictureMenu(int title) {
  // The titles of the bar are the menus of the resource, in the same order.
  const int position = title;
  if (position == kActionsMenu) RefreshActionsMenu();
  const ControlBounds& bounds = frame_.Titles()[title].Bounds;
  POINT below{bounds.Left, bounds.Top + bounds.Height};
  ClientToScreen(hwnd_, &below);
  frame_.SetOpenMenu(title);
  InvalidateRect(hwnd_, nullptr, FALSE);
  UpdateWindow(hwnd_);
  PopUpMenu(below, GetSubMenu(menus_, position));
  // Exit may have closed the window while its menu was open.
  if (closing_ || !hwnd_) return;
  frame_.SetOpenMenu(-1);
  frame_.MouseLeave();
  InvalidateRect(hwnd_, nullptr, FALSE);
}

void MainWindow::ShowTrayMenu() {
  const TrayMenuState state = TrayMenuFor(settings_, IsIconic(hwnd_) || !IsWindowVisible(hwnd_));
  SetMenuCaption(menus_, IDM_ST_SHOW_HIDE, state.ShowHideCaption);
  CheckItem(menus_, IDM_ST_MONITOR, state.Monitor);
  SetScheduleItems(menus_, IDM_ST_SCHEDULE_INTERVAL, IDM_ST_SCHEDULE_DAILY, state);
  // The logging mark shows the setting too, so its first click turns logging off when it is on.
  CheckItem(menus_, IDM_ST_FILE_LOGGING, settings_.EnableFileLogging);
  HMENU tray = GetSubMenu(menus_, kTrayMenu);
  SetMenuDefaultItem(tray, IDM_ST_SHOW_HIDE, FALSE);
  POINT cursor;
  GetCursorPos(&cursor);
  // The menu closes when the user clicks elsewhere only if the window is in the foreground.
  SetForegroundWindow(hwnd_);
  PopUpMenu(cursor, tray);
  PostMessageW(hwnd_, WM_NULL, 0, 0);
}

void MainWindow::OnTrayCallback(LPARAM mouseMessage) {
  if (mouseMessage == WM_LBUTTONUP) ToggleShown();
  if (mouseMessage == WM_RBUTTONUP) ShowTrayMenu();
}

void MainWindow::ToggleShown() {
  if (IsIconic(hwnd_) || !IsWindowVisible(hwnd_)) {
    ShowWindow(hwnd_, lastShowState_);
    SetForegroundWindow(hwnd_);
  } else {
    ShowWindow(hwnd_, SW_MINIMIZE);
  }
}

void MainWindow::OnClose() {
  if (run_) {
    prompt_.Ask(kProductCaption, "Please stop current processing, then exit the program.", PromptButtons::Ok,
                PromptIcon::Exclamation);
    return;
  }
  KillTimer(hwnd_, kScheduleTimer);
  tray_.Remove();
  DestroyWindow(hwnd_);
}

void MainWindow::OnTick() {
  if (run_ || monitorAsking_) return;
  if (settings_.MonitorStartPage) CheckStartPage();
  CheckSchedule();
  try {
    engine_.Log().DeleteExpiredLogs(settings_.KeepLogDays);
  } catch (const RuntimeError&) {
    // A log that cannot be deleted now is tried again on the next tick.
  }
}

void MainWindow::CheckStartPage() {
  const BrowserPages current = ReadBrowserPages(engine_.Registry());
  const std::optional<std::string> question = MonitorQuestion(settings_, current);
  if (!question) return;
  // The question is modal and the timer keeps ticking under it: one question at a time.
  monitorAsking_ = true;
  const PromptAnswer answer =
      prompt_.Ask("Monitor Message", *question, PromptButtons::YesNo, PromptIcon::Exclamation);
  monitorAsking_ = false;
  if (answer == PromptAnswer::Yes) RecoverBrowserPages(engine_.Registry(), settings_);
  if (answer == PromptAnswer::No) AdoptBrowserPages(engine_.Registry(), settings_, current, args_.roots);
}

void MainWindow::CheckSchedule() {
  if (!scheduler_.Due(settings_, args_.clock->Now()) || treeItems_.empty()) return;
  SelectNode(0);
  StartRun(RunKind::Clear, false, true);
}

// ---- The secondary windows ----

void MainWindow::WithTimerOff(const std::function<void()>& window) {
  // The schedule waits while a window that changes the catalogue or the settings is open.
  KillTimer(hwnd_, kScheduleTimer);
  window();
  SetTimer(hwnd_, kScheduleTimer, kScheduleInterval, nullptr);
}

bool MainWindow::OpenDetail(HWND owner, PrivacyConfig& working) {
  return ShowPrivacyDetailDialog(owner, PrivacyDetailArgs{working, engine_, prompt_, settings_.DisplayMaxRows});
}

void MainWindow::OpenPreferences() {
  PreferencesArgs preferences;
  preferences.catalogue = &engine_.Catalogue();
  preferences.settings = settings_;
  preferences.registry = &engine_.Registry();
  preferences.roots = args_.roots;
  preferences.catalogueFile = args_.catalogueFile;
  preferences.prompt = &prompt_;
  preferences.openDetail = [this](HWND owner, PrivacyConfig& working) { return OpenDetail(owner, working); };
  AppliedPreferences applied;
  WithTimerOff([&] { applied = ShowPreferencesDialog(hwnd_, preferences); });
  if (applied.Settings) settings_ = *applied.Settings;
  if (applied.Catalogue) {
    engine_.Catalogue().RemoveAll();
    engine_.Catalogue().AddAll(*applied.Catalogue);
    LoadTreeView();
  }
}

void MainWindow::OpenAddPlugins() {
  AddPluginsArgs plugins;
  plugins.engine = &engine_;
  plugins.catalogueFile = args_.catalogueFile;
  // The plug-in files lie in "plugins" beside the catalogue.
  const std::string& file = args_.catalogueFile;
  plugins.pluginsFolder = FileSystem::Join(file.substr(0, file.find_last_of("\\/")), "plugins");
  plugins.prompt = &prompt_;
  plugins.rebuildTree = [this] { LoadTreeView(); };
  WithTimerOff([&] { ShowAddPluginsDialog(hwnd_, plugins); });
}

void MainWindow::OpenCustomList() {
  CustomListArgs customs;
  customs.catalogue = &engine_.Catalogue();
  customs.catalogueFile = args_.catalogueFile;
  customs.prompt = &prompt_;
  customs.openMaker = [this](HWND owner, PrivacyConfig& working, bool) {
    CustomMakerArgs maker{working, engine_, prompt_, settings_.DisplayMaxRows, {}};
    maker.openItem = [this](HWND itemOwner, PrivacyItem& item, bool) {
      CustomItemArgs itemArgs;
      itemArgs.item = &item;
      itemArgs.prompt = &prompt_;
      itemArgs.folders = engine_.Folders();
      return ShowCustomItemDialog(itemOwner, itemArgs);
    };
    return ShowCustomMakerDialog(owner, maker);
  };
  customs.rebuildTree = [this] { LoadTreeView(); };
  WithTimerOff([&] { ShowCustomListDialog(hwnd_, customs); });
}

void MainWindow::ViewTodayLog() {
  if (const std::optional<std::string> file = engine_.Log().TodayLogFile()) {
    args_.start("notepad.exe", *file);
  } else {
    prompt_.Ask(kProductCaption, kNoTodayLogMessage, PromptButtons::Ok, PromptIcon::Exclamation);
  }
}

void MainWindow::OpenHelp() { args_.start("", FileSystem::Join(shell::ProgramFolder(), "Quillmere.chm")); }

// ---- The splitter ----

void MainWindow::SplitterDown(POINT point) {
  const int bar = TwipsToPixels(75, dpi_);
  if (point.x < splitterLeft_ || point.x >= splitterLeft_ + bar || point.y < frame_.Layout().ContentTop) return;
  splitterGrab_ = splitterLeft_ - point.x;
  SetCapture(hwnd_);
}

void MainWindow::SplitterMove(POINT point) {
  RECT client{};
  GetClientRect(hwnd_, &client);
  if (const std::optional<int> left = SplitterLeftFor(point.x, *splitterGrab_, client.right, dpi_)) {
    splitterLeft_ = *left;
    InvalidateRect(hwnd_, nullptr, FALSE);
  }
}

void MainWindow::SplitterUp() {
  ReleaseCapture();
  splitterGrab_.reset();
  const int bar = TwipsToPixels(75, dpi_);
  const ControlBounds tree = form_->Bounds(IDC_TREE);
  const ControlBounds list = form_->Bounds(IDC_LIST);
  const int listLeft = splitterLeft_ + bar;
  form_->Move(IDC_TREE, {tree.Left, tree.Top, splitterLeft_ - tree.Left, tree.Height});
  form_->Move(IDC_LIST, {listLeft, list.Top, list.Width - (listLeft - list.Left), list.Height});
  // Their margins are measured anew from where they are now.
  resize_.RemoveResizeControl(IDC_TREE);
  resize_.RemoveResizeControl(IDC_LIST);
  resize_.SetResizeStyle(3, {IDC_TREE});
  resize_.SetResizeStyle(2, {IDC_LIST});
  InvalidateRect(hwnd_, nullptr, FALSE);
}

}  // namespace qm::ui
