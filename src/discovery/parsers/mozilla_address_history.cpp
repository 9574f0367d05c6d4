#include "discovery/parsers/mozilla_address_history.h"

#include <memory>
#include <optional>

#include "discovery/parsers/mozilla_profiles.h"
#include "platform/error.h"
#include "platform/file_system.h"
#include "platform/text.h"

namespace qm {

namespace {

// Markers in lower case: lines are compared after ASCII lower-casing, which keeps every byte's position.
constexpr char kSequenceStart[] = "<rdf:seq about=\"nc:urlbar-history\">";
constexpr char kSequenceEnd[] = "</rdf:seq>";
constexpr char kEntryStart[] = "<rdf:li>";
constexpr char kEntryEnd[] = "</rdf:li>";
constexpr std::size_t kEntryStartLength = sizeof(kEntryStart) - 1;

bool Contains(const std::string& lowerLine, const char* marker) { return lowerLine.find(marker) != std::string::npos; }

/// Reads one localstore.rdf, records its URLs and, when clearing, rewrites it without them. Returns false
/// when something failed; the file is then as it was.
bool ParseAddressHistoryFile(WalkContext& context, const FileSystem& fs, const std::string& file) {
  const std::string tmp = file + ".tmp";
  const int64_t firstOfFile = context.Values.Count() + 1;
  try {
    std::unique_ptr<TextStream> in = fs.OpenTextFile(file, IoMode::ForReading);
    std::unique_ptr<TextStream> out;
    if (context.Clear) {
      // A twin left by an earlier failure is replaced; deleting it first also removes a link of that name
      // instead of writing through it.
      if (fs.FileExists(tmp)) fs.RemoveFile(tmp, true);
      out = fs.CreateTextFile(tmp, true);
    }
    int64_t urls = 0;
    bool inSequence = false;
    while (!in->AtEndOfStream()) {
      const std::string line = in->ReadLine();
      const std::string lower = text::ToLowerAscii(line);
      if (Contains(lower, kSequenceEnd)) inSequence = false;
      if (inSequence) {
        std::string url = AddressHistoryUrl(line);
        // The file is UTF-8 XML as Mozilla writes it; older files may hold bytes of the ANSI code page.
        if (!text::IsValidUtf8(url)) url = text::AnsiToUtf8(url);
        std::shared_ptr<PrivacyValue> pv =
            context.Values.AddIniFileItem(file, "URL:", url, context.Clear ? TraceStatus::Erased : TraceStatus::Found);
        ++urls;
        context.Report(*pv);
      } else if (out) {
        out->WriteLine(line);
      }
      if (Contains(lower, kSequenceStart)) inSequence = true;
    }
    in->Close();
    if (!out) return true;
    // The file is replaced only by a complete twin that has reached the disk, and only when it changes.
    out->Close(true);
    if (urls > 0) {
      fs.Replace(tmp, file);
    } else {
      fs.RemoveFile(tmp, true);
    }
    return true;
  } catch (const RuntimeError&) {
    if (!context.Clear) return false;
    try {
      if (fs.FileExists(tmp)) fs.RemoveFile(tmp, true);
    } catch (const RuntimeError&) {
    }
    // The URLs of this file are still in it.
    for (int64_t i = firstOfFile; i <= context.Values.Count(); ++i)
      context.Values.Item(i)->ValueStatus = TraceStatus::Failed;
    return false;
  }
}

}  // namespace

std::string AddressHistoryUrl(const std::string& line) {
  const std::string lower = text::ToLowerAscii(line);
  const std::size_t start = lower.find(kEntryStart);
  const std::size_t end = lower.find(kEntryEnd);
  if (start == std::string::npos || end == std::string::npos || end < start + kEntryStartLength) {
    throw RuntimeError(errors::kInvalidProcedureCall, "CustomizeParse",
                       "An address-bar history line holds no URL: " + line);
  }
  return line.substr(start + kEntryStartLength, end - start - kEntryStartLength);
}

void ParseMozillaAddressHistory(WalkContext& context) {
  FileSystem fs;
  // The file's log lines wait until it is rewritten: only then is it known whether its URLs are gone.
  context.DeferLog();
  try {
    ForEachMozillaProfile(context, [&](const FolderHandle& profile) {
      // Only a real file is read and rewritten: a link is never followed.
      const std::optional<FolderEntry> entry = profile.Find("localstore.rdf");
      if (!entry || entry->Kind != EntryKind::File || entry->Foreign) return true;
      if (context.Stopped()) return false;
      return ParseAddressHistoryFile(context, fs, profile.PathOf(entry->Name));
    });
  } catch (const RuntimeError&) {
    // A profile folder that cannot be read ends the parser; what was found so far stays the result.
  }
  context.LogDeferred(false);
}

}  // namespace qm
