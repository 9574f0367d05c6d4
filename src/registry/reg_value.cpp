#include "registry/reg_value.h"

#include <cstdio>
#include <utility>

#include "platform/error.h"
#include "platform/registry_backend.h"
#include "platform/text.h"
#include "registry/reg_errors.h"

namespace qm {

RegValue::RegValue(uint32_t rktRootKey, std::string sKeyPath, std::string sValueName, uint32_t rvtValueType,
                   RegValueData vValueData)
    : RootKey(rktRootKey),
      KeyPath(std::move(sKeyPath)),
      ValueName(std::move(sValueName)),
      ValueType(rvtValueType),
      ValueData(std::move(vValueData)) {}

std::string RegValue::ValueDataString() const {
  switch (ValueType) {
    case reg::kSz:
      if (const auto* textData = std::get_if<std::string>(&ValueData)) return *textData;
      if (const auto* number = std::get_if<uint32_t>(&ValueData)) return std::to_string(*number);
      if (const auto* bytes = std::get_if<std::vector<uint8_t>>(&ValueData))
        return std::string(bytes->begin(), bytes->end());
      return "";
    case reg::kBinary: {
      const auto* bytes = std::get_if<std::vector<uint8_t>>(&ValueData);
      if (!bytes) return "";
      std::string out;
      for (uint8_t byte : *bytes) {
        char hex[4];
        std::snprintf(hex, sizeof hex, "%02x", byte);
        if (!out.empty()) out += ' ';
        out += hex;
      }
      return out;
    }
    case reg::kDword: {
      const auto* number = std::get_if<uint32_t>(&ValueData);
      if (!number) return "";
      char out[32];
      std::snprintf(out, sizeof out, "0x%08x (%u)", static_cast<unsigned>(*number), static_cast<unsigned>(*number));
      return out;
    }
    default: return "";
  }
}

int64_t RegValue::DataSize() const {
  if (const auto* textData = std::get_if<std::string>(&ValueData)) {
    return 2 * static_cast<int64_t>(text::Utf8ToUtf16(*textData).size());
  }
  if (const auto* number = std::get_if<uint32_t>(&ValueData))
    return 2 * static_cast<int64_t>(std::to_string(*number).size());
  return static_cast<int64_t>(std::get<std::vector<uint8_t>>(ValueData).size());
}

bool RegValue::Delete() const {
  if (!Registry) throw regerrors::QueryValueFailed(reg::kInvalidHandle);
  reg::KeyHandle key = 0;
  int32_t rc = Registry->OpenKey(reg::RootHandle(RootKey), KeyPath, reg::kSetValue, key);
  if (rc != reg::kSuccess) throw regerrors::QueryValueFailed(rc);
  rc = Registry->DeleteValue(key, ValueName);
  Registry->CloseKey(key);
  // A value that is already gone counts as deleted; any other refusal is a failure, not a success.
  if (rc != reg::kSuccess && rc != reg::kFileNotFound) throw regerrors::QueryValueFailed(rc);
  return true;
}

}  // namespace qm
