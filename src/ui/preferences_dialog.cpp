#include "ui/preferences_dialog.h"

#include <commctrl.h>

#include <array>
#include <exception>
#include <functional>
#include <utility>
#include <vector>

#include "platform/error.h"
#include "platform/text_win32.h"
#include "ui/preferences_dialog_ids.h"

namespace qm::ui {
namespace {

// The page templates in the order of PreferencesPage, None left out; each page's window takes its number as id.
constexpr int kPageTemplates[] = {IDD_PREF_GENERAL, IDD_PREF_PRIVACY, IDD_PREF_WINDOWS, IDD_PREF_INTERNET_EXPLORER,
                                  IDD_PREF_PLUGINS, IDD_PREF_CUSTOMS, IDD_PREF_ADVANCE};
constexpr std::size_t kPageCount = std::size(kPageTemplates);

constexpr int kFirstCheck[kBuiltInPages] = {IDC_WINS_CHECK_FIRST, IDC_INET_CHECK_FIRST};
constexpr int kAdvanceButton[kBuiltInPages] = {IDC_WINS_ADVANCE, IDC_INET_ADVANCE};

constexpr std::pair<int, bool PreferencesFields::*> kFieldBoxes[] = {
    {IDC_GENE_RUN_ON_STARTUP, &PreferencesFields::RunOnStartup},
    {IDC_GENE_TURN_OFF_AUTOCOMPLETE, &PreferencesFields::TurnOffAutoComplete},
    {IDC_GENE_IE_MONITOR, &PreferencesFields::MonitorStartPage},
    {IDC_ADVA_SCHEDULE_INTERVAL, &PreferencesFields::ScheduleInterval},
    {IDC_ADVA_SCHEDULE_CLOCK, &PreferencesFields::ScheduleDaily},
    {IDC_ADVA_ENABLE_FILE_LOGGING, &PreferencesFields::EnableFileLogging},
};
constexpr std::pair<int, std::string PreferencesFields::*> kFieldTexts[] = {
    {IDC_GENE_HOME_PAGE, &PreferencesFields::StartPage},
    {IDC_GENE_WINDOW_TITLE, &PreferencesFields::WindowTitle},
};
// The drop-down lists in the order of ui::Choice.
constexpr int kChoiceLists[kChoiceCount] = {IDC_ADVA_INTERVAL_LIST, IDC_ADVA_CLOCK_LIST, IDC_ADVA_FILL_TIMES,
                                            IDC_ADVA_KEEP_LOG_DAYS, IDC_ADVA_DISPLAY_MAX_ROWS};

/// The controls of a list page and the rows it shows.
struct ListPage {
  int frame, list, selectAll, detail, remove;
  const wchar_t* firstColumn;
  ConfigList PreferencesWork::*rows;
};
constexpr ListPage kListPages[] = {
    {IDC_PLUG_FRAME, IDC_PLUG_LIST, IDC_PLUG_SELECT_ALL, IDC_PLUG_DETAIL, IDC_PLUG_DELETE, L"Application",
     &PreferencesWork::Plugins},
    {IDC_CUST_FRAME, IDC_CUST_LIST, IDC_CUST_SELECT_ALL, IDC_CUST_DETAIL, IDC_CUST_DELETE, L"Name",
     &PreferencesWork::Customs},
};

std::string WindowText(HWND window) {
  std::wstring text(static_cast<std::size_t>(GetWindowTextLengthW(window)) + 1, L'\0');
  text.resize(static_cast<std::size_t>(GetWindowTextW(window, text.data(), static_cast<int>(text.size()))));
  return text::Narrow(text);
}

void SetText(HWND window, const std::string& text) { SetWindowTextW(window, text::Widen(text).c_str()); }

class PreferencesDialog {
 public:
  explicit PreferencesDialog(const PreferencesArgs& args) : args_(args), work_(*args.catalogue, args.settings) {}
  ~PreferencesDialog() {
    if (headingFont_) DeleteObject(headingFont_);
  }
  PreferencesDialog(const PreferencesDialog&) = delete;
  PreferencesDialog& operator=(const PreferencesDialog&) = delete;

