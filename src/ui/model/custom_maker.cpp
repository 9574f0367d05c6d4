#include "ui/model/custom_maker.h"

#include "config/settings_string.h"

namespace qm::ui {

CustomMaker::CustomMaker(const PrivacyConfig& original)
    : originalSoftware_(original.Software), working_(original.Clone()) {
  for (const auto& item : working_->Items) {
    // An item keeps the line it was loaded from: with repeated titles the first line would serve them all.
    if (!item->FileLine.empty()) continue;
    const std::string start = item->Title + std::string(kFieldSeparator);
    for (const std::string& line : working_->FileLines) {
      const std::string trimmed = TrimBlanks(line);
      if (trimmed.size() > 2 && trimmed.rfind("--", 0) != 0 && trimmed.rfind(start, 0) == 0) {
        item->FileLine = line;
        break;
      }
    }
  }
  tree_.Load(*working_);
}

void CustomMaker::Rename(const std::string& nameBox) {
  working_->Software = TrimBlanks(nameBox);
  tree_.RootRenamed();
}

std::size_t CustomMaker::Add(std::shared_ptr<PrivacyItem> item, std::string& nameBox) {
  item->Selected = true;
  const bool isNew = originalSoftware_.empty();
  if (TrimBlanks(nameBox).empty()) {
    nameBox = isNew ? item->Title : originalSoftware_;
    Rename(nameBox);
  }
  item->Software = isNew ? TrimBlanks(nameBox) : originalSoftware_;
  working_->Items.Add(std::move(item));
  return tree_.AddItemNode();
}

std::optional<std::string> CustomMaker::DeleteRefusal(std::size_t selected) const {
  if (selected == ConfigTree::kNone) return kSelectItemMessage;
  if (selected == 0) return kRootNotDeletedMessage;
  return std::nullopt;
}

void CustomMaker::Delete(std::size_t node) {
  working_->Items.Remove(static_cast<int64_t>(node));
  tree_.RemoveItemNode(node);
}

std::optional<std::string> CustomMaker::DetailRefusal(std::size_t selected) const {
  if (selected == ConfigTree::kNone) return kSelectItemMessage;
  if (tree_.size() == 1) return kNoItemMessage;
  return std::nullopt;
}

std::shared_ptr<PrivacyItem> CustomMaker::DetailItem(std::size_t node) {
  std::shared_ptr<PrivacyItem> item = tree_.ItemOf(node);
  item->Selected = tree_[node].Checked;
  return item;
}

std::optional<std::string> CustomMaker::OkRefusal(const std::string& nameBox) const {
  if (TrimBlanks(nameBox).empty()) return kNoNameMessage;
  return std::nullopt;
}

void CustomMaker::Fill(PrivacyConfig& target, const std::string& nameBox, const std::string& description) const {
  // Trimmed: the items and the tree know the configuration by its trimmed name, and a saved line is trimmed.
  target.Software = TrimBlanks(nameBox);
  target.Description = description;
  target.Selected = tree_[0].Checked;
  target.SoftwareType = SoftwareType::Customs;
  target.Version = "1";
  target.FileLines = TextList{"[Config]",
                              "Type:Customs",
                              "Software:" + target.Software,
                              "Description:" + target.Description,
                              std::string("Selected:") + (target.Selected ? "1" : "0"),
                              "Version:" + target.Version};
  target.Items = PrivacyItems();
  for (std::size_t node = 1; node < tree_.size(); ++node) {
    const std::shared_ptr<PrivacyItem> item = tree_.ItemOf(node);
    target.FileLines.Add(item->FileLine);
    item->Selected = tree_[node].Checked;
    item->Software = target.Software;
    target.Items.Add(item);
  }
}

}  // namespace qm::ui
