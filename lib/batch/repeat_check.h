#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

namespace batch {

// A transaction id of up to seven bytes as one number: its bytes, then its
// length in the lowest byte, so two ids get the same key exactly when they
// are equal (NUL bytes and short ids included).
using IdKey = uint64_t;

// The key of `id`, which holds at most seven bytes.
IdKey id_key(std::string_view id);

// The id that `key` was made from.
std::string id_of_key(IdKey key);

// Memory the repeat check may fill with the keys it sorts; a batch that
// needs more has its sorted runs spilled into temporary files and merged.
constexpr size_t REPEAT_CHECK_BUDGET = size_t{64} << 20;

// Hands every key of the batch, in file order, to `take`; false (the
// message in *err) when they cannot all be read. Called once, or twice when
// a value repeats.
using KeySource = std::function<bool(const std::function<void(IdKey)>& take, std::string* err)>;

// Calls `report` with each key that a later key repeats and its position
// among the keys (0 for the first), in file order: a value present k times
// is reported at each occurrence but the last. `count_hint` is the expected
// number of keys. Spill files are named `spill_prefix` and a number, created
// beside it and removed before the return. False (the message in *err) when
// the keys or a spill file fail.
bool find_repeats(const KeySource& keys, uint64_t count_hint, const std::string& spill_prefix, size_t budget,
                  const std::function<void(uint64_t position, IdKey key)>& report, std::string* err);

}  // namespace batch
