# Sourced by the shell tests: check runs one command, says "ok" or "FAIL" with its output, and
# counts the failures in $failed for the test's exit code.
failed=0
check() { # <what> <command...>
    local what=$1
    shift
    local output
    if output=$("$@" 2>&1); then
        echo "ok   $what"
    else
        echo "FAIL $what"
        [[ -n $output ]] && sed 's/^/     /' <<<"$output"
        failed=$((failed + 1))
    fi
}
