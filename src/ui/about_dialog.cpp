#include "ui/about_dialog.h"

#include <commctrl.h>
#include <shellapi.h>

#include <vector>

#include "platform/text_win32.h"
#include "ui/resource_ids.h"

namespace qm::ui {
namespace {

INT_PTR CALLBACK AboutProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_INITDIALOG: {
      SetDlgItemTextW(dialog, IDC_ABOUT_VERSION, text::Widen(VersionText()).c_str());
      // The heading in a larger, bold form of the dialog's font; the font lives as long as the dialog.
      LOGFONTW font{};
      GetObjectW(reinterpret_cast<HFONT>(SendMessageW(dialog, WM_GETFONT, 0, 0)), sizeof(font), &font);
      font.lfHeight = font.lfHeight * 3 / 2;
      font.lfWeight = FW_BOLD;
      HFONT heading = CreateFontIndirectW(&font);
      SetPropW(dialog, L"QuillmereHeadingFont", heading);
      SendDlgItemMessageW(dialog, IDC_ABOUT_HEADING, WM_SETFONT, reinterpret_cast<WPARAM>(heading), FALSE);
      return TRUE;
    }
    case WM_DESTROY:
      DeleteObject(RemovePropW(dialog, L"QuillmereHeadingFont"));
      return FALSE;
    case WM_NOTIFY: {
      const auto* header = reinterpret_cast<const NMHDR*>(lParam);
      if (header->idFrom == IDC_ABOUT_WEBSITE && (header->code == NM_CLICK || header->code == NM_RETURN)) {
        ShellExecuteW(dialog, L"open", text::Widen(kWebsiteAddress).c_str(), nullptr, nullptr, SW_SHOWNORMAL);
      }
      return TRUE;
    }
    case WM_COMMAND:
      if (LOWORD(wParam) == IDOK || LOWORD(wParam) == IDCANCEL) EndDialog(dialog, IDOK);
      return TRUE;
    default:
      return FALSE;
  }
}

}  // namespace

std::string VersionText() {
  wchar_t path[MAX_PATH];
  const DWORD length = GetModuleFileNameW(nullptr, path, MAX_PATH);
  if (length == 0 || length == MAX_PATH) return "";
  DWORD ignored = 0;
  const DWORD size = GetFileVersionInfoSizeW(path, &ignored);
  if (size == 0) return "";
  std::vector<BYTE> data(size);
  VS_FIXEDFILEINFO* info = nullptr;
  UINT infoSize = 0;
  if (!GetFileVersionInfoW(path, 0, size, data.data()) ||
      !VerQueryValueW(data.data(), L"\\", reinterpret_cast<void**>(&info), &infoSize) || infoSize < sizeof(*info)) {
    return "";
  }
  return "Version " + std::to_string(HIWORD(info->dwFileVersionMS)) + "." +
         std::to_string(LOWORD(info->dwFileVersionMS)) + "." + std::to_string(HIWORD(info->dwFileVersionLS));
}

void ShowAboutDialog(HWND owner) {
  DialogBoxParamW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDD_ABOUT), owner, AboutProc, 0);
}

}  // namespace qm::ui
