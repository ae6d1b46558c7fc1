#!/usr/bin/env bash
# Release by a second person with two real accounts: root writes a calibration against veltra-sim,
# the unprivileged account "nobody" releases it, and each is refused what it may not do. Making a
# process of another account needs root; as any other user the test is skipped.
#
#   check-release-accounts.sh <folder of veltra-calib and veltra-sim>
set -euo pipefail
bin=$1

if ((EUID != 0)); then
    echo "skipped: running veltra-calib as a second account (setpriv) needs root"
    exit 77
fi

folder=$(mktemp -d)
sim=
trap '[[ -n $sim ]] && kill "$sim"; rm -rf "$folder"' EXIT
# The second account works in the same record, as a colleague on a shared bench would.
chmod 0777 "$folder"
ini=$folder/VeltraSetCheckDate.ini
: >"$ini"
chmod 0644 "$ini"

"$bin/veltra-sim" --register 1 --ini "$ini" >"$folder/sim.out" &
sim=$!
for _ in $(seq 100); do
    [[ -s $folder/sim.out ]] && break
    sleep 0.1
done

source "$(dirname "$0")/../common/checks.sh"
asRoot() { "$bin/veltra-calib" --settings "$ini" "$@"; }
asNobody() {
    setpriv --reuid=65534 --regid=65534 --clear-groups -- "$bin/veltra-calib" --settings "$ini" "$@"
}
# <exit code> <text on stdout or stderr> <command...>
says() {
    local code=$1 text=$2 output status=0
    shift 2
    output=$("$@" 2>&1) || status=$?
    [[ $status == "$code" && $output == *"$text"* ]] || {
        echo "exit $status, expected $code with \"$text\": $output"
        return 1
    }
}

check "root writes a verified calibration" asRoot --port 1 -q write 2026-12-01 2027-12-01
chmod 0666 "$folder"/VeltraCalibRecord.db
check "root does not release its own work" \
    says 5 "entry 1 was written by this account (root)" asRoot release 1
check "nobody releases it" says 0 "entry 1 (VC-" asNobody release 1
check "the record names the second account" \
    says 0 '"released_by":"nobody"' asRoot history --json
check "a second release says who released it" \
    says 5 "entry 1 was already released by nobody on" asRoot release 1
check "the release is a link of the chain" says 0 "intact: 2 entries" asNobody history --verify

if ((failed)); then
    echo "$failed check(s) failed"
    exit 1
fi
