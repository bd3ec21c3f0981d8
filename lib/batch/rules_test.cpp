#include "batch/rules.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "private_folder.h"

using namespace batch;

namespace {

// The ids as released: jobs that gate on a batch test for them, so an id
// never changes and none is taken away; a new rule adds its own id here.
TEST(RuleList, IdsStayAsReleased) {
  const std::vector<std::string_view> released = {
      "file_unreadable", "temporary_file_unusable",
      "record_length", "first_record_not_header", "merchant_country_differs", "merchant_id_differs",
      "file_identity_differs", "record_code_unknown", "transaction_id_repeated", "incorrect_size_file",
      "record_numbers_interrupted", "file_already_treated", "file_sequence_interrupted", "nb_record_differs",
      "record_cut_short", "record_not_body", "last_record_not_footer", "record_after_footer", "footer_missing",
      "response_code_repeat_differs", "reply_block_missing", "reply_block_with_code_14", "authorisation_missing",
      "authorisation_unexpected", "response_date_invalid", "response_time_invalid", "body_count_differs",
      "accepted_count_differs", "refused_count_differs", "verification_code_unknown", "carried_field_differs",
      "body_missing_in_response", "body_missing_in_request"};
  std::vector<std::string_view> ids;
  for (const Rule& rule : rule_list()) ids.push_back(rule.id);
  EXPECT_EQ(ids, released);
}

// The manual page lists every rule, its id in bold on one line and its
// meaning on the next, as the list gives them.
TEST(RuleList, ManualPageListsEveryRule) {
  std::string page = read_file(MANUAL_PAGE);
  ASSERT_FALSE(page.empty()) << MANUAL_PAGE;
  for (const Rule& rule : rule_list()) {
    std::string entry = ".B " + std::string(rule.id) + "\n" + std::string(rule.meaning) + "\n";
    EXPECT_NE(page.find(entry), std::string::npos) << entry;
  }
}

}  // namespace
