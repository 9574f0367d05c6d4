#include <gtest/gtest.h>

#include "discovery/parsers/mozilla_address_history.h"
#include "platform/error.h"

namespace qm::testing {
namespace {

TEST(AddressHistoryUrl, IsCutBetweenTheEntryMarkersInAnyCase) {
  EXPECT_EQ(AddressHistoryUrl("    <RDF:li>http://a.example/x?y=1&amp;z</RDF:li>"), "http://a.example/x?y=1&amp;z");
  EXPECT_EQ(AddressHistoryUrl("<Rdf:Li>https://mixed.example.com/</rdf:LI> trailing"), "https://mixed.example.com/");
  EXPECT_EQ(AddressHistoryUrl("<rdf:li></rdf:li>"), "");
  for (const char* line : {"<RDF:li resource=\"rdf:#$x\"/>", "</RDF:li><RDF:li>", "plain text"}) {
    EXPECT_THROW(AddressHistoryUrl(line), RuntimeError) << line;
  }
}

}  // namespace
}  // namespace qm::testing
