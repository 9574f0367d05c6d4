#include <algorithm>
#include <string>
#include <vector>

#include "config/privacy_configs.h"
#include "platform/text.h"

namespace qm {

namespace {

/// The name as the display order compares it: UTF-16 code units, upper-cased for ASCII and Latin-1 letters
/// (the letters Western catalogue names use).
std::u16string SortKey(const std::string& software) {
  std::u16string key = text::Utf8ToUtf16(software);
  for (char16_t& c : key) {
    if ((c >= u'a' && c <= u'z') || (c >= 0xE0 && c <= 0xFE && c != 0xF7)) {
      c = static_cast<char16_t>(c - 0x20);
    } else if (c == 0xFF) {
      c = 0x178;  // ÿ upper-cases outside Latin-1
    }
  }
  return key;
}

}  // namespace

void PrivacyConfigs::ReOrder() {
  int64_t pos = 1;
  for (int64_t i = 1; i <= Count(); ++i) {
    if (Item(i)->SoftwareType != qm::SoftwareType::Root) continue;
    if (pos < i) Move(i, pos);
    ++pos;
  }
  // Plug-ins, then customs, each inserted before the first strictly greater name: a stable sort by name.
  for (const qm::SoftwareType type : {qm::SoftwareType::Plugins, qm::SoftwareType::Customs}) {
    const int64_t start = pos;
    std::vector<std::u16string> placed;  // the sorted keys of the positions start .. pos - 1
    for (int64_t i = pos; i <= Count(); ++i) {
      if (Item(i)->SoftwareType != type) continue;
      std::u16string key = SortKey(Item(i)->Software);
      const auto greater = std::upper_bound(placed.begin(), placed.end(), key);
      const int64_t target = start + (greater - placed.begin());
      if (target < pos) {
        Move(i, target);
      } else if (i > pos) {
        Move(i, pos);
      }
      placed.insert(greater, std::move(key));
      ++pos;
    }
  }
}

}  // namespace qm
