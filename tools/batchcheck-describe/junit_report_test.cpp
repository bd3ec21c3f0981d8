#include "junit_report.h"

#include <gtest/gtest.h>
#include <libxml/parser.h>
#include <libxml/tree.h>

#include <string>
#include <vector>

#include "describe.h"
#include "request_builder.h"

using namespace support;

namespace {

// The text of an attribute, or empty.
std::string attribute(xmlNodePtr node, const char* name) {
  xmlChar* value = xmlGetProp(node, reinterpret_cast<const xmlChar*>(name));
  std::string text = value ? reinterpret_cast<const char*>(value) : "";
  xmlFree(value);
  return text;
}

std::vector<xmlNodePtr> children(xmlNodePtr node, std::string_view name) {
  std::vector<xmlNodePtr> found;
  for (xmlNodePtr child = node->children; child; child = child->next)
    if (child->type == XML_ELEMENT_NODE && name == reinterpret_cast<const char*>(child->name)) found.push_back(child);
  return found;
}

// The test works in a private folder of its own.
using JunitReport = PrivateFolderTest;

// An invalid batch whose fields hold bytes that XML 1.0 forbids: the report
// is still read back, strictly, by an XML parser, one test case per record
// with a finding and one for the result, each failure with its rule,
// record, field and text.
TEST_F(JunitReport, InvalidBatchReadsBackAsJunit) {
  write_file("req", header_line("H\x01\x1b") + body_line(1, "TID001", {}, "00001200", "\x02") +
                        body_line(2, "TID001", {.merchant_id = std::string("SH\x01P\0\xff", 6)}) +
                        padded_record("\x1b\x0c<&>\"'") + footer_line(2));
  DescribeOptions options;
  options.file = path("req");
  options.only_findings = true;
  options.junit_file = path("report.xml");
  std::FILE* out = std::tmpfile();
  BlockWriter writer = make_block_writer(out);
  Verdict verdict = Verdict::FILE_FAILED;
  std::string err;
  EXPECT_TRUE(describe_request_file(options, writer, &verdict, &err)) << err;
  EXPECT_EQ(verdict, Verdict::RULE_BROKEN);
  std::fclose(out);

  xmlDocPtr document = xmlReadFile(options.junit_file->c_str(), nullptr, XML_PARSE_NONET);
  ASSERT_NE(document, nullptr);
  xmlNodePtr root = xmlDocGetRootElement(document);
  ASSERT_EQ(std::string(reinterpret_cast<const char*>(root->name)), "testsuites");
  std::vector<xmlNodePtr> suites = children(root, "testsuite");
  ASSERT_EQ(suites.size(), 1u);
  EXPECT_EQ(attribute(suites[0], "name"), options.file);
  std::vector<std::string> names;
  std::vector<std::string> types;
  std::string bodies;
  for (xmlNodePtr testcase : children(suites[0], "testcase")) {
    names.push_back(attribute(testcase, "name"));
    for (xmlNodePtr failure : children(testcase, "failure")) {
      types.push_back(attribute(failure, "type"));
      xmlChar* text = xmlNodeGetContent(failure);
      bodies += reinterpret_cast<const char*>(text);
      xmlFree(text);
    }
  }
  xmlFreeDoc(document);
  EXPECT_EQ(names, (std::vector<std::string>{"record 2", "record 3", "record 4", "result"}));
  EXPECT_EQ(types, (std::vector<std::string>{"transaction_id_repeated", "merchant_id_differs",
                                             "record_code_unknown", "result"}));
  EXPECT_NE(bodies.find("rule: merchant_id_differs\nrecord: 3\nfield: merchant_id, offsets 4-18, "
                        "\"SH\\x01P\\x00\\xff         \"\n"
                        "text: The in merchant_id in header file (SHOP1) is not the same that in line 3 \n"),
            std::string::npos)
      << bodies;
  EXPECT_NE(bodies.find("text: Error in code enregistrement (\\x1b\\x0c)\n"), std::string::npos) << bodies;
  EXPECT_NE(bodies.find("result 1: content error"), std::string::npos) << bodies;
}

}  // namespace
