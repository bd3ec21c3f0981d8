#include "sample_data.h"

#include <gtest/gtest.h>

#include <set>
#include <string_view>

namespace {

constexpr DataBlob ALL_BLOBS[] = {DataBlob::CARD_ENTRY,     DataBlob::RECORD_ACCEPTED, DataBlob::RECORD_REFUSED,
                                  DataBlob::MENU,           DataBlob::ACCOUNT_REFUSAL, DataBlob::VIEW_INFO,
                                  DataBlob::UPDATE_INFO,    DataBlob::CONFIRMATION,    DataBlob::DELETE_SUBSCRIPTION};

}  // namespace

TEST(DataBlob, EachIsLowercaseHexadecimalAndDifferent) {
  std::set<std::string_view> seen;
  for (DataBlob blob : ALL_BLOBS) {
    std::string_view value = data_blob(blob);
    EXPECT_EQ(value.find_first_not_of("0123456789abcdef"), std::string_view::npos) << value;
    seen.insert(value);
  }
  EXPECT_EQ(seen.size(), std::size(ALL_BLOBS));
  EXPECT_NE(data_blob(DataBlob::RECORD_REFUSED), data_blob(DataBlob::ACCOUNT_REFUSAL));
}
