#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>

#include "platform/ordered_collection.h"
#include "trace/privacy_value.h"

namespace qm {

class RegKey;
class RegValue;
struct File;
class Folder;

/// The traces of one search, in the order found (1-based, optionally keyed). Records are shared: merging
/// puts the same `PrivacyValue` objects into several collections.
class PrivacyValues : public OrderedCollection<PrivacyValue> {
 public:
  PrivacyValues() : OrderedCollection("PrivacyValues") {}

  /// Each typed operation records one new trace of its kind with the initial status `vsValueStatus` and
  /// returns it. Nothing is logged here: the walk that records a trace logs it once its outcome is known.
  std::shared_ptr<PrivacyValue> AddRegKey(const RegKey& rk, TraceStatus vsValueStatus, const std::string& sKey = "");
  std::shared_ptr<PrivacyValue> AddRegValue(const RegValue& rv, TraceStatus vsValueStatus,
                                            const std::string& sKey = "");
  std::shared_ptr<PrivacyValue> AddFolder(const Folder& fFolder, TraceStatus vsValueStatus,
                                          const std::string& sKey = "");
  std::shared_ptr<PrivacyValue> AddFile(const File& fFile, TraceStatus vsValueStatus, const std::string& sKey = "");
  std::shared_ptr<PrivacyValue> AddIniFileItem(const std::string& sIniFile, const std::string& sKeyName,
                                               const std::string& sValue, TraceStatus vsValueStatus,
                                               const std::string& sKey = "");

  /// Stores an existing record (nothing is created or logged) at the end, or before/after a 1-based
  /// position. Returns it.
  std::shared_ptr<PrivacyValue> AddPrivacyValue(std::shared_ptr<PrivacyValue> pvPrivacyValue,
                                                const std::string& sKey = "",
                                                std::optional<int64_t> Before = std::nullopt,
                                                std::optional<int64_t> After = std::nullopt);

 private:
  std::shared_ptr<PrivacyValue> AddNew(std::string value, TraceKind valueType, std::string path, uint32_t rootKey,
                                       std::string valueName, int64_t size, TraceStatus valueStatus,
                                       const std::string& key);
};

/// Merges the traces of `found` into `accumulator` (sharing the records) and returns it. An accumulator that
/// is nullptr comes into being as an empty collection as soon as `found` is not nullptr, so an empty answer
/// counts 0 where no answer counts -1. With `prepend` and a non-empty accumulator the found traces go in
/// front, in their order; otherwise they are appended.
std::shared_ptr<PrivacyValues> MergePrivacyValues(std::shared_ptr<PrivacyValues>& accumulator,
                                                  const std::shared_ptr<PrivacyValues>& found, bool prepend);

}  // namespace qm
