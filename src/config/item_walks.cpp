#include "config/item_walks.h"

namespace qm {

namespace {
ItemWalks* g_itemWalks = nullptr;
}

void SetItemWalks(ItemWalks* walks) { g_itemWalks = walks; }
ItemWalks* GetItemWalks() { return g_itemWalks; }

}  // namespace qm
