#include "ui/model/config_list.h"

#include <algorithm>
#include <functional>
#include <utility>

namespace qm::ui {

ConfigList::ConfigList(const PrivacyConfigs& catalogue, SoftwareType type, std::string title)
    : title_(std::move(title)) {
  for (const bool selected : {true, false}) {
    for (const auto& config : catalogue) {
      if (config->SoftwareType == type && config->Selected == selected) rows_.push_back({config->Clone(), selected});
    }
  }
}

std::string ConfigList::Caption() const { return title_ + "(" + std::to_string(rows_.size()) + ")"; }

void ConfigList::CheckRow(std::size_t row, bool checked) {
  Row& r = rows_.at(row);
  r.Checked = checked;
  r.Copy->Selected = checked;
  for (const auto& item : r.Copy->Items) item->Selected = checked;
}

void ConfigList::MarkAll(bool checked) {
  for (Row& row : rows_) row.Checked = checked;
}

void ConfigList::TakeDetail(std::size_t row) { rows_.at(row).Checked = rows_.at(row).Copy->Selected; }

void ConfigList::Delete(std::vector<std::size_t> rows) {
  // From the last to the first, so the positions still to go keep their meaning.
  std::sort(rows.begin(), rows.end(), std::greater<>());
  rows.erase(std::unique(rows.begin(), rows.end()), rows.end());
  for (const std::size_t row : rows) {
    if (row < rows_.size()) rows_.erase(rows_.begin() + static_cast<std::ptrdiff_t>(row));
  }
}

void ConfigList::AddTo(PrivacyConfigs& catalogue) const {
  for (const Row& row : rows_) {
    auto config = row.Copy->Clone();
    config->Selected = row.Checked;
    catalogue.Add(config);
  }
}

}  // namespace qm::ui
