#include "trace/privacy_values.h"

#include "platform/file_system.h"
#include "platform/text.h"
#include "registry/reg_key.h"
#include "registry/reg_value.h"

namespace qm {

namespace {

/// Sizes of text count two bytes per character, as the text is held in memory (UTF-16).
int64_t TextBytes(const std::string& utf8) {
  return 2 * static_cast<int64_t>(text::Utf8ToUtf16(utf8).size());
}
}  // namespace

std::shared_ptr<PrivacyValue> PrivacyValues::AddNew(std::string value, TraceKind valueType, std::string path,
                                                    uint32_t rootKey, std::string valueName, int64_t size,
                                                    TraceStatus valueStatus, const std::string& key) {
  auto pv = std::make_shared<PrivacyValue>();
  pv->Value = std::move(value);
  pv->ValueType = valueType;
  pv->Path = std::move(path);
  pv->RootKey = rootKey;
  pv->ValueName = std::move(valueName);
  pv->Size = size;
  pv->ValueStatus = valueStatus;
  Add(pv, key);
  return pv;
}

std::shared_ptr<PrivacyValue> PrivacyValues::AddRegKey(const RegKey& rk, TraceStatus vsValueStatus,
                                                       const std::string& sKey) {
  return AddNew(rk.Name, TraceKind::RegistryKey, rk.Path, rk.RootKey, rk.Name, 0, vsValueStatus, sKey);
}

std::shared_ptr<PrivacyValue> PrivacyValues::AddRegValue(const RegValue& rv, TraceStatus vsValueStatus,
                                                         const std::string& sKey) {
  return AddNew(rv.ValueDataString(), TraceKind::RegistryValue, rv.KeyPath + "\\" + rv.ValueName, rv.RootKey,
                rv.ValueName, rv.DataSize(), vsValueStatus, sKey);
}

std::shared_ptr<PrivacyValue> PrivacyValues::AddFolder(const Folder& fFolder, TraceStatus vsValueStatus,
                                                       const std::string& sKey) {
  return AddNew(fFolder.Name, TraceKind::Folder, fFolder.Path, 0, fFolder.Name, 0, vsValueStatus, sKey);
}

std::shared_ptr<PrivacyValue> PrivacyValues::AddFile(const File& fFile, TraceStatus vsValueStatus,
                                                     const std::string& sKey) {
  return AddNew(fFile.Name, TraceKind::File, fFile.Path, 0, fFile.Name, static_cast<int64_t>(fFile.Size),
                vsValueStatus, sKey);
}

std::shared_ptr<PrivacyValue> PrivacyValues::AddIniFileItem(const std::string& sIniFile,
                                                            const std::string& sKeyName,
                                                            const std::string& sValue, TraceStatus vsValueStatus,
                                                            const std::string& sKey) {
  return AddNew(sValue, TraceKind::IniEntry, sIniFile + ":" + sKeyName, 0, sKeyName, TextBytes(sValue),
                vsValueStatus, sKey);
}

std::shared_ptr<PrivacyValue> PrivacyValues::AddPrivacyValue(std::shared_ptr<PrivacyValue> pvPrivacyValue,
                                                             const std::string& sKey,
                                                             std::optional<int64_t> Before,
                                                             std::optional<int64_t> After) {
  return Add(std::move(pvPrivacyValue), sKey, After, Before);
}

std::shared_ptr<PrivacyValues> MergePrivacyValues(std::shared_ptr<PrivacyValues>& accumulator,
                                                  const std::shared_ptr<PrivacyValues>& found, bool prepend) {
  if (!accumulator && found) accumulator = std::make_shared<PrivacyValues>();
  if (!found || found->Count() == 0) return accumulator;
  accumulator->AddAll(*found, prepend);
  return accumulator;
}

}  // namespace qm
