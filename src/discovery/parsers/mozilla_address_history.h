#pragma once

#include <string>

#include "discovery/walk_context.h"

namespace qm {

/// The address-bar history of each profile's localstore.rdf (see ForEachMozillaProfile): every line between the
/// line that opens the sequence about "nc:urlbar-history" and the line that closes it is one URL, recorded
/// as an ini-kind trace ("URL:", status 2 when clearing, else 1). When clearing, the file is rewritten
/// without those lines through a ".tmp" twin (a leftover one is replaced) that takes the file's place only
/// once it is complete and on disk; a file with nothing to remove stays as it is. Markers are found without
/// regard to letter case.
///
/// Any failure (a line in the sequence that holds no URL, a file that cannot be read or written) ends the
/// parser: the file stays as it was, its partial ".tmp" is removed, the traces of that file that were to be
/// erased get status -1, and the traces found so far are kept. Raises nothing.
void ParseMozillaAddressHistory(WalkContext& context);

/// The URL of one line of the sequence: the text between the first "<RDF:li>" and the first "</RDF:li>"
/// (either in any letter case). Raises when the line lacks either.
std::string AddressHistoryUrl(const std::string& line);

}  // namespace qm
