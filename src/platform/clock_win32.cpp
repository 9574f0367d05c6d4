#include "platform/clock.h"

#include <windows.h>

#include "platform/text.h"

namespace qm {

namespace {

class LocalClock : public Clock {
 public:
  LocalDateTime Now() const override {
    SYSTEMTIME local{};
    ::GetLocalTime(&local);
    return {local.wYear, local.wMonth, local.wDay, local.wHour, local.wMinute, local.wSecond};
  }
};

std::string FromWide(const wchar_t* wide) {
  return text::Utf16ToUtf8(reinterpret_cast<const char16_t*>(wide));
}

}  // namespace

const Clock& SystemClock() {
  static const LocalClock clock;
  return clock;
}

std::string GeneralDateText(const LocalDateTime& time) {
  SYSTEMTIME st{};
  st.wYear = static_cast<WORD>(time.Year);
  st.wMonth = static_cast<WORD>(time.Month);
  st.wDay = static_cast<WORD>(time.Day);
  st.wHour = static_cast<WORD>(time.Hour);
  st.wMinute = static_cast<WORD>(time.Minute);
  st.wSecond = static_cast<WORD>(time.Second);
  wchar_t date[128] = L"";
  wchar_t clock[128] = L"";
  ::GetDateFormatEx(LOCALE_NAME_USER_DEFAULT, DATE_SHORTDATE, &st, nullptr, date, 128, nullptr);
  ::GetTimeFormatEx(LOCALE_NAME_USER_DEFAULT, 0, &st, nullptr, clock, 128);
  return FromWide(date) + " " + FromWide(clock);
}

}  // namespace qm