  AppliedPreferences Run(HWND owner) {
    if (DialogBoxParamW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDD_PREFERENCES), owner, DialogProc,
                        reinterpret_cast<LPARAM>(this)) == -1) {
      throw RuntimeError(static_cast<int32_t>(GetLastError()), kPreferencesCaption, "the dialog cannot be shown");
    }
    return std::move(applied_);
  }

 private:
  static INT_PTR CALLBACK DialogProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_INITDIALOG) {
      SetWindowLongPtrW(hwnd, GWLP_USERDATA, lParam);
      auto* self = reinterpret_cast<PreferencesDialog*>(lParam);
      self->dialog_ = hwnd;
      self->Guarded([self] { self->OnInit(); });
      return TRUE;
    }
    auto* self = reinterpret_cast<PreferencesDialog*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
    return self ? self->Handle(message, wParam, lParam) : FALSE;
  }

  // A page's controls notify the page; it hands their notices to the dialog.
  static INT_PTR CALLBACK PageProc(HWND page, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_INITDIALOG) {
      SetWindowLongPtrW(page, GWLP_USERDATA, lParam);
      return FALSE;
    }
    auto* self = reinterpret_cast<PreferencesDialog*>(GetWindowLongPtrW(page, GWLP_USERDATA));
    return self && (message == WM_COMMAND || message == WM_NOTIFY) ? self->Handle(message, wParam, lParam) : FALSE;
  }

  INT_PTR Handle(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
      case WM_COMMAND: Guarded([&] { OnCommand(LOWORD(wParam), HIWORD(wParam)); }); return TRUE;
      case WM_NOTIFY: Guarded([&] { OnNotify(*reinterpret_cast<const NMHDR*>(lParam)); }); return TRUE;
      default: return FALSE;
    }
  }

  // No exception leaves a dialog procedure: a failure is told, and the dialog stays as it was.
  void Guarded(const std::function<void()>& step) {
    try {
      step();
    } catch (const RuntimeError& e) {
      args_.prompt->Ask(kPreferencesCaption, e.Description(), PromptButtons::Ok, PromptIcon::Exclamation);
    } catch (const std::exception& e) {
      args_.prompt->Ask(kPreferencesCaption, e.what(), PromptButtons::Ok, PromptIcon::Exclamation);
    }
  }

  void OnInit() {
    SetHeadingFont();
    CreatePages();
    for (std::size_t c = 0; c < kChoiceCount; ++c) {
      for (const std::string& text : Choices(static_cast<Choice>(c)).Texts) {
        SendMessageW(Control(kChoiceLists[c]), CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text::Widen(text).c_str()));
      }
    }
    ShowFields(work_.Fields);
    for (std::size_t page = 0; page < kBuiltInPages; ++page) ShowChecks(page);
    for (const ListPage& page : kListPages) {
      HWND list = Control(page.list);
      ListView_SetExtendedListViewStyle(list, LVS_EX_CHECKBOXES | LVS_EX_FULLROWSELECT);
      RECT client{};
      GetClientRect(list, &client);
      const int width = client.right - client.left - GetSystemMetrics(SM_CXVSCROLL);
      AddColumn(list, 0, page.firstColumn, width * 2 / 5);
      AddColumn(list, 1, L"Description", width - width * 2 / 5);
      FillList(page);
    }
    FillTree();
  }

  void SetHeadingFont() {
    LOGFONTW font{};
    GetObjectW(reinterpret_cast<HFONT>(SendMessageW(dialog_, WM_GETFONT, 0, 0)), sizeof(font), &font);
    wcscpy_s(font.lfFaceName, L"Verdana");
    font.lfHeight = font.lfHeight * 4 / 3;
    font.lfWeight = FW_BOLD;
    headingFont_ = CreateFontIndirectW(&font);
    SendDlgItemMessageW(dialog_, IDC_PREF_HEADING, WM_SETFONT, reinterpret_cast<WPARAM>(headingFont_), FALSE);
  }

  // The pages lie on top of each other in the place the template keeps for them, after the tree in tab order.
  void CreatePages() {
    RECT area{};
    GetWindowRect(GetDlgItem(dialog_, IDC_PREF_PAGE_AREA), &area);
    MapWindowPoints(nullptr, dialog_, reinterpret_cast<POINT*>(&area), 2);
    HWND after = GetDlgItem(dialog_, IDC_PREF_TREE);
    for (std::size_t i = 0; i < kPageCount; ++i) {
      HWND page = CreateDialogParamW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(kPageTemplates[i]), dialog_, PageProc,
                                     reinterpret_cast<LPARAM>(this));
      if (!page) throw RuntimeError(static_cast<int32_t>(GetLastError()), kPreferencesCaption, "a page cannot be made");
      SetWindowLongPtrW(page, GWLP_ID, kPageTemplates[i]);
      SetWindowPos(page, after, area.left, area.top, area.right - area.left, area.bottom - area.top, SWP_NOACTIVATE);
      pages_[i] = after = page;
    }
  }

  void FillTree() {
    HWND tree = GetDlgItem(dialog_, IDC_PREF_TREE);
    nodes_ = PreferencesTree(*args_.catalogue);
    std::vector<HTREEITEM> items;
    for (std::size_t i = 0; i < nodes_.size(); ++i) {
      std::wstring text = text::Widen(nodes_[i].Text);
      TVINSERTSTRUCTW insert{};
      insert.hParent = nodes_[i].Parent == PreferencesNode::kNoParent ? TVI_ROOT : items[nodes_[i].Parent];
      insert.hInsertAfter = TVI_LAST;
      insert.item.mask = TVIF_TEXT | TVIF_PARAM;
      insert.item.pszText = text.data();
      insert.item.lParam = static_cast<LPARAM>(i);
      items.push_back(TreeView_InsertItem(tree, &insert));
    }
    for (std::size_t i = 0; i < nodes_.size(); ++i) {
      if (nodes_[i].Expanded) TreeView_Expand(tree, items[i], TVE_EXPAND);
    }
    // Selecting "General" shows its page.
    TreeView_SelectItem(tree, items.front());
  }

  void ShowNode(std::size_t node) {
    SetText(GetDlgItem(dialog_, IDC_PREF_HEADING), nodes_[node].Text);
    for (HWND page : pages_) ShowWindow(page, SW_HIDE);
    if (nodes_[node].Page != PreferencesPage::None) {
      ShowWindow(pages_[static_cast<std::size_t>(nodes_[node].Page) - 1], SW_SHOW);
    }
  }

  void OnCommand(int id, int code) {
    if (code != BN_CLICKED) return;
    switch (id) {
      case IDOK:
        Apply();
        EndDialog(dialog_, IDOK);
        return;
      case IDCANCEL: EndDialog(dialog_, IDCANCEL); return;
      case IDC_PREF_APPLY: Apply(); return;
      case IDC_GENE_DEFAULT: EditFields(GeneralDefaults); return;
      case IDC_GENE_USE_BLANK: EditFields(UseBlankPages); return;
      case IDC_GENE_APPLY_TO_IE: ApplyToBrowser(*args_.registry, ReadFields()); return;
      case IDC_ADVA_DEFAULT: EditFields(AdvanceDefaults); return;
      case IDC_ADVA_SCHEDULE_INTERVAL:
      case IDC_ADVA_SCHEDULE_CLOCK:
        EditFields([&](PreferencesFields& f) { SetScheduleCheck(f, id == IDC_ADVA_SCHEDULE_INTERVAL, Checked(id)); });
        return;
      default: break;
    }
    for (std::size_t page = 0; page < kBuiltInPages; ++page) {
      if (id == kAdvanceButton[page]) OpenBuiltInDetail(page);
    }
    for (const ListPage& page : kListPages) {
      if (id == page.selectAll) {
        (work_.*page.rows).MarkAll(Checked(id));
        ShowMarks(page);
      } else if (id == page.detail) {
        OpenRowDetail(page);
      } else if (id == page.remove) {
        DeleteRows(page);
      }
    }
  }

  void OnNotify(const NMHDR& header) {
    if (header.idFrom == IDC_PREF_TREE && header.code == TVN_SELCHANGEDW) {
      ShowNode(static_cast<std::size_t>(reinterpret_cast<const NMTREEVIEWW&>(header).itemNew.lParam));
    }
    for (const ListPage& page : kListPages) {
      if (static_cast<int>(header.idFrom) != page.list) continue;
      if (header.code == NM_DBLCLK) OpenRowDetail(page);
      if (header.code == LVN_ITEMCHANGED) OnRowChanged(page, reinterpret_cast<const NMLISTVIEW&>(header));
    }
  }

  // "Apply" and "OK": a failure raises, so OK keeps the dialog open.
  void Apply() {
    work_.Fields = ReadFields();
    for (std::size_t page = 0; page < kBuiltInPages; ++page) ReadChecks(page);
    // Held here: applying replaces it in `applied_`.
    const std::shared_ptr<PrivacyConfigs> previous = applied_.Catalogue;
    ApplyPreferences(work_, previous ? *previous : *args_.catalogue, *args_.registry, args_.roots, args_.catalogueFile,
                     applied_);
  }

  HWND Control(int id) const {
    for (HWND page : pages_) {
      if (HWND control = GetDlgItem(page, id)) return control;
    }
    return GetDlgItem(dialog_, id);
  }
  bool Checked(int id) const { return SendMessageW(Control(id), BM_GETCHECK, 0, 0) == BST_CHECKED; }
  void Check(int id, bool checked) { SendMessageW(Control(id), BM_SETCHECK, checked ? BST_CHECKED : BST_UNCHECKED, 0); }

  PreferencesFields ReadFields() const {
    PreferencesFields f;
    for (const auto& [id, field] : kFieldBoxes) f.*field = Checked(id);
    for (const auto& [id, field] : kFieldTexts) f.*field = WindowText(Control(id));
    for (std::size_t c = 0; c < kChoiceCount; ++c) {
      // No selection (CB_ERR) reads as an index past the list, which stands for the list's fallback.
      f.Choice[c] = static_cast<std::size_t>(SendMessageW(Control(kChoiceLists[c]), CB_GETCURSEL, 0, 0));
    }
    return f;
  }

  void ShowFields(const PreferencesFields& f) {
    for (const auto& [id, field] : kFieldBoxes) Check(id, f.*field);
    for (const auto& [id, field] : kFieldTexts) SetText(Control(id), f.*field);
    for (std::size_t c = 0; c < kChoiceCount; ++c) {
      SendMessageW(Control(kChoiceLists[c]), CB_SETCURSEL, f.Choice[c], 0);
    }
  }

  void EditFields(const std::function<void(PreferencesFields&)>& edit) {
    PreferencesFields f = ReadFields();
    edit(f);
    ShowFields(f);
  }

  void ReadChecks(std::size_t page) {
    for (std::size_t i = 0; i < kBuiltInChecks; ++i) {
      std::optional<bool>& check = work_.Checks[page][i];
      if (check) check = Checked(kFirstCheck[page] + static_cast<int>(i));
    }
  }

  void ShowChecks(std::size_t page) {
    for (std::size_t i = 0; i < kBuiltInChecks; ++i) {
      const std::optional<bool>& check = work_.Checks[page][i];
      const int id = kFirstCheck[page] + static_cast<int>(i);
      Check(id, check.value_or(false));
      EnableWindow(Control(id), check.has_value());
    }
  }

  void OpenBuiltInDetail(std::size_t page) {
    const std::shared_ptr<PrivacyConfig> copy = work_.BuiltIn(page);
    if (!copy || !args_.openDetail) return;
    ReadChecks(page);
    work_.ChecksToCopy(page);
    args_.openDetail(dialog_, *copy);
    work_.ChecksFromCopy(page);
    ShowChecks(page);
  }

  /// Inserting rows and setting marks from the model change the list's check boxes too: those are no ticks.
  class Filling {
   public:
    explicit Filling(bool& flag) : flag_(flag) { flag_ = true; }
    ~Filling() { flag_ = false; }

   private:
    bool& flag_;
  };

  static void AddColumn(HWND list, int index, const wchar_t* title, int width) {
    LVCOLUMNW column{};
    column.mask = LVCF_TEXT | LVCF_WIDTH;
    column.pszText = const_cast<wchar_t*>(title);
    column.cx = width;
    ListView_InsertColumn(list, index, &column);
  }

  void FillList(const ListPage& page) {
    HWND list = Control(page.list);
    const ConfigList& rows = work_.*page.rows;
    {
      Filling filling(filling_);
      ListView_DeleteAllItems(list);
      for (std::size_t i = 0; i < rows.Rows().size(); ++i) {
        const PrivacyConfig& config = *rows.Rows()[i].Copy;
        std::wstring software = text::Widen(config.Software);
        std::wstring description = text::Widen(config.Description);
        LVITEMW item{};
        item.mask = LVIF_TEXT;
        item.iItem = static_cast<int>(i);
        item.pszText = software.data();
        ListView_InsertItem(list, &item);
        ListView_SetItemText(list, static_cast<int>(i), 1, description.data());
      }
    }
    ShowMarks(page);
    HWND frame = Control(page.frame);
    SetText(frame, rows.Caption());
    // A group box draws a new caption over its line without clearing it: the page paints the frame again.
    InvalidateRect(GetParent(frame), nullptr, TRUE);
  }

  void ShowMarks(const ListPage& page) {
    Filling filling(filling_);
    HWND list = Control(page.list);
    const ConfigList& rows = work_.*page.rows;
    for (std::size_t i = 0; i < rows.Rows().size(); ++i) {
      ListView_SetCheckState(list, static_cast<int>(i), rows.Rows()[i].Checked);
    }
  }

  void OnRowChanged(const ListPage& page, const NMLISTVIEW& change) {
    if (filling_ || change.iItem < 0 || !(change.uChanged & LVIF_STATE) ||
        !((change.uNewState ^ change.uOldState) & LVIS_STATEIMAGEMASK)) {
      return;
    }
    // State image 2 is the ticked box.
    (work_.*page.rows)
        .CheckRow(static_cast<std::size_t>(change.iItem),
                  (change.uNewState & LVIS_STATEIMAGEMASK) == INDEXTOSTATEIMAGEMASK(2));
  }

  void OpenRowDetail(const ListPage& page) {
    const int row = ListView_GetNextItem(Control(page.list), -1, LVNI_SELECTED);
    if (row < 0 || !args_.openDetail) return;
    ConfigList& rows = work_.*page.rows;
    args_.openDetail(dialog_, *rows.Rows()[static_cast<std::size_t>(row)].Copy);
    rows.TakeDetail(static_cast<std::size_t>(row));
    ShowMarks(page);
  }

  void DeleteRows(const ListPage& page) {
    if (args_.prompt->Ask(kPreferencesCaption, kDeleteConfigsQuestion, PromptButtons::YesNo, PromptIcon::Exclamation,
                          true) != PromptAnswer::Yes) {
      return;
    }
    std::vector<std::size_t> highlighted;
    for (int row = -1; (row = ListView_GetNextItem(Control(page.list), row, LVNI_SELECTED)) >= 0;) {
      highlighted.push_back(static_cast<std::size_t>(row));
    }
    (work_.*page.rows).Delete(highlighted);
    FillList(page);
  }

  const PreferencesArgs& args_;
  PreferencesWork work_;
  AppliedPreferences applied_;
  std::vector<PreferencesNode> nodes_;
  HWND dialog_ = nullptr;
  std::array<HWND, kPageCount> pages_{};
  HFONT headingFont_ = nullptr;
  bool filling_ = false;
};

}  // namespace

AppliedPreferences ShowPreferencesDialog(HWND owner, const PreferencesArgs& args) {
  if (!args.catalogue || !args.registry || !args.prompt) {
    throw RuntimeError(errors::kInvalidArgument, kPreferencesCaption,
                       "the catalogue, registry and prompt are required");
  }
  return PreferencesDialog(args).Run(owner);
}

}  // namespace qm::ui
