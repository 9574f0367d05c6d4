#include "cli/command.h"
#include "cli/display_text.h"
#include "cli/engine_setup.h"
#include "cli/json.h"
#include "cli/node_names.h"
#include "config/catalogue_tree.h"
#include "config/seek_rules.h"

namespace qm::cli {
namespace {

/// What `list --long` and `list --json` tell of one node.
struct NodeFacts {
  std::string_view kind;  ///< "root", "group", "configuration", "item"
  bool selected = true;
  std::string type;          ///< an item's type name
  std::string findsNothing;  ///< why an item finds nothing, or ""
  bool detected = true;      ///< a configuration's program is on this system
};

/// Why an item finds nothing, or "": the reason the load found, not only that it found one.
std::string FindsNothingReason(const PrivacyItem& item) {
  if (!item.Irregular) return IrregularReason(item);
  if (item.SeekSettings.Count() == 0) return "a placeholder of its path names no place on this system";
  const std::shared_ptr<PrivacyItem> unmarked = item.Clone();
  unmarked->Irregular = false;
  const std::string reason = IrregularReason(*unmarked);
  return reason.empty() ? IrregularReason(item) : reason;
}

NodeFacts FactsOf(const CatalogueTreeNode& node, Engine& engine) {
  NodeFacts facts;
  if (node.Item) {
    facts.kind = "item";
    facts.selected = node.Item->Selected;
    facts.type = PrivacyItem::PrivacyItemTypeName(node.Item->ItemType);
    if (facts.type.empty()) {
      facts.type = "Unknown";
      facts.findsNothing = "its type is unknown";
    } else {
      facts.findsNothing = FindsNothingReason(*node.Item);
    }
  } else if (node.Config) {
    facts.kind = "configuration";
    facts.selected = node.Config->Selected;
    facts.detected = engine.Detects(*node.Config);
  } else {
    facts.kind = node.Group == SoftwareType::Unknown ? "root" : "group";
  }
  return facts;
}

/// An item's seek settings as the walks take them: a file, folder or ini item's usable path in this system's
/// form.
std::vector<std::string> Places(const PrivacyItem& item) {
  std::vector<std::string> places(item.SeekSettings.begin(), item.SeekSettings.end());
  const PrivacyItemType type = item.ItemType;
  const bool path = type == PrivacyItemType::File || type == PrivacyItemType::Folder ||
                    type == PrivacyItemType::FileTree || type == PrivacyItemType::IniFileItem;
  if (const std::string native = path ? SeekPathSetting(item, 1) : ""; !native.empty()) places.front() = native;
  return places;
}

/// What an item covers, for a reader: a registry item's hive and key as one path, then its other settings.
std::string CoversText(const PrivacyItem& item) {
  const std::vector<std::string> places = Places(item);
  const bool registry = item.ItemType == PrivacyItemType::RegValue || item.ItemType == PrivacyItemType::RegKey ||
                        item.ItemType == PrivacyItemType::RegSubKeyValue;
  std::string text;
  for (std::size_t i = 0; i < places.size(); ++i) {
    if (i > 0) text += registry && i == 1 ? std::string(1, kTreeTagSeparator) : " | ";
    text += places[i];
  }
  return EscapedText(text);
}

void PrintLong(std::ostream& out, const CatalogueTreeNode& node, const NodeFacts& facts) {
  out << EscapedText(ShortNodeName(node.Tag)) << "  (" << facts.kind;
  if (node.Config) out << (facts.selected ? ", checked" : ", not checked");
  if (node.Item) out << ", " << facts.type;
  if (node.Config && !node.Item) out << (facts.detected ? ", detected" : ", not detected");
  out << ")\n";
  if (node.Item) {
    out << "  "
        << (facts.findsNothing.empty() ? "covers " + CoversText(*node.Item) : "finds nothing: " + facts.findsNothing)
        << '\n';
  } else if (node.Config && !node.Config->Description.empty()) {
    out << "  " << EscapedText(node.Config->Description) << '\n';
  }
}

void PrintJson(std::ostream& out, const CatalogueTreeNode& node, const NodeFacts& facts) {
  out << "{\"tag\":" << JsonString(node.Tag) << ",\"text\":" << JsonString(node.Text)
      << ",\"selected\":" << (facts.selected ? "true" : "false") << ",\"kind\":\"" << facts.kind
      << "\",\"name\":" << JsonString(ShortNodeName(node.Tag));
  if (node.Item) {
    out << ",\"type\":" << JsonString(facts.type) << ",\"covers\":[";
    bool first = true;
    for (const std::string& setting : Places(*node.Item)) {
      out << (first ? "" : ",") << JsonString(setting);
      first = false;
    }
    out << "]";
    if (!facts.findsNothing.empty()) out << ",\"findsNothing\":" << JsonString(facts.findsNothing);
  } else if (node.Config) {
    out << ",\"description\":" << JsonString(node.Config->Description)
        << ",\"detected\":" << (facts.detected ? "true" : "false");
  }
  out << "}\n";
}

}  // namespace

int RunList(const CommandContext& context) {
  std::unique_ptr<EngineSession> session = OpenEngine(context);
  if (!session) return kExitNoCatalogue;
  Engine& engine = session->engine();
  const std::vector<CatalogueTreeNode> tree = BuildCatalogueTree(engine.Catalogue(), context.options.all);
  for (std::size_t index : DisplayOrder(tree)) {
    const CatalogueTreeNode& node = tree[index];
    if (!context.options.json && !context.options.longListing) {
      context.out << node.Tag << '\n';
    } else if (context.options.json) {
      PrintJson(context.out, node, FactsOf(node, engine));
    } else {
      PrintLong(context.out, node, FactsOf(node, engine));
    }
  }
  return kExitDone;
}

}  // namespace qm::cli
