#include "config/text_list.h"

#include "platform/ordered_collection.h"

namespace qm {

namespace {
void CheckPosition(int64_t index, int64_t count) {
  if (index < 1 || index > count) {
    throw RuntimeError(errors::kSubscriptOutOfRange, "TextList",
                       "position " + std::to_string(index) + " is not in 1.." + std::to_string(count));
  }
}
}  // namespace

const std::string& TextList::Item(int64_t index) const {
  CheckPosition(index, Count());
  return texts_[static_cast<std::size_t>(index - 1)];
}

void TextList::Remove(int64_t index) {
  CheckPosition(index, Count());
  texts_.erase(texts_.begin() + (index - 1));
}

}  // namespace qm
