#include <string>
#include <vector>

#include "cli/command.h"
#include "cli/json.h"
#include "config/crypt.h"
#include "config/winapp2_import.h"
#include "platform/error.h"
#include "platform/file_system.h"

namespace qm::cli {

namespace {

/// Writes the lines enciphered, one per line as `encrypt` prints them, beside the target first and then over
/// it, so the target is always the old or the complete new file.
int WriteCatalogueFile(const CommandContext& context, const std::vector<std::string>& lines) {
  const std::string& target = context.options.out;
  const std::string temporary = target + ".tmp";
  FileSystem fs;
  try {
    std::unique_ptr<TextStream> stream = fs.CreateTextFile(temporary, true);
    for (const std::string& line : lines) stream->WriteLine(Crypt::EnCrypt(line));
    stream->Close(true);
    fs.Replace(temporary, target);
    return kExitDone;
  } catch (const RuntimeError& e) {
    Fail(context, kExitOutputFailed, "cannot write " + target + ": " + e.Description());
  }
  try {
    if (fs.FileExists(temporary)) fs.RemoveFile(temporary);
  } catch (const RuntimeError&) {
    // The half-written twin stays behind; the target is untouched either way.
  }
  return kExitOutputFailed;
}

std::string ReportLine(const Winapp2EntryReport& entry) {
  std::string line = entry.name + ": " + Winapp2MappingName(entry.mapping);
  for (std::size_t i = 0; i < entry.notes.size(); ++i) line += (i == 0 ? ": " : "; ") + entry.notes[i];
  return line;
}

std::string ReportJson(const Winapp2EntryReport& entry) {
  std::string json = "{\"entry\":" + JsonString(entry.name) + ",\"line\":" + std::to_string(entry.line) +
                     ",\"mapping\":" + JsonString(Winapp2MappingName(entry.mapping)) + ",\"notes\":[";
  for (std::size_t i = 0; i < entry.notes.size(); ++i) json += (i == 0 ? "" : ",") + JsonString(entry.notes[i]);
  return json + "]}";
}

void PrintReport(std::ostream& out, const std::vector<Winapp2EntryReport>& entries, bool json) {
  int64_t counts[3] = {0, 0, 0};
  for (const Winapp2EntryReport& entry : entries) {
    ++counts[static_cast<int>(entry.mapping)];
    out << (json ? ReportJson(entry) : ReportLine(entry)) << '\n';
  }
  const std::string total = std::to_string(entries.size());
  const std::string exact = std::to_string(counts[0]);
  const std::string partly = std::to_string(counts[1]);
  const std::string notMapped = std::to_string(counts[2]);
  if (json) {
    out << "{\"summary\":{\"entries\":" << total << ",\"exact\":" << exact << ",\"partly\":" << partly
        << ",\"notMapped\":" << notMapped << "}}\n";
  } else {
    out << "entries " << total << ", exact " << exact << ", partly " << partly << ", not mapped " << notMapped << '\n';
  }
}

}  // namespace

int RunImportWinapp2(const CommandContext& context) {
  const std::string& file = context.options.arguments.front();
  Winapp2Import converted;
  try {
    converted = ImportWinapp2(FileSystem().ReadAllBytes(file), Winapp2Options{context.options.plugins});
  } catch (const RuntimeError& e) {
    return Fail(context, kExitNoCatalogue, file + ": " + e.Description());
  }
  const bool toFile = !context.options.out.empty();
  if (toFile) {
    if (const int status = WriteCatalogueFile(context, converted.lines); status != kExitDone) return status;
  } else {
    for (const std::string& line : converted.lines) context.out << line << '\n';
  }
  // Without --out the standard output carries the configurations, so the report goes beside them.
  if (context.options.report) PrintReport(toFile ? context.out : context.err, converted.entries, context.options.json);
  return kExitDone;
}

}  // namespace qm::cli
