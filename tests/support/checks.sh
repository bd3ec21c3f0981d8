# Sourced by the shell checks (sh or bash): a fault found is said with fail
# and the check goes on, so that one run shows every fault; finish ends the
# check. Usage: . "$(dirname "$0")/../support/checks.sh"

# How many faults the check has found so far.
failures=0

# Says one fault as a FAIL line, and counts it.
fail() {
  echo "FAIL: $1"
  failures=$((failures + 1))
}

# Makes the check's private temporary folder, $work, which goes with all it
# holds when the check exits.
private_folder() {
  work=$(mktemp -d)
  trap 'rm -rf "$work"' EXIT
}

# Ends the check: status 1 after any fault, otherwise the line $1.
finish() {
  [ "$failures" -eq 0 ] || exit 1
  echo "$1"
}
