#pragma once

#include <cstdint>
#include <cstdio>
#include <string>
#include <string_view>
#include <vector>

#include "batch/record_reader.h"
#include "batch/request_layout.h"
#include "response_check.h"
#include "batch/rules.h"

// A Response checked against the Request it answers, the two read side by
// side: the n-th response body against the n-th request body, as the server
// answers them in order. Only what the layout carries over is compared; the
// response codes are the server's own (a real server answers for the card).
struct Pairing {
  std::string path;
  FILE* file = nullptr;
  batch::RecordReader reader;
  std::string first;    // the request's first record
  std::string record;   // the request record read last
  bool bodies_ended = false;  // the request's footer, or its end, was met
  int64_t request_bodies = 0;
  int64_t response_bodies = 0;
};

// Opens the Request file and reads its first record; false when it cannot be read.
bool open_pairing(const std::string& path, Pairing& pairing);

// Compares one Response record of `kind` with the Request's record in the
// same place, appending a finding for each carried field that differs and
// for a body the Request does not hold.
void pair_response_record(Pairing& pairing, ResponseKind kind, std::string_view record,
                          std::vector<batch::Finding>& found);

// Once every Response record is paired: appends the finding on the request
// bodies that the Response does not answer (a full response only), closes
// the Request file and returns false when it could not be read whole.
bool finish_pairing(Pairing& pairing, ResponseForm form, std::vector<batch::Finding>& on_file);
